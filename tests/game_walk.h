// The game screen entered from the menu, with a script of its own or the whole
// program, and the clicks and checks its tests share.
#pragma once

#include "app/navigator.h"
#include "app/screens.h"
#include "app/shell_screens.h"
#include "game/game_screen.h"
#include "tests/working_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillory {

// The menu and the game screen, entered from the menu. Without a script: the
// whole program from its title screen, whose start makes the program's folder
// current; the folder before is put back when the game goes.
struct Game {
    explicit Game(std::optional<GameScript> script = std::nullopt)
        : nav(std::filesystem::temp_directory_path())
    {
        if (script) {
            nav.define("Form20", [](ScreenHost& n) { return std::make_unique<MenuScreen>(n); });
            nav.define("Form17",
                       [s = *script](ScreenHost& n) { return std::make_unique<GameScreen>(n, s); });
            nav.start("Form20");
        } else {
            defineScreens(nav);
            nav.start("Form1");
            nav.click("C1");
        }
        nav.click("C17");
        screen = dynamic_cast<GameScreen*>(nav.screen("Form17"));
    }

    int step() const { return screen->step().value_or(-1); }
    const std::string& text() const { return screen->control("T1").text; }
    const std::string& picture() const { return screen->control("P1").picture; }
    bool shown(const char* control) const { return screen->control(control).visible; }
    bool choices(bool visible) const
    {
        return std::all_of(kAnswers.begin(), kAnswers.end(),
                           [&](const char* c) { return shown(c) == visible; });
    }
    void play(std::initializer_list<const char*> controls)
    {
        for (const char* c : controls)
            nav.click(c);
    }
    // The real game, from the start to the series-1 answer awaited at `answerStep`.
    void playTo(int answerStep)
    {
        static const char* const kRight[] = {"Command4", "Command5", "Command4", "Command6"};
        while (step() < 12)
            play({step() % 2 == 0 ? "Command1" : "Command2"});
        play({"Command1"});
        for (int s = 13; s < answerStep; s += 2)
            play({kRight[(s - 13) / 2], "Command1"});
        ASSERT_EQ(step(), answerStep);
    }
    void expectGameOver(const char* cry) const { expectGameOver(280, cry); }
    void expectGameOver(int overStep, const char* cry) const
    {
        EXPECT_EQ(step(), overStep);
        EXPECT_EQ(picture(), "over.bmp");
        EXPECT_EQ(text(), cry);
        EXPECT_TRUE(shown("Command8"));
        EXPECT_TRUE(choices(false));
    }

    static constexpr std::array<const char*, 4> kAnswers{"Command4", "Command5", "Command6",
                                                         "Command7"};
    WorkingFolderGuard folder;
    Navigator nav;
    GameScreen* screen = nullptr;
};

// Whether some problem a check reported contains `what`.
inline bool mentions(const std::vector<std::string>& problems, const std::string& what)
{
    return std::any_of(problems.begin(), problems.end(),
                       [&](const std::string& p) { return p.find(what) != std::string::npos; });
}

} // namespace quillory
