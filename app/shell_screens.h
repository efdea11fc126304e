// The title screen, the main menu and the game explanation.
#pragma once

#include "ui/screen.h"

#include <memory>
#include <string>
#include <vector>

namespace quillory {

class TitleScreen : public Screen {
public:
    explicit TitleScreen(ScreenHost& host);

protected:
    void onClick(std::string_view control) override;
};

struct MenuEntry {
    std::string button;
    std::string caption;
    Rect rect;
    std::string opens; // empty: ends the program
};

class Learning;

class MenuScreen : public Screen {
public:
    // With a learner's record, each button shows how far its screen got, a
    // review button and a notice line are added.
    explicit MenuScreen(ScreenHost& host, Learning* learning = nullptr);
    static const std::vector<MenuEntry>& entries();
    void shown() override;

protected:
    void onClick(std::string_view control) override;

private:
    void leave();

    Learning* learning_;
    std::string notice_;
};

class ExplanationScreen : public Screen {
public:
    explicit ExplanationScreen(ScreenHost& host);
    void load() override;
    static const std::vector<std::string>& helpLines();

protected:
    void onClick(std::string_view control) override;
};

} // namespace quillory
