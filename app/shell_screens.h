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

class MenuScreen : public Screen {
public:
    explicit MenuScreen(ScreenHost& host);
    static const std::vector<MenuEntry>& entries();

protected:
    void onClick(std::string_view control) override;
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
