// The screen navigator: creates screens on first use, shows and hides them, and
// ends the program.
#pragma once

#include "ui/screen.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

class Navigator {
public:
    using Factory = std::function<std::unique_ptr<Screen>(Navigator&)>;

    explicit Navigator(std::filesystem::path programFolder);
    Navigator(const Navigator&) = delete;
    Navigator& operator=(const Navigator&) = delete;

    // Makes a screen known by name; it is created only when first shown or hidden.
    void define(std::string name, Factory factory);
    bool defines(std::string_view name) const;

    // Start-up: create and show the first screen.
    void start(std::string_view screen);

    // ShowForm: create the screen on first use (its load runs then), then make it visible.
    void showForm(std::string_view screen);
    // HideForm: make it invisible, keeping all its state; creates it first if needed.
    void hideForm(std::string_view screen);
    // EndProgram: at once; every screen disappears and no handler runs any more.
    void endProgram();

    bool ended() const { return ended_; }
    const std::filesystem::path& programFolder() const { return programFolder_; }

    // A created screen, or nullptr.
    Screen* screen(std::string_view name);
    // The visible screen, or nullptr once the program has ended.
    Screen* visibleScreen();
    // Every screen created so far, in the order of creation.
    std::vector<std::string> created() const;
    const std::vector<std::unique_ptr<Screen>>& screens() const { return screens_; }

    // A click on a control of the visible screen.
    void click(std::string_view control);

    // Called once when the program ends.
    void onEnd(std::function<void()> callback) { onEnd_ = std::move(callback); }

private:
    Screen& obtain(std::string_view name);

    std::filesystem::path programFolder_;
    std::map<std::string, Factory, std::less<>> factories_;
    std::vector<std::unique_ptr<Screen>> screens_;
    bool ended_ = false;
    std::function<void()> onEnd_;
};

} // namespace quillory
