// The dialogue text box: read-only plain text whose lines step at a spacing that
// suits the Japanese face, with empty lines lower than full ones.
#pragma once

#include <QPlainTextEdit>

namespace quillory {

class TextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    // Replaces the text and shows it from its top.
    void showText(const QString& text);

    // Whether the whole text is visible without scrolling, at the box's present size.
    bool fits() const;
    // The height the text needs, in pixels, margins included.
    qreal contentHeight() const;

    // Line steps in ems of the box's font.
    static constexpr qreal kLineStep = 1.3;
    static constexpr qreal kEmptyLineStep = 0.45;
};

} // namespace quillory
