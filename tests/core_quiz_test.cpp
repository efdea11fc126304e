#include "app/navigator.h"
#include "app/screens.h"
#include "quiz/quiz_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

namespace quillory {
namespace {

// The navigator behind a screen's host, for test screens that look at other screens.
Navigator& asNavigator(ScreenHost& host)
{
    return static_cast<Navigator&>(host);
}

const std::string kOpening = "Mary likes music.   は第何文型？";
const std::string kClosing = "正解！いや～、お疲れ様でした！";
const std::string kGameOver = "GAME OVER!";

// The sentences in their order, 1 based.
const std::array<std::string, 21> kSentences{
    "",
    "Mary likes music.",
    "Tom and Bob went to London.",
    "My sister brought me a cup of coffee.",
    "My son became a doctor.",
    "Lucy sang her baby a lullaby.",
    "Bob put his bag on the table.",
    "My Mother always keeps her room clean.",
    "You make me happy.",
    "Everything seems fresh to me.",
    "My father usually goes for a walk before breakfast.",
    "This flower smells good.",
    "My sister lives in the country.",
    "My father bought a bicycle for me.",
    "Tom looked very sad at that time.",
    "Mary married Tom yesterday.",
    "At noon they had a wonderful picnic lunch.",
    "There is an interesting book on the desk.",
    "French is a very difficult language.",
    "We painted the wall white.",
    "He sent Bob a package.",
};

// The pattern of each sentence, as the buttons list them.
int patternOf(int sentence)
{
    static const std::array<std::set<int>, 6> rightAt{{
        {},
        {2, 10, 12, 17},
        {4, 9, 11, 14, 18},
        {1, 6, 13, 15, 16},
        {3, 5, 20},
        {7, 8, 19},
    }};
    for (int pattern = 1; pattern <= 5; ++pattern) {
        if (rightAt[pattern].count(sentence) != 0)
            return pattern;
    }
    ADD_FAILURE() << "no pattern for sentence " << sentence;
    return 0;
}

std::string answerButton(int pattern)
{
    return "Command" + std::to_string(pattern);
}

// What the right answer to sentence n writes: the praise and sentence n + 1.
std::string praiseAfter(int n)
{
    if (n == 20)
        return kClosing;
    const int next = n + 1;
    const std::set<int> ideographicAfterPraise{2, 3, 4, 18};
    const std::set<int> twoSpacesBeforeQuestion{2, 4, 8, 20};
    std::string text = "正解！";
    if (next == 20)
        text += "いよいよラスト！ ";
    else
        text += ideographicAfterPraise.count(next) != 0 ? "\u3000" : " ";
    text += kSentences[next];
    text += twoSpacesBeforeQuestion.count(next) != 0 ? "  " : " ";
    text += "は？";
    return text;
}

// A run of the program that has gone from the title through the menu into the quiz.
struct QuizRun {
    QuizRun() : nav(std::filesystem::temp_directory_path())
    {
        defineScreens(nav);
        nav.start("Form1");
        nav.click("C1");
        nav.click("C7");
    }

    Screen& quiz() { return *nav.screen("Form18"); }
    std::string text() { return quiz().control("T1").text; }
    int step() { return quiz().step().value_or(-99); }
    void click(const std::string& button) { quiz().click(button); }

    // Right answers until sentence `target` stands (21: the whole chain answered).
    void playTo(int target)
    {
        while (step() < target) {
            const int at = step();
            ASSERT_GE(at, 1);
            ASSERT_LE(at, 20);
            click(answerButton(patternOf(at)));
            ASSERT_EQ(step(), at + 1);
        }
        ASSERT_EQ(step(), target);
    }

    void expectState(const std::string& t, int s)
    {
        EXPECT_EQ(text(), t);
        EXPECT_EQ(step(), s);
    }

