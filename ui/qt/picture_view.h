// A picture enlarged over the whole window, with its description; Escape or a
// click closes it. Only the view changes: the screen's state stays as it was.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace quillory {

class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // Covers the parent and shows the bitmap scaled to fit, the description below.
    void open(const QImage& image, const QString& description);
    void dismiss();
    bool isOpen() const { return isVisible(); }
    const QString& description() const { return description_; }

    // The font's size at scale 1 is the text's; it follows the zoom.
    void setScale(qreal scale);

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage image_;
    QImage scaled_;
    QString description_;
    qreal scale_ = 1;
};

} // namespace quillory
