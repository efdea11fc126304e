#include "ui/qt/picture_view.h"

#include "ui/qt/fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quillory {

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("拡大した絵"));
    setToolTip(QStringLiteral("クリックか Esc で閉じる"));
    hide();
}

void PictureView::open(const QImage& image, const QString& description)
{
    image_ = image;
    scaled_ = QImage();
    description_ = description;
    setAccessibleDescription(description);
    if (parentWidget() != nullptr)
        setGeometry(parentWidget()->rect());
    show();
    raise();
    update();
}

void PictureView::dismiss()
{
    if (!isVisible())
        return;
    hide();
    image_ = QImage();
    scaled_ = QImage();
    emit closed();
}

void PictureView::setScale(qreal scale)
{
    scale_ = scale;
    update();
}

void PictureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(24, 24, 24, 235));
    const int margin = qRound(8 * scale_);
    const QFont font = japaneseFont(kTextPixels * scale_);
    painter.setFont(font);
    // The description below, wrapped; the picture takes the rest.
    const QRect textRoom = rect().adjusted(margin, 0, -margin, -margin);
    const QRect needed =
        painter.boundingRect(textRoom, Qt::AlignHCenter | Qt::TextWordWrap, description_);
    const int textHeight = description_.isEmpty() ? 0 : needed.height() + margin;
    const QRect pictureRoom = rect().adjusted(margin, margin, -margin, -margin - textHeight);

    if (!image_.isNull() && pictureRoom.isValid()) {
        // Drawn from the bitmap at the device's pixels, smoothly: crisp at any size.
        const qreal ratio = devicePixelRatioF();
        const QSize device = image_.size().scaled((QSizeF(pictureRoom.size()) * ratio).toSize(),
                                                  Qt::KeepAspectRatio);
        if (scaled_.isNull() || scaled_.size() != device) {
            scaled_ = image_.scaled(device, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            scaled_.setDevicePixelRatio(ratio);
        }
        const QSizeF shown = QSizeF(scaled_.size()) / ratio;
        const QPointF corner(pictureRoom.x() + (pictureRoom.width() - shown.width()) / 2,
                             pictureRoom.y() + (pictureRoom.height() - shown.height()) / 2);
        painter.drawImage(corner, scaled_);
    }
    if (textHeight > 0) {
        painter.setPen(Qt::white);
        const QRect text(textRoom.left(), height() - margin - needed.height(), textRoom.width(),
                         needed.height());
        painter.drawText(text, Qt::AlignHCenter | Qt::TextWordWrap, description_);
    }
}

void PictureView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    dismiss();
}

void PictureView::keyPressEvent(QKeyEvent* event)
{
    // Over the picture the screen's keys rest: Escape closes it.
    event->accept();
    if (event->key() == Qt::Key_Escape)
        dismiss();
}

} // namespace quillory
