// Lessons 12 to 14 (Form14 to Form16) walked through on the engine: every answer branch,
// the quizzes that start again after a wrong answer, and Back at step 1.
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "tests/lesson_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quillory {
namespace {

using Lines = std::vector<std::string>;

struct Course {
    std::string menuButton;
    std::string screen;
    std::string teacherPicture;
    std::string greeting;
    std::string thanks;
    int quizFrom;                                 // Talk asks question 1 here
    std::map<int, std::string> pictures;          // Teacher row's From -> picture it loads
    std::map<int, int> earlyAnswers;              // questions before the quiz -> answer to give
    std::vector<int> quizAnswers;                 // the right answers, in order
    std::string lastRight;                        // the text after the last right answer
    std::function<std::string(int, int)> restart; // (button, From) -> first restart line
};

const Course& adverbClauses()
{
    static const Course c{"C14",
                          "Form14",
                          "gal2.bmp",
                          "それでは副詞節の授業を始めましょう。",
                          "辻先生、ありがとうございました。",
                          58,
                          {{11, "fuku1.bmp"},
                           {17, "fuku2.bmp"},
                           {25, "setu1.bmp"},
                           {47, "setu2.bmp"},
                           {51, "setu3.bmp"},
                           {57, "gal2.bmp"}},
                          {},
                          {1, 3, 2, 2, 1},
                          "正解です！では今回はここまでです。",
                          [](int k, int from) -> std::string {
                              if (k == 2 && from == 59)
                                  return "間違い！ではやり直しです。";
                              return k == 3 ? "間違いです。ではやり直しです。"
                                            : "間違いです。ではやり直して下さい。";
                          }};
    return c;
}

const Course& subjunctive()
{
    static const Course c{"C15",
                          "Form15",
                          "gal1.bmp",
                          "さあ、仮定法の授業を始めましょう。",
                          "森岡先生、ありがとうございました。",
                          54,
                          {{11, "if.bmp"}, {33, "gal1.bmp"}},
                          {},
                          {3, 2, 1, 2, 1, 2, 3, 2, 3, 3},
                          "正解よ！よく頑張ったわね。じゃ、今回はここまでよ。",
                          [](int k, int) -> std::string {
                              return k == 2 ? "間違い！では最初からやり直し。"
                                            : "間違い！ではやり直しね。";
                          }};
    return c;
}

const Course& participles()
{
    static const Course c{"C16",
                          "Form16",
                          "gal3.bmp",
                          "さあ、分詞構文の授業を始めましょう。",
                          "浜田先生、ありがとうございました。",
                          64,
                          {{9, "bun0.bmp"},
                           {13, "bun1.bmp"},
                           {15, "bun2.bmp"},
                           {17, "bun3.bmp"},
                           {27, "bun4.bmp"},
                           {51, "bun5.bmp"}},
                          {{29, 3}, {45, 1}, {47, 3}, {49, 3}},
                          {2, 3, 1, 3, 2},
                          "正解です！では今回はここまでです。",
                          [](int k, int) -> std::string {
                              switch (k) {
                              case 1:
                                  return "間違い！ではやり直しです。";
                              case 2:
                                  return "間違いです。では最初からやり直して下さい。";
                              default:
                                  return "間違い！ではやり直しですよ。頑張って下さいね。";
                              }
                          }};
    return c;
}

const std::vector<int> kAll{1, 2, 3};

// Walks from the current step up to `until` with Talk and Teacher only, answering the
// questions before the quiz with `early`, checking the turn order and the pictures.
void walkTo(Lesson& l, const Course& c, int until, const std::map<int, int>& early)
{
    std::string picture = l.picture();
    while (l.step() < until) {
        const int from = l.step();
        SCOPED_TRACE("step " + std::to_string(from));
        if (from % 2 == 0) {
            l.expectInert(false, true, true);
            l.talk();
        } else if (!l.choices().empty()) {
            ASSERT_EQ(l.choices(), kAll);
            ASSERT_TRUE(early.count(from)) << "a question nobody answers";
            l.expectInert(true, true, false);
            l.answer(early.at(from));
            EXPECT_TRUE(l.choices().empty()) << "the answer button hides the buttons";
        } else {
            l.expectInert(true, false, true);
            l.teacher();
            if (auto it = c.pictures.find(from); it != c.pictures.end())
                picture = it->second;
        }
        ASSERT_EQ(l.step(), from + 1);
        EXPECT_EQ(l.picture(), picture);
        // Only the questions before the quiz show the buttons outside it.
        EXPECT_EQ(!l.choices().empty(), c.earlyAnswers.count(from + 1) == 1);
    }
}

// Talk asks the quiz question at the current even step; returns its lines.
Lines ask(Lesson& l)
{
    const int from = l.step();
    EXPECT_TRUE(l.choices().empty());
    l.expectInert(false, true, true);
    l.talk();
    EXPECT_EQ(l.step(), from + 1);
    EXPECT_EQ(l.choices(), kAll);
    // While the question waits, Talk and Teacher do nothing.
    l.expectInert(true, true, false);
    return l.lines();
}

// An answer button at the current odd step: it hides the buttons first.
void reply(Lesson& l, int k, int to)
{
    l.answer(k);
    EXPECT_EQ(l.step(), to);
    EXPECT_TRUE(l.choices().empty());
}

// A lesson just opened from the menu.
void expectOpened(Lesson& l, const Course& c)
{
    EXPECT_EQ(l.screen().name(), c.screen);
    EXPECT_EQ(l.text(), c.greeting);
    EXPECT_EQ(l.picture(), c.teacherPicture);
    EXPECT_TRUE(l.choices().empty());
}

// From the quiz's first question, answers right up to question `q` (0 based).
Lines rightUpTo(Lesson& l, const Course& c, std::size_t q)
{
    Lines question = ask(l);
    for (std::size_t i = 0; i < q; ++i) {
        reply(l, c.quizAnswers[i], l.step() + 1);
        EXPECT_EQ(l.lines().front().rfind("正解", 0), 0u) << l.text();
        question = ask(l);
    }
    return question;
}

// Every wrong answer at every question restarts the quiz with its own message and the
// lines that put question 1 when the quiz was announced; Talk then asks question 1 again.
void everyWrongAnswerRestarts(const Course& c)
{
    Lesson l(c.menuButton);
    expectOpened(l, c);
    walkTo(l, c, c.quizFrom, c.earlyAnswers);
    const Lines announced = l.lines();
    const Lines first = ask(l);
    l.answer(c.quizAnswers[0] % 3 + 1);
    ASSERT_EQ(l.step(), c.quizFrom);
    for (std::size_t q = 0; q < c.quizAnswers.size(); ++q) {
        for (int k = 1; k <= 3; ++k) {
            if (k == c.quizAnswers[q])
                continue;
            SCOPED_TRACE("question " + std::to_string(q + 1) + ", answer " + std::to_string(k));
            rightUpTo(l, c, q);
            const int from = l.step();
            reply(l, k, c.quizFrom);
            const Lines restart = l.lines();
            ASSERT_FALSE(restart.empty());
            EXPECT_EQ(restart.front(), c.restart(k, from));
            ASSERT_LE(restart.size(), announced.size());
            EXPECT_EQ(
                Lines(restart.begin() + 1, restart.end()),
                Lines(announced.end() - static_cast<long>(restart.size() - 1), announced.end()));
            // The buttons stay hidden until Talk asks question 1 again.
            l.expectInert(false, true, true);
            EXPECT_EQ(ask(l), first);
            l.answer(c.quizAnswers[0] % 3 + 1);
            ASSERT_EQ(l.step(), c.quizFrom);
        }
    }
}

TEST(AdverbClauseSubjunctiveParticipleLessons, EachLessonRightThroughToTheThanks)
{
    for (const Course* c : {&adverbClauses(), &subjunctive(), &participles()}) {
        SCOPED_TRACE(c->screen);
        Lesson l(c->menuButton);
        expectOpened(l, *c);
        walkTo(l, *c, c->quizFrom, c->earlyAnswers);
        // Teacher's announcement ends with question 1, as Talk then asks it.
        const Lines announced = l.lines();
        Lines question = ask(l);
        EXPECT_NE(std::find(question.begin(), question.end(), announced.back()), question.end());
        for (std::size_t q = 0; q < c->quizAnswers.size(); ++q) {
            SCOPED_TRACE("question " + std::to_string(q + 1));
            reply(l, c->quizAnswers[q], l.step() + 1);
            if (q + 1 == c->quizAnswers.size())
                break;
            const Lines feedback = l.lines();
            EXPECT_EQ(feedback.front().rfind("正解", 0), 0u);
            question = ask(l);
            // The feedback ends with the next question's sentence (the blank's width aside).
            const auto squeezed = [](std::string line) {
                line.erase(std::unique(line.begin(), line.end(),
                                       [](char a, char b) { return a == ' ' && b == ' '; }),
                           line.end());
                return line;
            };
            EXPECT_TRUE(std::any_of(question.begin(), question.end(), [&](const std::string& x) {
                return squeezed(x) == squeezed(feedback.back());
            })) << feedback.back();
        }
        EXPECT_EQ(l.text(), c->lastRight);
        l.say(c->thanks, l.step() + 1);
        // The lesson is over: only Back does anything.
        l.expectInert(true, true, true);
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.picture(), c->teacherPicture);
        EXPECT_EQ(l.text(), c->greeting);
    }
}

