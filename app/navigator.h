// The screen navigator: creates screens on first use, shows and hides them, and
// ends the program.
#pragma once

#include "ui/screen.h"
#include "ui/screen_host.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

class Learning;

class Navigator : public ScreenHost {
public:
    using Factory = std::function<std::unique_ptr<Screen>(ScreenHost&)>;

    explicit Navigator(std::filesystem::path programFolder);
    Navigator(const Navigator&) = delete;
    Navigator& operator=(const Navigator&) = delete;

    // Makes a screen known by name; it is created only when first shown or hidden.
    void define(std::string name, Factory factory);
    bool defines(std::string_view name) const;

    // Start-up: create and show the first screen.
    void start(std::string_view screen);

    void showForm(std::string_view screen) override;
    void hideForm(std::string_view screen) override;
    void endProgram() override;
    const std::filesystem::path& programFolder() const override { return programFolder_; }
    void answered(const AnswerNote& note) override;

    // The view's way to save and open files; none: the screens say they cannot.
    void setFileExchange(FileExchange* files) { files_ = files; }
    FileExchange* fileExchange() override { return files_; }

    // The learner's record that answers, visits and progress go to; none: kept nowhere.
    void setLearning(Learning* learning) { learning_ = learning; }
    Learning* learning() const { return learning_; }

    bool ended() const { return ended_; }

    // A created screen, or nullptr.
    Screen* screen(std::string_view name);
    const Screen* screen(std::string_view name) const;
    // The visible screen, or nullptr once the program has ended.
    Screen* visibleScreen();
    const Screen* visibleScreen() const;
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
    Learning* learning_ = nullptr;
    FileExchange* files_ = nullptr;
    std::function<void()> onEnd_;
};

} // namespace quillory
