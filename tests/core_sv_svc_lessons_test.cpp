// Lessons 1 and 2 (Form3, Form4) walked through on the engine, every answer branch.
#include "app/navigator.h"
#include "app/screens.h"
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "tests/lesson_walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillory {
namespace {

TEST(SvSvcLessons, Form3EveryBranchToTheThanks)
{
    const std::vector<std::string> pen{
        "はい、よくできました。",
        "まあ、ありがとう。うふ。答えは This is a pen. ね。",
        "２３歳。しかも独身よ。うふ。答えは This is a pen. ね。",
    };
    const std::vector<std::string> book{
        "あら、それだと冠詞の an が無いわよ。答えは３よ。",
        "おしいわ。冠詞は an じゃなくっちゃ。正解は３ね。",
        "正解よ！　自信をもってね。",
    };
    const std::vector<std::string> sad{
        "それじゃ、私の説明が無駄でしょ？ 答えは３よ。",
        "惜しい！主語がheで、時制が現在ならlooksよ。だから答えは３ね。",
        "正解よ！三単現の s もばっちりね。",
    };
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k) + " to every question");
        Lesson l("C2");
        EXPECT_EQ(l.screen().name(), "Form3");
        EXPECT_EQ(l.screen().caption(), "＜１＞５文型 Part 1");
        EXPECT_EQ(l.text(), "私は、森岡　ハナです。よろしくね。では授業を始めましょう。");
        EXPECT_EQ(l.picture(), "gal1.bmp");
        EXPECT_TRUE(l.choices().empty());

        l.say("森岡先生、よろしくお願いします。", 1);
        EXPECT_EQ(
            l.explain(2, "はい、こちらこそ。うふふ。ではさっそくですが、<これはペンです。>", 2),
            (std::vector<std::string>{
                "はい、こちらこそ。うふふ。ではさっそくですが、<これはペンです。>",
                "を英語で言ってみて下さい。"}));
        l.say("1  This is a pen.      2  I love you.      3  How old are you?", 3);
        l.answerWith(k, pen[k - 1], 4);
        l.say("まあ、それくらいはわかります。", 5);
        EXPECT_TRUE(l.choices().empty());
        l.explain(7, "いくら英語が不得意でも、This is a pen.　については、絶対の自信を", 6);
        l.say("よ～くわかります。", 7);
        l.explain(4, "それはよかったわ。さて、私はたまたまがすき、あ、いや、その、", 8);
        l.say("せ、先生、ＳとＭは、ちょっとヤバイんじゃないですか。", 9);
        l.explain(8, "あら、いやあん！そんなつもりじゃないのに～。ま、それはともかく、", 10);
        l.say("先生、Ｓが you の場合はどうなるんですか？", 11);
        l.explain(5, "その場合は are を使うの。ただし、you には２通りの意味があるわ。", 12);
        l.say("なるほど。", 13);
        EXPECT_EQ(l.explain(10, "じゃ、次の文を見て。", 14).back(), "   これは面白い本です。");

        l.expectInert(false, true, true);
        l.talk();
        EXPECT_EQ(l.step(), 15);
        EXPECT_EQ(l.lines(), (std::vector<std::string>{"   これは面白い本です。",
                                                       " 1  This is interesting book.",
                                                       " 2  This is a interesting book.",
                                                       " 3  This is an interesting book."}));
        l.answerWith(k, book[k - 1], 16);
        l.say("先生、説明を続けて下さい。", 17);
        EXPECT_TRUE(l.choices().empty());
        EXPECT_EQ(
            l.explain(3, "はい。そうしましょう。じゃ、ここまでの話をまとめると、「ＳはＣです。」",
                      18),
            (std::vector<std::string>{
                "はい。そうしましょう。じゃ、ここまでの話をまとめると、「ＳはＣです。」",
                "のパターンは、英語では S is C. で表現できるのね。その場合、Ｃには",
                "名詞か形容詞が来る、ということね。"}));
        l.say("ま、なぜわざわざＳとＣを使うのかはともかく、話はわかります。", 19);
        EXPECT_EQ(l.explain(15, "それについては、もっと後で、優しく教えてア・ゲ・ル。うふふ。", 20)
                      .back(),
                  "   彼は悲しそうだ。");

        l.expectInert(false, true, true);
        l.talk();
        EXPECT_EQ(l.step(), 21);
        EXPECT_EQ(l.lines(),
                  (std::vector<std::string>{"   彼は悲しそうだ。",
                                            "1 He is sad.    2 He look sad.    3 He looks sad."}));
        l.answerWith(k, sad[k - 1], 22);
        l.say("先生、説明を続けて下さい。", 23);
        EXPECT_TRUE(l.choices().empty());
        l.explain(14, "はいはい。じゃ紹介を続けるわね。", 24);
        l.say("先生、区別とはどういうことですか？", 25);
        EXPECT_EQ(
            l.explain(8, "それはつまり、一般動詞と be動詞とでは、否定文と疑問文の作り方に", 26)
                .back(),
            "覚えておいてね。じゃ、５文型 Part 1 はこれでおしまいよ。");

        // The thanks can be repeated; nothing else applies at 26.
        for (int again = 0; again < 3; ++again) {
            l.say("森岡先生、ありがとうございました。", 26);
            l.expectInert(false, true, true);
        }
        EXPECT_EQ(l.picture(), "gal1.bmp");

        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form1");
        EXPECT_EQ(l.step(), 0);
    }
}

