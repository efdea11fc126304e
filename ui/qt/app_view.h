// The running program: the navigator with every screen, and one window per created screen.
#pragma once

#include "app/navigator.h"
#include "ui/qt/screen_window.h"
#include "ui/read_aloud.h"

#include <QObject>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillory {

class AppView : public QObject {
    Q_OBJECT
public:
    // Draws the screens of a started program at the given scale or, without one,
    // at the default scale for the display.
    explicit AppView(std::unique_ptr<Navigator> navigator,
                     std::optional<qreal> scale = std::nullopt);
    ~AppView() override;

    Navigator& navigator() { return *navigator_; }
    bool ended() const { return navigator_->ended(); }

    // The window of a created screen, or nullptr.
    ScreenWindow* window(const std::string& screen) const;
    // The window of the visible screen, or nullptr once the program has ended.
    ScreenWindow* visibleWindow() const;

    // The voice that reads the English of a text box aloud: by default Qt's
    // text-to-speech, looked for at the first R (none on the offscreen platform).
    void setSpeechOutput(std::unique_ptr<SpeechOutput> output);
    // R or the text box's menu on a window: read its English aloud, or stop.
    void readAloud(ScreenWindow* window);

    // The one scale factor of every window.
    qreal scale() const { return scale_; }
    void setScale(qreal scale);
    // Ctrl++ (+1), Ctrl+- (-1), Ctrl+0 (0): one step in or out, or back to the default.
    void zoom(int direction);

    // The scale at which a window is about half the display's height, within the
    // display and never below 1; and the largest scale whose windows fit the display.
    static qreal defaultScale();
    static qreal largestScale();
    static constexpr qreal kScaleStep = 0.25;

signals:
    // The program has ended: every window is hidden.
    void programEnded();

private:
    void tellNoVoice(ScreenWindow* window, const QString& notice);
    void clicked(ScreenWindow* window, const QString& control);
    void sync();
    void place(ScreenWindow& window, const ScreenWindow* previous);

    std::unique_ptr<SpeechOutput> speech_;
    std::unique_ptr<ReadAloud> reader_;
    QString voiceMissing_; // said once, then kept in every text box's tooltip
    std::unique_ptr<Navigator> navigator_;
    std::vector<std::unique_ptr<ScreenWindow>> windows_;
    ScreenWindow* shown_ = nullptr;
    qreal defaultScale_ = 1;
    qreal scale_ = 1;
    bool endSignalled_ = false;
};

} // namespace quillory
