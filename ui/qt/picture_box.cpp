#include "ui/qt/picture_box.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>

#include <QtGlobal>

namespace quillory {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::load(const QString& file)
{
    file_ = file;
    scaled_ = QImage();
    QImageReader reader(file);
    image_ = reader.read();
    if (image_.isNull()) {
        const QString where = QDir::current().absoluteFilePath(file);
        qWarning("quillory: cannot show picture %s: %s", qPrintable(where),
                 qPrintable(reader.errorString()));
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect();
    painter.fillRect(frame, QColor(240, 240, 240));

    if (!image_.isNull()) {
        const qreal ratio = devicePixelRatioF();
        const QSize device = (QSizeF(frame.size() - QSize(2, 2)) * ratio).toSize();
        if (scaled_.isNull() || scaled_.devicePixelRatio() != ratio ||
            !(scaled_.size() == image_.size().scaled(device, Qt::KeepAspectRatio))) {
            scaled_ = image_.scaled(device, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            scaled_.setDevicePixelRatio(ratio);
        }
        const QSizeF shown = QSizeF(scaled_.size()) / ratio;
        const QPointF corner(frame.x() + (frame.width() - shown.width()) / 2,
                             frame.y() + (frame.height() - shown.height()) / 2);
        painter.drawImage(corner, scaled_);
    } else if (!file_.isEmpty()) {
        painter.setPen(QColor(128, 128, 128));
        painter.drawText(frame, Qt::AlignCenter, file_);
    }

    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

} // namespace quillory
