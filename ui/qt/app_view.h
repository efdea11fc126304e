// The running program: the navigator with every screen, and one window per created screen.
#pragma once

#include "app/navigator.h"
#include "ui/qt/screen_window.h"

#include <QObject>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillory {

class AppView : public QObject {
    Q_OBJECT
public:
    // Defines every screen and shows the title screen.
    explicit AppView(const std::filesystem::path& programFolder);
    ~AppView() override;

    Navigator& navigator() { return *navigator_; }
    bool ended() const { return navigator_->ended(); }

    // The window of a created screen, or nullptr.
    ScreenWindow* window(const std::string& screen) const;
    // The window of the visible screen, or nullptr once the program has ended.
    ScreenWindow* visibleWindow() const;

signals:
    // The program has ended: every window is hidden.
    void programEnded();

private:
    void clicked(ScreenWindow* window, const QString& control);
    void sync();
    void place(ScreenWindow& window, const ScreenWindow* previous);

    std::unique_ptr<Navigator> navigator_;
    std::vector<std::unique_ptr<ScreenWindow>> windows_;
    ScreenWindow* shown_ = nullptr;
    bool endSignalled_ = false;
};

} // namespace quillory
