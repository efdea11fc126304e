// The conversation so far: a read-only, scrollable panel over a dimmed screen,
// newest text last. Escape, H, its 「閉じる」 button or a click beside the panel
// close it (the screen window decides).
#pragma once

#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quillory {

class HistoryView : public QWidget {
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
    QPushButton* closeButton() const { return close_; }
    // The panel itself; the rest of the view only dims the screen.
    QFrame* panel() const { return panel_; }

    static QString title();

signals:
    // The 「閉じる」 button or a click beside the panel.
    void closeRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QFrame* panel_ = nullptr;
    QLabel* heading_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* close_ = nullptr;
    QPointer<QWidget> focusBefore_;
};

} // namespace quillory
