// A push button that draws its caption as one string, centred or at a left inset,
// never cut, with each space as wide as half a full-width character.
#pragma once

#include <QPushButton>

namespace quillory {

class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(QWidget* parent = nullptr);

    // The caption as drawn: spaces become en spaces.
    static QString drawnText(const QString& caption);
    // The caption's width in ems of the given font.
    static qreal widthInEms(const QString& caption, const QFont& font);
    // Pixels left free on each side of the caption.
    static constexpr int kSideRoom = 2;

    // A live button would act if clicked: drawn as the default action, in the
    // accent colour with a bold caption. The others are drawn dimmed, still
    // enabled.
    void setLive(bool live);
    bool live() const { return live_; }

    // How far the screen the button opens got: a thin bar along the bottom edge
    // (reached of last), a check mark once finished.
    void setProgress(qreal share, bool finished);

    // Draws the caption from this many pixels off the left edge; 0: centred.
    void setLeftInset(int pixels);
    int leftInset() const { return leftInset_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool live_ = true;
    qreal progress_ = -1; // none
    bool finished_ = false;
    int leftInset_ = 0;
};

} // namespace quillory