TEST(AdverbClauseSubjunctiveParticipleLessons, EveryWrongQuizAnswerStartsTheQuizAgain)
{
    for (const Course* c : {&adverbClauses(), &subjunctive(), &participles()}) {
        SCOPED_TRACE(c->screen);
        everyWrongAnswerRestarts(*c);
    }
}

TEST(AdverbClauseSubjunctiveParticipleLessons, BackAtStepOneKeepsStepOne)
{
    for (const Course* c : {&adverbClauses(), &subjunctive(), &participles()}) {
        SCOPED_TRACE(c->screen);
        EXPECT_EQ(lessonProfile(c->screen)->backResetsFrom, 2);
        Lesson l(c->menuButton);
        expectOpened(l, *c);
        l.talk();
        ASSERT_EQ(l.step(), 1);
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_FALSE(l.screen().visible());
        EXPECT_EQ(l.step(), 1);

        l.nav().click(c->menuButton);
        EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
        EXPECT_EQ(l.text(), c->greeting);
        EXPECT_EQ(l.picture(), c->teacherPicture);
        // Talk has nothing to say at 1; the Teacher gives the first explanation.
        l.expectInert(true, false, true);
        l.teacher();
        EXPECT_EQ(l.step(), 2);
        EXPECT_NE(l.text(), c->greeting);

        // From 2 on Back starts the lesson afresh.
        l.end();
        EXPECT_EQ(l.step(), 0);
        l.nav().click(c->menuButton);
        l.teacher();
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.text(), c->greeting);
    }
}