TEST(SvSvcLessons, Form3EndWhileAQuestionWaitsStartsAfresh)
{
    Lesson l("C2");
    l.talk();
    l.teacher();
    l.talk();
    ASSERT_EQ(l.step(), 3);
    ASSERT_EQ(l.choices(), (std::vector<int>{1, 2, 3}));
    l.end();
    EXPECT_EQ(l.nav().visibleScreen()->name(), "Form1");
    EXPECT_FALSE(l.screen().visible());
    EXPECT_TRUE(l.choices().empty());
    EXPECT_EQ(l.step(), 0);

    l.nav().click("C1");
    l.nav().click("C2");
    EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
    EXPECT_EQ(l.text(), "私は、森岡　ハナです。よろしくね。では授業を始めましょう。");
    l.talk();
    EXPECT_EQ(l.text(), "森岡先生、よろしくお願いします。");
    EXPECT_EQ(l.step(), 1);
}

TEST(SvSvcLessons, Form4EveryBranchToTheEnd)
{
    const std::vector<std::string> ball{
        "え？本気？何それ？答えは２でしょ。",
        "正解よ。さすがね。",
        "う～ん、前置詞が on だったらそうだけどね。答えは２よ。",
    };
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k));
        Lesson l("C3");
        EXPECT_EQ(l.screen().name(), "Form4");
        EXPECT_EQ(l.screen().caption(), "５文型Part 2");
        EXPECT_EQ(l.text(), "それでは、５文型 Part 2 の授業をはじめます。");
        EXPECT_EQ(l.picture(), "gal1.bmp");

        l.say("森岡先生、よろしくお願いします。", 1);
        l.explain(15, "はい、わかりました。さて、Part 1 でとりあげた S is C.（ＳはＣです。）", 2);
        l.say("日本語の「この部屋に」は、英語では in this room なんですね。", 3);
        EXPECT_EQ(
            l.explain(11, "そうなの。面白いでしょ。「に」に当たる in は this room の前に置く", 4)
                .back(),
            " The ball is under the desk. ");

        l.expectInert(false, true, true);
        l.talk();
        EXPECT_EQ(l.step(), 5);
        EXPECT_EQ(l.lines(), (std::vector<std::string>{" The ball is under the desk.",
                                                       "１　そのボールは机です。",
                                                       "２　そのボールは机の下にある。",
                                                       "３　そのボールは机の上にある。"}));
        l.answerWith(k, ball[k - 1], 6);
        l.say("先生、説明を続けて下さい。", 7);
        EXPECT_TRUE(l.choices().empty());
        l.explain(5, "そうしましょう。ところが、前置詞が不要な場合もあるわ。", 8);
        l.say("先生、There is ～. の構文の be動詞も同じ用法なんですか？", 9);
        l.explain(22, "まあ、するどいわね。その通り、このbe動詞も「存在」の意味よ。", 10);
        l.say("わかりました。なんとか。", 11);
        l.explain(8, "それはよかった。じゃ、さらに説明を続けるわね。", 12);

        l.expectInert(false, true, true);
        l.talk();
        EXPECT_EQ(l.step(), 13);
        EXPECT_EQ(l.lines(), (std::vector<std::string>{
                                 "先生、ちょっと待って下さい。その説明、どこかで聞いたような・・・",
                                 "あ、そうだ！確か「存在」を表す be動詞に対しても同じような説明",
                                 "がされましたよね？"}));

        EXPECT_EQ(l.picture(), "gal1.bmp");
        EXPECT_EQ(
            l.explain(3, "す、するどいわ！そうなの。じゃ、ここで両者を見比べてみましょう。", 14),
            (std::vector<std::string>{
                "す、するどいわ！そうなの。じゃ、ここで両者を見比べてみましょう。", "黒板を見て。",
                "どう？何か気づいたことはある？"}));
        EXPECT_EQ(l.picture(), "go.bmp");

        l.expectInert(false, true, true);
        l.talk();
        EXPECT_EQ(l.step(), 15);
        EXPECT_EQ(l.lines(), (std::vector<std::string>{
                                 "え～、文の意味はそれぞれ違うけれど、構造は全く同じですね。",
                                 "つまり、両方とも、　主語・動詞・前置詞＋名詞　という形です。"}));
        l.explain(7, "その通りよ！実は go は「存在」を表す be動詞と同じ仲間なの。", 16);
        l.say("なるほど！！ 先生、説明を続けて下さい！！", 17);
        l.explain(11, "はいはい、そう興奮しないでね。", 18);
        l.say("look は前に S is C. の仲間として紹介されましたね？", 19);
        EXPECT_EQ(
            l.explain(3, "う～ん、それはそうだけど、その場合の look は「～に見える」という", 20),
            (std::vector<std::string>{
                "う～ん、それはそうだけど、その場合の look は「～に見える」という",
                "意味で、ここで紹介している look とは用法が違うの。だから、別の",
                "ものとして扱うべきなのよ。"}));
        l.say("わかりました。", 21);
        EXPECT_EQ(l.picture(), "go.bmp");

        const unsigned loads = l.screen().control("Picture1").pictureLoads;
        l.explain(26, "もちろん、there や here といった副詞は、前置詞なしで ", 22);
        EXPECT_EQ(l.picture(), "gal1.bmp");
        EXPECT_EQ(l.screen().control("Picture1").pictureLoads, loads + 1);

        l.say("ありがとうございました。", 23);
        // Nothing but End applies any more.
        l.expectInert(true, true, true);
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form1");
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.text(), "それでは、５文型 Part 2 の授業をはじめます。");
    }
}

TEST(SvSvcLessons, Form4EndWhileTheBlackboardShowsPutsTheTeacherBack)
{
    Lesson l("C3");
    while (l.step() < 16) {
        if (l.step() == 5)
            l.answer(2);
        else if (l.step() % 2 == 0)
            l.talk();
        else
            l.teacher();
    }
    ASSERT_EQ(l.picture(), "go.bmp");
    l.end();
    EXPECT_EQ(l.picture(), "gal1.bmp");
    EXPECT_EQ(l.step(), 0);
    EXPECT_EQ(l.nav().visibleScreen()->name(), "Form1");

    l.nav().click("C1");
    l.nav().click("C3");
    EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
    EXPECT_EQ(l.picture(), "gal1.bmp");
    EXPECT_EQ(l.text(), "それでは、５文型 Part 2 の授業をはじめます。");
    EXPECT_TRUE(l.choices().empty());
}

} // namespace
} // namespace quillory
