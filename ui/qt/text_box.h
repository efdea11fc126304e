// The dialogue text box: read-only plain text whose lines step at a spacing that
// suits the Japanese face, with empty lines lower than full ones. While it holds
// more than it shows, a 「▼ 続き」 marker at its lower edge scrolls it a page.
#pragma once

#include <QPlainTextEdit>

class QSyntaxHighlighter;
class QTextDocument;
class QToolButton;

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

    // Font, inner margin and scroll bar at the window's scale.
    void setScale(qreal scale);

    // Line steps in ems of the box's font (by default the ones below).
    void setLineSteps(qreal line, qreal emptyLine);
    qreal lineStep() const;
    qreal emptyLineStep() const;

    // Scrolls a page down (pages > 0) or up; false when it cannot move that way.
    bool scrollPage(int pages);
    // Page Down or Down scrolls a page on, Page Up or Up a page back; true for those keys.
    bool scrollByKey(int key);
    // Whether part of the text lies below what the box shows.
    bool moreBelow() const;
    // The 「▼ 続き」 marker, shown while there is more below.
    QToolButton* moreMarker() const { return more_; }

    // Six lines of text, each after an empty one, fit the lessons' box.
    static constexpr qreal kLineStep = 1.15;
    static constexpr qreal kEmptyLineStep = 0.15;
    // Dense: a smaller face on closer steps, for the explanation's eighteen lines
    // (each after an empty one) in one view.
    void setDense();
    static constexpr qreal kDenseTextPixels = 10;
    static constexpr qreal kDenseLineStep = 1.0;
    static constexpr qreal kDenseEmptyLineStep = 0.0;
    // Inner margin in pixels at scale 1.
    static constexpr qreal kMargin = 8;
    static QString moreCaption();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMore();

    QToolButton* more_ = nullptr;
    qreal scale_ = 1;
    bool dense_ = false;
};

// Draws the word-order markers (half-width ｱ to ｷ) of a document as tinted tags;
// the text itself stays as it is.
QSyntaxHighlighter* markWordOrderMarkers(QTextDocument* document);

} // namespace quillory
