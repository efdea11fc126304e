#include "app/screens.h"

#include "app/picture_assets.h"
#include "app/shell_screens.h"
#include "game/game_screen.h"
#include "lessons/lesson_screen.h"
#include "quiz/quiz_screen.h"

namespace quillory {

void defineScreens(Navigator& navigator)
{
    navigator.define("Form1", [](Navigator& n) { return std::make_unique<TitleScreen>(n); });
    navigator.define("Form20", [](Navigator& n) { return std::make_unique<MenuScreen>(n); });
    navigator.define("Form2", [](Navigator& n) { return std::make_unique<ExplanationScreen>(n); });
    for (const LessonProfile& profile : lessonProfiles()) {
        navigator.define(profile.screen, [&profile](Navigator& n) {
            return std::make_unique<LessonScreen>(n, profile, profile.script());
        });
    }
    navigator.define("Form17", [](Navigator& n) { return makeGameScreen(n); });
    navigator.define("Form18", [](Navigator& n) { return makeQuizScreen(n); });
}

std::vector<std::string> checkScripts()
{
    std::vector<std::string> problems;
    for (const LessonProfile& profile : lessonProfiles()) {
        auto found = checkLessonScript(profile, profile.script(), pictureAssets());
        problems.insert(problems.end(), found.begin(), found.end());
    }
    auto game = checkGameScript(pictureAssets());
    problems.insert(problems.end(), game.begin(), game.end());
    return problems;
}

} // namespace quillory
