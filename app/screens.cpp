#include "app/screens.h"

#include "app/picture_assets.h"
#include "app/review_screens.h"
#include "app/shell_screens.h"
#include "game/game_screen.h"
#include "lessons/lesson_screen.h"
#include "quiz/quiz_rules.h"
#include "quiz/quiz_screen.h"

namespace quillory {

void defineScreens(Navigator& navigator, Learning* learning)
{
    navigator.define("Form1", [](ScreenHost& n) { return std::make_unique<TitleScreen>(n); });
    navigator.define(std::string(kMenuScreen), [learning](ScreenHost& n) {
        return std::make_unique<MenuScreen>(n, learning);
    });
    navigator.define("Form2", [](ScreenHost& n) { return std::make_unique<ExplanationScreen>(n); });
    for (const LessonProfile& profile : lessonProfiles()) {
        navigator.define(profile.screen, [&profile](ScreenHost& n) {
            return std::make_unique<LessonScreen>(n, profile, profile.script());
        });
    }
    navigator.define("Form17", [](ScreenHost& n) { return makeGameScreen(n); });
    navigator.define("Form18", [](ScreenHost& n) { return makeQuizScreen(n); });
    if (learning != nullptr) {
        navigator.define("Review", [learning](ScreenHost& n) {
            return std::make_unique<ReviewScreen>(n, *learning);
        });
        navigator.define("Record", [learning](ScreenHost& n) {
            return std::make_unique<RecordScreen>(n, *learning);
        });
    }
}

std::unique_ptr<Navigator> startProgram(const std::filesystem::path& programFolder,
                                        Learning* learning)
{
    auto navigator = std::make_unique<Navigator>(programFolder);
    navigator->setLearning(learning);
    defineScreens(*navigator, learning);
    navigator->start("Form1");
    return navigator;
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
    auto quiz = checkQuizRules();
    problems.insert(problems.end(), quiz.begin(), quiz.end());
    return problems;
}

} // namespace quillory