    Navigator nav;
};

class Quiz : public ::testing::Test, public QuizRun {};

TEST_F(Quiz, ScreenAsDesigned)
{
    ASSERT_EQ(nav.visibleScreen(), &quiz());
    EXPECT_EQ(quiz().caption(), "怒濤の文型当て問題");
    EXPECT_EQ(quiz().width(), 7155);
    EXPECT_EQ(quiz().height(), 4305);
    EXPECT_EQ(quiz().background(), (Rgb{255, 192, 192}));

    struct Expected {
        std::string name;
        ControlKind kind;
        std::string text;
        Rect rect;
        std::optional<Rgb> background;
    };
    const Rgb yellow{255, 255, 224};
    const std::vector<Expected> expected{
        {"Label1",
         ControlKind::Label,
         "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000目指せ\u3000２０問パーフェクト！"
         "\u3000\u3000\u3000\u3000\u3000\u3000\u3000～間違えたら最初からやり直し～",
         {840, 120, 5415, 615},
         Rgb{128, 255, 128}},
        {"Label2",
         ControlKind::Label,
         "        S V          （第１文型）",
         {360, 840, 1215, 375},
         yellow},
        {"Label3",
         ControlKind::Label,
         "       S V C        （第２文型）",
         {1680, 840, 1215, 375},
         yellow},
        {"Label4",
         ControlKind::Label,
         "       S V O     \u3000 （第３文型）",
         {3000, 840, 1335, 375},
         yellow},
        {"Label5",
         ControlKind::Label,
         "    S V O O      （第４文型）",
         {4440, 840, 1215, 375},
         yellow},
        {"Label6",
         ControlKind::Label,
         "     S V O C       （第５文型）",
         {5760, 840, 1215, 375},
         yellow},
        {"T1", ControlKind::Text, kOpening, {240, 1680, 6735, 1095}, std::nullopt},
        {"Command1", ControlKind::Button, "第１文型", {360, 3000, 1215, 375}, std::nullopt},
        {"Command2", ControlKind::Button, "第２文型", {1680, 3000, 1215, 375}, std::nullopt},
        {"Command3", ControlKind::Button, "第３文型", {3000, 3000, 1215, 375}, std::nullopt},
        {"Command4", ControlKind::Button, "第４文型", {4320, 3000, 1215, 375}, std::nullopt},
        {"Command5", ControlKind::Button, "第５文型", {5640, 3000, 1215, 375}, std::nullopt},
        {"Command6", ControlKind::Button, "再    挑    戦", {840, 3600, 2535, 495}, std::nullopt},
        {"Command7",
         ControlKind::Button,
         "終了 （ メニューに戻る）",
         {3840, 3600, 2535, 495},
         std::nullopt},
    };
    ASSERT_EQ(quiz().controls().size(), expected.size());
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const Control& c = quiz().control(e.name);
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.text, e.text);
        EXPECT_EQ(c.rect, e.rect);
        EXPECT_EQ(c.background, e.background);
        EXPECT_TRUE(c.visible);
    }
    EXPECT_EQ(step(), 1);
}

TEST_F(Quiz, PerfectRunShowsEverySentenceInTurn)
{
    expectState(kOpening, 1);
    for (int n = 1; n <= 20; ++n) {
        SCOPED_TRACE("sentence " + std::to_string(n));
        click(answerButton(patternOf(n)));
        expectState(praiseAfter(n), n + 1);
    }
    for (const Control& c : quiz().controls())
        EXPECT_TRUE(c.visible) << c.name;
}

TEST_F(Quiz, AfterAPerfectRunOnlyAWrongAnswerOrTheMenuLeavesTheEnd)
{
    playTo(21);
    click("Command4");
    click("Command4");
    click("Command6");
    expectState(kClosing, 21);

    for (int pattern : {1, 2, 3, 5}) {
        SCOPED_TRACE(pattern);
        click("Command7");
        nav.click("C7");
        playTo(21);
        click(answerButton(pattern));
        expectState(kGameOver, 22);
        // Game over holds against every answer button; retry starts again.
        for (int again = 1; again <= 5; ++again) {
            click(answerButton(again));
            expectState(kGameOver, 22);
        }
        click("Command6");
        expectState(kOpening, 1);
        click("Command6");
        expectState(kOpening, 1);
    }
}

TEST(QuizFailure, EveryWrongAnswerEndsTheRunAndRetryStartsAgain)
{
    for (int n = 1; n <= 20; ++n) {
        for (int pattern = 1; pattern <= 5; ++pattern) {
            if (pattern == patternOf(n))
                continue;
            SCOPED_TRACE("sentence " + std::to_string(n) + ", pattern " + std::to_string(pattern));
            QuizRun run;
            run.playTo(n);
            run.click(answerButton(pattern));
            run.expectState(kGameOver, 22);
            run.click("Command6");
            run.expectState(kOpening, 1);
            if (n == 1 || n == 7 || n == 20) {
                // A run after a retry is judged from the start like the first.
                for (int m = 1; m <= 20; ++m)
                    run.click(answerButton(patternOf(m)));
                run.expectState(kClosing, 21);
            }
        }
    }
}