TEST(AdverbClauseSubjunctiveParticipleLessons, BackWhileADiagramOrAQuestionShowsStartsAfresh)
{
    for (const Course* c : {&adverbClauses(), &subjunctive(), &participles()}) {
        SCOPED_TRACE(c->screen);
        Lesson l(c->menuButton);
        expectOpened(l, *c);
        // The first diagram is on view.
        walkTo(l, *c, c->pictures.begin()->first + 1, c->earlyAnswers);
        ASSERT_NE(l.picture(), c->teacherPicture);
        l.end();
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.picture(), c->teacherPicture);
        EXPECT_EQ(l.text(), c->greeting);

        // A quiz question waits with its buttons shown.
        l.nav().click(c->menuButton);
        walkTo(l, *c, c->quizFrom, c->earlyAnswers);
        ask(l);
        l.end();
        EXPECT_TRUE(l.choices().empty());
        EXPECT_EQ(l.step(), 0);
        l.nav().click(c->menuButton);
        EXPECT_EQ(l.text(), c->greeting);
        EXPECT_EQ(l.picture(), c->teacherPicture);
        l.say(l.screen().profile().script().rows.front().effects.front().text(), 1);
    }
}

// The warm-up and the three practice questions: every answer moves the lesson on one step,
// a wrong one naming the right answer.
TEST(AdverbClauseSubjunctiveParticipleLessons, ParticiplePracticeNeverRestarts)
{
    const Course& c = participles();
    const std::vector<std::string> digits{"", "１", "２", "３"};
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k) + " everywhere");
        Lesson l(c.menuButton);
        expectOpened(l, c);
        for (const auto& [question, right] : c.earlyAnswers) {
            walkTo(l, c, question, c.earlyAnswers);
            ASSERT_EQ(l.choices(), kAll);
            reply(l, k, question + 1);
            const std::string said = l.text();
            if (k == right) {
                EXPECT_NE(said.find("正解です"), std::string::npos) << said;
                EXPECT_EQ(said.find("間違"), std::string::npos) << said;
            } else {
                EXPECT_NE(said.find(digits[right] + "で"), std::string::npos) << said;
            }
        }
        walkTo(l, c, c.quizFrom, c.earlyAnswers);
        EXPECT_EQ(l.picture(), "bun5.bmp");
    }
}

} // namespace
} // namespace quillory
