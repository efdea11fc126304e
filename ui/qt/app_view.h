// The running program: the navigator with every screen, one main window, and in it
// one screen widget per created screen.
#pragma once

#include "app/navigator.h"
#include "ui/file_exchange.h"
#include "ui/qt/main_window.h"
#include "ui/qt/read_aloud_control.h"
#include "ui/qt/screen_window.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillory {

// How the program is drawn. The defaults are for a person at a display.
struct ViewOptions {
    // The scale of every window; none: the default for the display.
    std::optional<qreal> scale;
    // No one looks on: windows are neither raised nor activated, and notices
    // show no tip (they are still kept).
    bool headless = false;
    // Keep the zoom and the window's place between runs in the learner's settings
    // (the program itself; never the tools or tests).
    bool remember = false;
};

class AppView : public QObject {
    Q_OBJECT
public:
    // Draws the screens of a started program.
    explicit AppView(std::unique_ptr<Navigator> navigator, ViewOptions options = {});
    ~AppView() override;

    Navigator& navigator() { return *navigator_; }
    bool ended() const { return navigator_->ended(); }

    // The one window that shows the screens.
    MainWindow* mainWindow() const { return main_.get(); }

    // The screen widget of a created screen, or nullptr.
    ScreenWindow* window(const std::string& screen) const;
    // The window of the visible screen, or nullptr once the program has ended.
    ScreenWindow* visibleWindow() const;

    // The voice that reads the English of a text box aloud: by default Qt's
    // text-to-speech, looked for at the first R.
    void setSpeechOutput(std::unique_ptr<SpeechOutput> output);
    // Where the record screen saves and opens files: by default the desktop's
    // file dialogs (none when headless); `files` must outlive the view.
    void setFileExchange(FileExchange* files);

    // R or the text box's menu on a window: read its English aloud, or stop.
    void readAloud(ScreenWindow* window);

    // The zoom: the scale the window was last sized for, or fitted to.
    qreal scale() const { return scale_; }
    void setScale(qreal scale);
    // The close box: the visible screen's way back, or the end on the title and
    // the menu.
    void closeBox();
    // Ctrl++ (+1), Ctrl+- (-1), Ctrl+0 (0): one step in or out, or back to the default.
    void zoom(int direction);

signals:
    // The program has ended: every window is hidden.
    void programEnded();

private:
    void tellNoVoice(ScreenWindow* window, const QString& notice);
    void clicked(ScreenWindow* window, const QString& control);
    void sync();
    void hideAll();
    void restorePlace();
    void remember();

    ReadAloudControl reading_;
    std::unique_ptr<FileExchange> dialogs_;
    QString voiceMissing_; // said once, then kept in every text box's tooltip
    std::unique_ptr<Navigator> navigator_;
    std::unique_ptr<MainWindow> main_;
    std::vector<std::unique_ptr<ScreenWindow>> windows_;
    ScreenWindow* shown_ = nullptr;
    bool headless_ = false;
    bool remember_ = false;
    qreal defaultScale_ = 1;
    qreal scale_ = 1;
};

} // namespace quillory
