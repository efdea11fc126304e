// The conversation each scripted screen keeps since it was last entered: who
// said what, in order, and how each screen's way back starts it again.
#include "app/navigator.h"
#include "app/screens.h"
#include "game/game_screen.h"
#include "quiz/quiz_rules.h"
#include "tests/game_walk.h"
#include "tests/lesson_walk.h"
#include "ui/conversation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillory {
namespace {

using Log = std::vector<Said>;

TEST(Conversation, LessonBranchLoggedWithWhoSpokeThenClearedByBack)
{
    Lesson form3("C2");
    const std::string greeting = "私は、森岡　ハナです。よろしくね。では授業を始めましょう。";
    EXPECT_EQ(form3.screen().conversation().said(), (Log{{Speaker::Teacher, greeting}}));

    form3.talk();
    form3.teacher();
    form3.talk();
    form3.expectInert(true, true, false); // refused clicks log nothing
    form3.answer(3);
    form3.talk();
    const Log walked{
        {Speaker::Teacher, greeting},
        {Speaker::Learner, "森岡先生、よろしくお願いします。"},
        {Speaker::Teacher, "\r\nはい、こちらこそ。うふふ。ではさっそくですが、<これはペンです。>"
                           "\r\n\r\nを英語で言ってみて下さい。"},
        {Speaker::Question, "1  This is a pen.      2  I love you.      3  How old are you?"},
        {Speaker::Answer, "３（不正解）"},
        {Speaker::Feedback, "２３歳。しかも独身よ。うふ。答えは This is a pen. ね。"},
        {Speaker::Learner, "まあ、それくらいはわかります。"},
    };
    EXPECT_EQ(form3.screen().conversation().said(), walked);
    // Every text the box showed, the last one being what it shows now.
    EXPECT_EQ(form3.screen().conversation().said().back().text, form3.text());

    // As plain text: labels, the speech without its empty lines, LF only.
    const std::string plain = conversationText(form3.screen().conversation());
    EXPECT_EQ(plain.substr(0, plain.find("【あなた】")), "【先生】\n" + greeting + "\n\n");
    EXPECT_NE(plain.find("【先生】\nはい、こちらこそ。うふふ。ではさっそくですが、"
                         "<これはペンです。>\nを英語で言ってみて下さい。\n\n【出題】"),
              std::string::npos);
    EXPECT_NE(plain.find("【出題】\n1  This is a pen."), std::string::npos);
    EXPECT_NE(plain.find("【あなたの答え】３（不正解）\n\n【答え合わせ】\n２３歳。"),
              std::string::npos);
    EXPECT_EQ(plain.find('\r'), std::string::npos);
    EXPECT_TRUE(plain.ends_with("まあ、それくらいはわかります。"));

    // Back resets the log with the greeting; entering again finds only that.
    form3.end();
    form3.nav().click("C1");
    form3.nav().click("C2");
    ASSERT_EQ(form3.nav().visibleScreen(), &form3.screen());
    EXPECT_EQ(form3.screen().conversation().said(), (Log{{Speaker::Teacher, greeting}}));
    form3.talk();
    EXPECT_EQ(form3.screen().conversation().said().size(), 2u);
}

TEST(Conversation, BackAtStepOneOfTheLaterLessonsStillStartsANewLog)
{
    Lesson form14("C14");
    form14.talk();
    ASSERT_EQ(form14.step(), 1);
    form14.end();
    EXPECT_EQ(form14.step(), 1);
    ASSERT_EQ(form14.screen().conversation().said().size(), 1u);
    EXPECT_EQ(form14.screen().conversation().said()[0].text, form14.text());
    EXPECT_EQ(form14.screen().conversation().said()[0].who, Speaker::Teacher);
}

TEST(Conversation, GameOverRetryAndBackOnTheGame)
{
    Game game;
    game.play({"Command1", "Command2"});
    game.playTo(15);
    const std::size_t before = game.screen->conversation().said().size();
    // 2 banter + greeting + every turn up to the question awaited at 15.
    const Log& log = game.screen->conversation().said();
    EXPECT_EQ(log.front(), (Said{Speaker::Partner, gameScript().story.greeting}));
    EXPECT_EQ(log[1], (Said{Speaker::Learner, "な、何者だ！？"}));
    EXPECT_EQ(log[2].who, Speaker::Partner);
    EXPECT_EQ(log.back().who, Speaker::Question); // the choices Talk wrote

    game.play({"Command4"}); // wrong: remapped onto the fail rule, one text
    game.expectGameOver("あれ？間違えた・・・。");
    ASSERT_EQ(log.size(), before + 2);
    EXPECT_EQ(log[before], (Said{Speaker::Answer, "１（不正解）"}));
    EXPECT_EQ(log.back(), (Said{Speaker::Feedback, "あれ？間違えた・・・。"}));

    game.play({"Command8"}); // the old woman's retry question
    EXPECT_EQ(log.back().who, Speaker::Partner);
    EXPECT_EQ(log.back().text, game.text());
    game.play({"Command1", "Command7"}); // its choices, then the right answer
    EXPECT_EQ(game.step(), 14);
    ASSERT_EQ(log.size(), before + 6);
    EXPECT_EQ(log[before + 3].who, Speaker::Question);
    EXPECT_EQ(log[before + 4], (Said{Speaker::Answer, "４（正解）"}));
    EXPECT_EQ(log[before + 5].who, Speaker::Feedback);
    EXPECT_EQ(log.back().text, game.text());

    // Talk at a game-over step only shows the buttons: nothing is said.
    game.play({"Command1", "Command6"}); // choices of question 2, then wrong
    game.expectGameOver("あれ？間違えたのか・・・。");
    const std::size_t atOver = log.size();
    game.play({"Command1"});
    EXPECT_EQ(log.size(), atOver);

    game.play({"Command3"});
    EXPECT_EQ(game.screen->conversation().said(),
              (Log{{Speaker::Partner, gameScript().story.greeting}}));
    game.play({"C17"});
    EXPECT_EQ(game.screen->conversation().said().size(), 1u);
}

TEST(Conversation, QuizLogsQuestionsAndAnswersAndStartsAgainOnTheWayBack)
{
    Navigator nav(std::filesystem::temp_directory_path());
    defineScreens(nav);
    nav.start("Form1");
    nav.click("C1");
    nav.click("C7");
    const Screen& quiz = *nav.screen("Form18");
    const std::string opening(QuizOpening);
    EXPECT_EQ(quiz.conversation().said(), (Log{{Speaker::Question, opening}}));

    nav.click("Command3"); // right
    nav.click("Command2"); // wrong
    nav.click("Command4"); // wrong again: the same text is not logged twice
    nav.click("Command6"); // retry
    EXPECT_EQ(quiz.conversation().said(),
              (Log{{Speaker::Question, opening},
                   {Speaker::Answer, "第３文型（正解）"},
                   {Speaker::Feedback, "正解！　Tom and Bob went to London.  は？"},
                   {Speaker::Answer, "第２文型（不正解）"},
                   {Speaker::Feedback, "GAME OVER!"},
                   {Speaker::Answer, "第４文型"},
                   {Speaker::Question, opening}}));

    nav.click("Command7");
    EXPECT_EQ(nav.visibleScreen()->name(), "Form20");
    EXPECT_EQ(quiz.conversation().said(), (Log{{Speaker::Question, opening}}));
    nav.click("C7");
    EXPECT_EQ(quiz.conversation().said().size(), 1u);
}

} // namespace
} // namespace quillory
