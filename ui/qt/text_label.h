// A label that wraps its text and places it as its spaces say: a text padded with
// spaces starts at the left edge and its spaces set it off, and spaces at a wrap go
// to the start of the line they pad when it has room for them. A text without
// spaces is centred. When the lines would not fit the label's height at the font's
// own spacing, they are set closer so that every line shows.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace quillory {

class TextLabel : public QWidget {
    Q_OBJECT
public:
    explicit TextLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }

    void setBackground(const QColor& colour);
    // The background colour, or an invalid colour when the label is see-through.
    const QColor& background() const { return background_; }

    // The lines as drawn at the label's width and font.
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor background_;
};

} // namespace quillory
