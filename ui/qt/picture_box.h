// A picture box: shows a bitmap loaded by bare file name, scaled to fit.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace quillory {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Loads the file relative to the current folder. A missing or undecodable file
    // leaves an empty frame with the file's name and one warning on standard error.
    void load(const QString& file);

    const QString& file() const { return file_; }
    bool loaded() const { return !image_.isNull(); }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString file_;
    QImage image_;
    QImage scaled_;
};

} // namespace quillory
