// A label that wraps its text at spaces and, when the lines would not fit its
// height at the font's own spacing, sets them closer so that every line shows.
#pragma once

#include <QColor>
#include <QString>
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor background_;
};

} // namespace quillory
