// The right answer at each question: known answers of the lessons, the quiz and
// the game, and what the checks make of a table whose right answers are off.
#include "game/game_screen.h"
#include "lessons/lesson_screen.h"
#include "lessons/scripts/scripts.h"
#include "quiz/quiz_rules.h"
#include "tests/game_walk.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace quillory {
namespace {

TEST(RightAnswers, KnownAnswersOfTheScripts)
{
    EXPECT_EQ(rightAnswer(scripts::form3(), 3), 1);
    EXPECT_EQ(rightAnswer(scripts::form3(), 21), 3);
    EXPECT_EQ(rightAnswer(scripts::form3(), 4), std::nullopt);
    EXPECT_EQ(rightAnswer(scripts::form7(), 11), 4); // inside the chain 10 to 13
    EXPECT_EQ(rightAnswer(scripts::form8(), 48), 2);
    EXPECT_EQ(rightAnswer(scripts::form8(), 57), std::nullopt); // the retry's wrong answers only
    EXPECT_EQ(rightAnswer(scripts::form16(), 73), 2);

    EXPECT_EQ(quizRightButton(1), "Command3");
    EXPECT_EQ(quizRightButton(20), "Command4");
    EXPECT_EQ(quizRightButton(21), std::nullopt);
    EXPECT_EQ(checkQuizRules(), std::vector<std::string>{});

    const GameScript& game = gameScript();
    EXPECT_EQ(rightAnswer(game, 13), 1);
    EXPECT_EQ(rightAnswer(game, 283), 4);
    EXPECT_EQ(rightAnswer(game, 147), 2);
    EXPECT_EQ(rightAnswer(game, 313), kAnyAnswer);
    EXPECT_EQ(rightAnswer(game, 321), 3);
    EXPECT_EQ(rightAnswer(game, 353), 2);
    EXPECT_EQ(rightAnswer(game, 14), std::nullopt);
}

TEST(RightAnswers, LessonCheckFlagsMissingDuplicateAndOffScriptAnswers)
{
    LessonProfile profile;
    profile.screen = "Lesson";
    profile.choiceLefts = {0, 1, 2};
    profile.teacherPicture = "gal1.bmp";
    // Questions at 1 (right: 2; 1 and 3 restart) and 3 (right: 1; 3 goes back).
    LessonScript s;
    s.rows = {
        {0, Talk, {ShowChoices({1, 2, 3}), SetText("q1")}, 1},
        {1, Answer(2), {SetText("right")}, 2},
        {AnyOther, Answer(1), {SetText("wrong")}, 0},
        {AnyOther, Answer(3), {SetText("wrong")}, 0},
        {2, Talk, {SetText("q3")}, 3},
        {3, Answer(1), {SetText("right")}, 4},
        {3, Answer(3), {SetText("again")}, 2},
    };
    const auto check = [&](std::vector<RightAnswer> rights) {
        s.rightAnswers = std::move(rights);
        return checkLessonScript(profile, s, {"gal1.bmp"});
    };
    EXPECT_EQ(check({{1, 2}, {3, 1}}), std::vector<std::string>{});
    EXPECT_EQ(check({{1, 2}}), std::vector<std::string>{"Lesson step 3: question without a "
                                                        "right answer"});
    EXPECT_TRUE(mentions(check({{1, 2}, {1, 2}, {3, 1}}), "step 1: more than one right answer"));
    EXPECT_TRUE(mentions(check({{1, 1}, {3, 1}}), "step 1: right answer 1 runs no row of this"));
    EXPECT_TRUE(mentions(check({{1, 2}, {3, 3}}), "step 3: right answer 3 does not go on (To 2)"));
    EXPECT_TRUE(mentions(check({{1, 4}, {3, 1}}), "right answer 4 is not a button of the screen"));
    EXPECT_TRUE(mentions(check({{1, 2}, {3, 1}, {2, 1}}), "step 2: right answer 1 where no"));
}

// A question at 3 (right: 1) failing to 280, whose retry at 283 (right: 3)
// resumes at 4; the end at 279.
GameScript smallGame()
{
    using enum GameTrigger;
    const std::vector<Effect> fail{ShowPicture("over.bmp"), SetText("oops"), ShowAgain()};
    GameScript s;
    s.story = gameScript().story;
    s.spans = {Steps(0, 5), Steps(280, 283)};
    s.rules = {
        {At(0), Talk, {SetText("t0")}, 1},
        {At(1), Partner, {WriteLines({"lead", "in"})}, 2},
        {Steps(2, 4), Talk, {ShowChoices(kAllChoices)}, Stay},
        {At(2), Talk, {SetText("q3")}, 3},
        {At(4), Talk, {SetText("t4")}, 5},
        {At(5), Partner, {SetText("the end")}, 279},
        {Steps(280, 32767), Again, {HideAgain()}, Stay},
        {At(280), Again, {SetText("again?")}, 282},
        {Steps(282, 352), Talk, {ShowChoices(kAllChoices)}, Stay},
        {At(282), Talk, {SetText("q283")}, 283},
    };
    for (int k = 1; k <= 4; ++k) {
        s.rules.push_back({At(3), GameAnswer(k), k == 1 ? std::vector{SetText("right")} : fail,
                           k == 1 ? 4 : 280});
        s.rules.push_back({At(283), GameAnswer(k),
                           k == 3 ? std::vector{SetText("right again")} : fail, k == 3 ? 4 : 280});
    }
    s.rightAnswers = {{3, 1}, {283, 3}};
    return s;
}

TEST(RightAnswers, GameCheckFlagsMissingDuplicateAndOffScriptAnswers)
{
    const std::vector<std::string> pictures{"over.bmp"};
    EXPECT_EQ(checkGameRules(smallGame(), pictures), std::vector<std::string>{});
    const auto check = [&](std::vector<GameRightAnswer> rights) {
        GameScript s = smallGame();
        s.rightAnswers = std::move(rights);
        return checkGameRules(s, pictures);
    };
    EXPECT_EQ(check({{3, 1}}),
              std::vector<std::string>{"game step 283: question without a right answer"});
    EXPECT_TRUE(mentions(check({{3, 1}, {3, 1}, {283, 3}}), "step 3: more than one right answer"));
    EXPECT_TRUE(mentions(check({{3, 2}, {283, 3}}),
                         "step 3: right answer 2 does not go on (it ends at 280)"));
    EXPECT_TRUE(mentions(check({{3, kAnyAnswer}, {283, 3}}),
                         "step 3: any answer is right, but Answer 2 does not go on"));
    EXPECT_TRUE(mentions(check({{3, 1}, {283, 3}, {5, 1}}), "step 5: a right answer where no"));

    // A wrong answer that goes where the right one does.
    GameScript same = smallGame();
    for (GameRule& r : same.rules) {
        if (r.from == At(3) && r.trigger == GameTrigger::Answer2)
            r = {At(3), GameTrigger::Answer2, {SetText("also on")}, 4};
    }
    EXPECT_TRUE(mentions(checkGameRules(same, pictures),
                         "step 3: right answer 1 leads to 4, as the wrong Answer 2 does"));
    same.rightAnswers = {{3, kAnyAnswer}, {283, 3}};
    EXPECT_TRUE(mentions(checkGameRules(same, pictures),
                         "any answer is right, but Answer 2 leads to 4, as Answer 1 does"));
}

} // namespace
} // namespace quillory
