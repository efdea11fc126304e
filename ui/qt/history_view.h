// The conversation so far: a read-only, scrollable view laid over the whole
// screen, newest text last. Escape or H closes it (the screen window decides).
#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;
class QPlainTextEdit;

namespace quillory {

class HistoryView : public QFrame {
    Q_OBJECT
public:
    explicit HistoryView(QWidget* parent);

    // Shows the text over the whole parent, scrolled to its end, with the focus.
    void open(const QString& text);
    // Hides the view and gives the focus back to where it was, if that is still there.
    void dismiss();
    bool isOpen() const { return !isHidden(); }

    // Fonts and margins at the window's scale.
    void setScale(qreal scale);

    QPlainTextEdit* text() const { return text_; }

    static QString title();

private:
    QLabel* heading_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPointer<QWidget> focusBefore_;
};

} // namespace quillory
