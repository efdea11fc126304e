// One generic widget that draws any screen of the core model at a scale factor and
// forwards clicks and keys; the main window shows one at a time.
#pragma once

#include "ui/screen.h"

#include <QString>
#include <QWidget>

class QMenu;

#include <map>
#include <string>

namespace quillory {

class HistoryView;

class ScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScreenWindow(const Screen& screen, qreal scale = 1, QWidget* parent = nullptr);

    const Screen& model() const { return screen_; }

    // Brings every widget in line with the model's controls.
    void sync();

    // The widget drawing the named control, or nullptr.
    QWidget* controlWidget(const std::string& name) const;

    // Geometry and fonts are the design's times this factor.
    qreal scale() const { return scale_; }
    void setScale(qreal scale);
    // Twips to pixels at this window's scale, and back.
    QRect toPixels(const Rect& rect) const;
    int toTwips(int pixels) const;

    // Presses the button that the key stands for, as a click would. True when the
    // key belongs to this screen (even if its button is hidden and nothing happens).
    bool pressKey(int key, Qt::KeyboardModifiers modifiers);
    // A key for the screen from elsewhere in the main window; true when taken.
    bool takeKey(QKeyEvent* event) { return handleKey(event); }

    // Button captions left-aligned at one inset, as in a list; else centred.
    void setCaptionsLeft(bool left);

    // The conversation so far, on the lessons, the quiz and the game (else nullptr).
    HistoryView* history() const { return history_; }
    void toggleHistory();
    // The dialogue box's context menu: copying, reading aloud and the history.
    QMenu* makeTextMenu();
    // Tells the learner something beside the text box without stopping them;
    // lasting: it stays in the box's tooltip.
    void showNotice(const QString& notice, bool lasting);
    // Headless: no one looks on, so a notice is kept but shows no tip.
    void setHeadless(bool headless) { headless_ = headless; }
    // Adds a note to the text box's tooltip (on screens with a conversation).
    void keepNote(const QString& note);
    QString lastNotice() const { return notice_; }

signals:
    void controlClicked(const QString& name);
    void closeRequested();
    // R or the context menu: read the English of the text box aloud, or stop.
    void readAloudRequested();
    // Ctrl++ (+1), Ctrl+- (-1) and Ctrl+0 (0, back to the default scale).
    void zoomRequested(int direction);
    // A click or tap on a picture: the view may enlarge it; the model is untouched.
    void pictureClicked(const QString& name);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Drawn {
        QWidget* widget = nullptr;
        std::string text;
        unsigned pictureLoads = 0;
        bool fresh = true;
    };

    QWidget* build(const Control& control);
    void syncControl(const Control& control, Drawn& drawn);
    void applyScale();
    bool handleKey(QKeyEvent* event);
    // The widget of the screen's text box, or nullptr.
    QWidget* textBox() const;

    const Screen& screen_;
    HistoryView* history_ = nullptr;
    QString notice_;
    qreal scale_ = 1;
    bool headless_ = false;
    bool captionsLeft_ = false;
    std::map<std::string, Drawn, std::less<>> drawn_;
};

// Twips to pixels and back at scale 1.
constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}
constexpr int pixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

// Button captions: Qt reads '&' as a shortcut mark, the model does not.
QString buttonCaption(const std::string& caption);
std::string modelCaption(const QString& buttonText);

// Text box texts: the model breaks lines with CR LF, the widget with LF.
QString widgetText(const std::string& modelText);
std::string modelText(const QString& widgetText);

} // namespace quillory