TEST_F(Quiz, RetryDoesNothingDuringARun)
{
    for (int n = 1; n <= 21; ++n) {
        SCOPED_TRACE(n);
        const std::string before = text();
        click("Command6");
        expectState(before, n);
        if (n <= 20)
            click(answerButton(patternOf(n)));
    }
}

TEST_F(Quiz, RepeatedClicksAnswerTheNextSentenceToo)
{
    // 第５文型 twice on sentence 7 also answers 8; a third click is wrong for 9.
    playTo(7);
    click("Command5");
    click("Command5");
    expectState(praiseAfter(8), 9);
    click("Command5");
    expectState(kGameOver, 22);

    // 第３文型 twice on sentence 15 also answers 16.
    click("Command6");
    playTo(15);
    click("Command3");
    click("Command3");
    expectState(praiseAfter(16), 17);
    click("Command3");
    expectState(kGameOver, 22);

    // Any other repeated right answer ends the run.
    click("Command6");
    playTo(2);
    click("Command1");
    click("Command1");
    expectState(kGameOver, 22);

    // Except the last one, which then does nothing.
    click("Command6");
    playTo(20);
    click("Command4");
    click("Command4");
    expectState(kClosing, 21);
}

TEST_F(Quiz, LeavingResetsTheQuizForTheNextEntry)
{
    for (int leaveAt : {1, 7, 21, 22}) {
        SCOPED_TRACE(leaveAt);
        if (leaveAt == 22) {
            playTo(4);
            click("Command1");
        } else {
            playTo(leaveAt);
        }
        ASSERT_EQ(step(), leaveAt);
        click("Command7");
        EXPECT_TRUE(nav.screen("Form20")->visible());
        EXPECT_FALSE(quiz().visible());
        expectState(kOpening, 1);

        nav.click("C7");
        ASSERT_EQ(nav.visibleScreen(), &quiz());
        expectState(kOpening, 1);
    }
    std::vector<std::string> created = nav.created();
    EXPECT_EQ(std::count(created.begin(), created.end(), "Form18"), 1);
    // The quiz still runs after all that coming and going.
    playTo(21);
    EXPECT_EQ(text(), kClosing);
}

// A menu that notes how it finds the quiz when it is created.
class WatchingMenu : public Screen {
public:
    WatchingMenu(Navigator& navigator, bool& quizVisible, int& quizStep)
        : Screen(navigator, "Form20", "menu", 100, 100, {0, 0, 0}), nav_(navigator),
          quizVisible_(quizVisible), quizStep_(quizStep)
    {
    }
    void load() override
    {
        Screen* quiz = nav_.screen("Form18");
        quizVisible_ = quiz->visible();
        quizStep_ = quiz->step().value_or(-99);
    }

protected:
    void onClick(std::string_view) override {}

private:
    Navigator& nav_;
    bool& quizVisible_;
    int& quizStep_;
};

TEST(QuizBack, ShowsTheMenuThenHidesItselfThenResets)
{
    bool quizVisible = false;
    int quizStep = 0;
    Navigator nav(std::filesystem::temp_directory_path());
    nav.define("Form18", [](ScreenHost& n) { return makeQuizScreen(n); });
    nav.define("Form20", [&](ScreenHost& n) {
        return std::make_unique<WatchingMenu>(asNavigator(n), quizVisible, quizStep);
    });
    nav.start("Form18");
    Screen& quiz = *nav.screen("Form18");
    EXPECT_EQ(quiz.control("T1").text, kOpening);
    nav.click("Command3");
    nav.click("Command1");
    ASSERT_EQ(quiz.step(), 3);

    nav.click("Command7");
    EXPECT_TRUE(quizVisible);
    EXPECT_EQ(quizStep, 3);
    EXPECT_EQ(nav.visibleScreen(), nav.screen("Form20"));
    EXPECT_EQ(quiz.step(), 1);
    EXPECT_EQ(quiz.control("T1").text, kOpening);
}

} // namespace
} // namespace quillory
