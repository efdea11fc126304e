// Lessons 3 to 5 (Form5, Form6, Form7) walked through on the engine, every answer branch.
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "tests/lesson_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillory {
namespace {

using Lines = std::vector<std::string>;

// What the dialogue box holds: the lines of a WriteLines text, or the one text of SetText.
Lines said(const Lesson& l)
{
    const std::string text = l.text();
    if (text.rfind("\r\n", 0) == 0)
        return linesOf(text);
    return {text};
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A teacher's line written with SetText at an odd step.
void tell(Lesson& l, const std::string& expected, int to)
{
    l.expectInert(true, false, true);
    l.teacher();
    EXPECT_EQ(l.text(), expected);
    EXPECT_EQ(l.step(), to);
    EXPECT_TRUE(l.choices().empty());
}

// A question put by Talk at an even step; returns its lines.
Lines ask(Lesson& l, int to, const std::vector<int>& shown)
{
    l.expectInert(false, true, true);
    l.talk();
    EXPECT_EQ(l.step(), to);
    EXPECT_EQ(l.choices(), shown);
    return l.lines();
}

// Answer k to the waiting question, whose buttons are `before`; Talk and Teacher do
// nothing first. Returns what the teacher says.
Lines reply(Lesson& l, int k, int to, const std::vector<int>& before, const std::vector<int>& after)
{
    EXPECT_EQ(l.choices(), before);
    l.expectInert(true, true, false);
    l.answer(k);
    EXPECT_EQ(l.step(), to);
    EXPECT_EQ(l.choices(), after);
    return said(l);
}

void expectBackAtTitle(Lesson& l, const std::string& greeting)
{
    l.end();
    EXPECT_EQ(l.nav().visibleScreen()->name(), "Form1");
    EXPECT_EQ(l.step(), 0);
    EXPECT_EQ(l.picture(), "gal1.bmp");
    EXPECT_EQ(l.text(), greeting);
    EXPECT_TRUE(l.choices().empty());
}

TEST(ObjectLessons, Form5EveryBranchToTheThanks)
{
    // The last thing each answer says, by question and answer.
    const std::vector<Lines> feedback{
        {"それって、「私は大阪でした。」よ。答えは３です！",
         "惜しいわ。前置詞の to が必要でしょ？答えは３ね。", "正解よ。もうバッチリね！"},
        {"「大阪」よ。実は正解は３よ。", "語、つまり to が要るんじゃないの？　実は正解は３よ。",
         "そうよね。そう考えるのが自然よね。正解よ。"},
    };
    const std::vector<Lines> drills{
        {"間違い！他動詞よ。じゃ、She sang the song well. は？",
         "正解よ！じゃ、She sang the song well. は？"},
        {"間違い！他動詞よ。じゃ、We walked to his house. は？",
         "正解よ！じゃ、 We walked to his house. は？"},
        {"正解よ！　自信を持ってね。",
         "間違い。his house の前に to があるじゃない。だから自動詞よ。"},
        {"正解よ！じゃ、I sometimes went there. は？",
         "間違い！じゃ、I sometimes went there. は？今度は頑張ってね！"},
        {"正解よ！じゃ、I met him here before. は？頑張ってね！",
         "間違い！じゃ、I met him here before. は？頑張ってね！"},
        {"間違い！him は目的語よ。だから他動詞ね。",
         "正解よ！him は目的語だものね。よくわかったわね。"},
    };
    const std::vector<std::string> drillSentences{
        "I saw a beautiful girl yesterday.", "She sang the song well.", "We walked to his house.",
        " She came home yesterday.",         "I sometimes went there.", "I met him here before.",
    };
    for (int b = 1; b <= 3; ++b) {
        SCOPED_TRACE("branch " + std::to_string(b));
        // Third pass: the drills alternate, so each drill sees both answers over the passes.
        auto drillAnswer = [b](int i) { return b <= 2 ? b : 1 + i % 2; };
        int drill = 0;
        auto doDrill = [&](Lesson& l, int at) {
            SCOPED_TRACE("drill at " + std::to_string(at));
            EXPECT_EQ(ask(l, at + 1, {1, 2}),
                      (Lines{drillSentences[drill], "１　自動詞", "２　他動詞"}));
            const int k = drillAnswer(drill);
            // Every answer hides both buttons at once and moves on.
            EXPECT_EQ(reply(l, k, at + 2, {1, 2}, {}), Lines{drills[drill][k - 1]});
            ++drill;
        };

        Lesson l("C4");
        EXPECT_EQ(l.screen().name(), "Form5");
        EXPECT_EQ(l.screen().caption(), "５文型 Part 3");
        EXPECT_EQ(l.text(), "はい、それでは５文型 Part 3 の授業を始めます。");
        EXPECT_EQ(l.picture(), "gal1.bmp");

        l.say("森岡先生、よろしくお願いします。", 1);
        l.explain(2, "はい、じゃ、いきますよ。ではさっそくですが、", 2);
        EXPECT_EQ(ask(l, 3, {1, 2, 3}), (Lines{"「私は大阪に行った。」", "1 I was Osaka.",
                                               "2 I went Osaka.", "3 I went to Osaka."}));
        EXPECT_EQ(reply(l, b, 4, {1, 2, 3}, {}).back(), feedback[0][b - 1]);
        l.say("先生、説明を続けて下さい。", 5);
        EXPECT_EQ(l.explain(4, "はい。ま、前回の学習からすれば、今言ったように、", 6).back(),
                  "I visited Osaka.（私は大阪に行った。）");
        l.say("あれ？ to Osaka としなくていいんですか？", 7);
        l.explain(2, "うふふ。いいところに気が付いたわね。はっきり言いましょう。", 8);
        EXPECT_EQ(ask(l, 9, {1, 2, 3}).front(),
                  "I visited Osaka. には、なぜ to が要らないか、か。う～ん。");
        EXPECT_EQ(reply(l, b, 10, {1, 2, 3}, {}).back(), feedback[1][b - 1]);
        l.say("先生、説明を続けて下さい。", 11);
        l.explain(7, "もちろん、そうするつもりよ。さて、どうやらこの visit という動詞", 12);
        l.say("う～ん、わかったような気もするんですが・・・。", 13);
        l.explain(2, "うふふ、なるほどね。まだよくのみこめないかも知れないわね。", 14);
        l.say("わかりました。", 15);

        tell(l, "まず両方の文の意味は？細かいニュアンスは抜きにしていいわよ。", 16);
        EXPECT_EQ(l.picture(), "see.bmp");
        l.say("「私は彼女を見た。」です。", 17);
        tell(l, "そうね。じゃあ、look の意味は？", 18);
        l.say("「見る」です。", 19);
        tell(l, "なるほど。じゃあ、see の意味は？", 20);
        l.say("「見る」かな。", 21);
        l.explain(2, "なるほど。どちらの動詞も同じ意味なのね？じゃあ、なぜ looked の後", 22);
        l.say("そ、それはその～、つまり、いわゆる一つの・・・わかりません。", 23);
        l.explain(9, "じゃあ、改めて私の考えを言うわね。look は「見る」、see は、", 24);
        l.say("それが前置詞の at ですね！", 25);
        EXPECT_EQ(l.picture(), "see.bmp");
        EXPECT_EQ(
            l.explain(10, "そういうこと！つまり、この文での look は、あの go と同じ、", 26).back(),
            "I  saw a beautiful girl yesterday.");
        EXPECT_EQ(l.picture(), "gal1.bmp");

        doDrill(l, 26);
        doDrill(l, 28);
        doDrill(l, 30);
        l.say("先生、説明を続けて下さい。", 33);
        l.explain(12, "そうね。じゃ、念のため解説しておくと、I saw a beautiful girl.", 34);
        l.say("なるほど。", 35);
        l.explain(17, "じゃ、最後に副詞について説明しておくわね。", 36);
        l.say("わかりました。", 37);
        EXPECT_EQ(
            l.explain(4, "どう？けっこう覚えてる？じゃあ、改めて問題よ。これから挙げる文の", 38)
                .back(),
            "She came home yesterday.");
        EXPECT_EQ(l.picture(), "adv.bmp");
        doDrill(l, 38);
        doDrill(l, 40);
        doDrill(l, 42);
        l.say("先生、説明を続けて下さい。", 45);
        tell(l, "いえ、今回はここまでよ。", 46);
        l.say("森岡先生、ありがとうございました。", 47);

        // Only End does anything now; the adverbs stay on the board until then.
        l.expectInert(true, true, true);
        EXPECT_EQ(l.picture(), "adv.bmp");
        expectBackAtTitle(l, "はい、それでは５文型 Part 3 の授業を始めます。");
    }
}

TEST(ObjectLessons, Form6EveryBranchToTheThanks)
{
    const std::vector<std::string> questions{
        "ｱ me ｲ room ｳ she ｴ her ｵ showed",
        "ｱ bought ｲ nice ｳ my father ｴ me ｵ a ｶ dress",
        "ｱ the girl ｲ he ｳ questions ｴ asked ｵ yesterday ｶ some",
    };
    const Lines orders{
        "１　ウオエアイ　２　エイオウア　３　ウオアエイ",
        "１　ウアエオイカ　２　ウアオカイエ　３　ウアエイオカ",
        "１　アエイカウオ　２　イエアカウオ　３　アエカウイオ",
    };
    const Lines lastQuestion{
        "正解は２よ。つまり He asked the girl some questions yesterday.",
        "正解よ。つまり He asked the girl some questions yesterday. ね。",
        "ダメ！正解は２で、He asked the girl some questions yesterday. ね。",
    };
    for (int b = 1; b <= 3; ++b) {
        SCOPED_TRACE("answer " + std::to_string(b));
        Lesson l("C5");
        EXPECT_EQ(l.screen().name(), "Form6");
        EXPECT_EQ(l.screen().caption(), "５文型 Part 4");
        EXPECT_EQ(l.text(), "はい、それでは５文型 Part 4 の授業を始めます。");

        l.say("森岡先生、よろしくお願いします。", 1);
        l.explain(16, "はい、頑張りましょうね。　さて、「目的語」という言葉は、もう", 2);
        l.say("ということは、me も present も両方ともが目的語なんですか？", 3);
        l.explain(4, "す、するどすぎる！そうなのよ！そう！ give という動詞はこのように", 4);
        l.say("先生、その、モテナイ君って誰のことですか？", 5);
        tell(l, "自動詞ちゃんのことよ～ん。", 6);
        l.say("なるほど。先生、そのモテる他動詞達のモテる秘訣を教えて下さい！", 7);
        l.explain(3, "・・・・・・どうしたの？目がマジよ。しかもちょっと涙ぐんでない？", 8);
        l.say("よろしくお願いします！", 9);
        EXPECT_EQ(l.picture(), "gal1.bmp");
        tell(l, "どう？何か特徴めいたものは見つかった？", 10);
        EXPECT_EQ(l.picture(), "OO.bmp");
        l.say("どの文も、１つ目の O は「人」で、２つ目の O は「物」ですね。", 11);
        l.explain(16, "なかなかするどいじゃない。そうなの。この手の他動詞たちは、", 12);
        l.say("先生、どんな他動詞があるのか、いくつか挙げて下さい。", 13);
        tell(l, "いいわよ。じゃあ黒板に書いてみるわね。", 14);
        l.say("お願いします。", 15);
        tell(l, "どう？知っているのもあるんじゃない？", 16);
        EXPECT_EQ(l.picture(), "OOV.bmp");
        l.say("そうですね。見たことあるのばかりだな。こいつらがモテるのか。", 17);
        EXPECT_EQ(l.explain(5, "これで全てじゃないけど、有名なのはこんなものね。", 18).back(),
                  "ｱ me ｲ room ｳ she ｴ her ｵ showed ");

        EXPECT_EQ(ask(l, 19, {1, 2, 3}),
                  (Lines{questions[0], orders[0], "う～ん、どれかな・・・・。"}));
        for (int q = 1; q <= 2; ++q) {
            SCOPED_TRACE("question " + std::to_string(q));
            const int at = 17 + 2 * q;
            // The feedback ends with the next question, which Talk then puts with the buttons.
            const Lines fb = reply(l, b, at + 1, {1, 2, 3}, {});
            EXPECT_TRUE(endsWith(fb.back(), questions[q])) << fb.back();
            EXPECT_EQ(ask(l, at + 2, {1, 2, 3}), (Lines{questions[q], orders[q]}));
        }
        EXPECT_EQ(reply(l, b, 24, {1, 2, 3}, {}).back(), lastQuestion[b - 1]);

        l.say("先生、間接目的語には必ず「人」を表す語が来るんですか？", 25);
        EXPECT_EQ(l.explain(9, "いえいえ、あくまでも「人」を表す語が多い、ということで、絶対に", 26)
                      .back(),
                  "ところで、主格・所有格・目的格については知ってる？");
        EXPECT_EQ(l.picture(), "gal1.bmp");
        EXPECT_EQ(ask(l, 27, {}),
                  (Lines{"ああ、日本語に直したとき、「～は/ が」に当たるのが主格、",
                         "「～の」に当たるのが所有格、そして「～を/ に」に当たるのが",
                         "目的格ですね。"}));
        l.explain(12, "それがまさに定番の説明ね。でもね、そんな日本語の言い回しで理解", 28);
        l.say("じゃあ I went to Osaka. の Osaka は、目的語ではないのですね？", 29);
        tell(l, "うふふ、するどい質問ね。実はその Osaka も目的語よ。", 30);
        l.say("え？じゃあ、なぜ I went to Osaka. は S V O じゃないのですか？", 31);
        EXPECT_EQ(
            l.explain(9, "実はね、目的語には、「他動詞の目的語」と「前置詞の目的語」の２つが", 32)
                .back(),
            "わかった？じゃあ、今回の授業はここまでよ。");
        l.say("森岡先生、ありがとうございました。", 33);
        l.expectInert(true, true, true);
        expectBackAtTitle(l, "はい、それでは５文型 Part 4 の授業を始めます。");
    }
}

TEST(ObjectLessons, Form7EveryBranchToTheThanks)
{
    const std::vector<int> all{1, 2, 3, 4};
    const Lines chain{
        "He showed me the picture in his room.",
        "He seemed very happy at that time.",
        "My father bought a watch for me today.",
    };
    const Lines fourth{
        "today は副詞。従って第３文型よ。",
        "第３文型よ。",
        "正解よ！動詞がboughtでも第４文型とは限らないのよね。 ",
        "カウント。today は副詞。結局この文は第３文型ね。",
    };
    const Lines tom{
        "間違い。正解は３で Tom always kept the window open.",
        "間違い。正解は３で Tom always kept the window open.",
        "正解よ！つまり Tom always kept the window open.　ね",
    };
    for (int b = 1; b <= 4; ++b) {
        SCOPED_TRACE("answer " + std::to_string(b));
        const int b3 = std::min(b, 3); // the fill-in questions have three buttons
        Lesson l("C6");
        EXPECT_EQ(l.screen().name(), "Form7");
        EXPECT_EQ(l.screen().caption(), "５文型 Part 5");
        EXPECT_EQ(l.text(), "では、５文型 Part 5 の授業を始めます。");

        l.say("森岡先生、よろしくお願いします。", 1);
        l.explain(7, "はい。でも考えてみれば、ここまでいろんな文のパターンについて", 2);
        l.say("え？いや、「補語」はまだ説明されていませんけど・・・。", 3);
        l.explain(3, "あら、そうかしら？じゃ、「補語」の正体を明らかにするわ。「補語」", 4);
        l.say("待てよ・・・Ｃって言ったら、あ、S is C. のＣですか！？", 5);
        l.explain(14, "するどいっ！好きよ！あなたみたいなタイプ！そう S is C. のＣなの。", 6);
        l.say("わかります。", 7);
        l.explain(18, "じゃあここで、今まで学習してきたいろいろな動詞をもとに、英文を", 8);
        EXPECT_EQ(l.picture(), "bunkei.bmp");
        l.say("理解できますよ。", 9);

        // Teacher puts the first of four questions and shows all four buttons.
        l.expectInert(true, false, true);
        l.teacher();
        EXPECT_EQ(l.step(), 10);
        EXPECT_EQ(l.choices(), all);
        EXPECT_EQ(l.lines().size(), 4u);
        EXPECT_EQ(l.lines().back(), "Lucy was here yesterday.");
        // Each answer of the chain names the next sentence; the buttons stay throughout.
        for (int at = 10; at <= 12; ++at) {
            SCOPED_TRACE("chain at " + std::to_string(at));
            const Lines fb = reply(l, b, at + 1, all, all);
            EXPECT_NE(fb.back().find(chain[at - 10]), std::string::npos) << fb.back();
        }
        EXPECT_EQ(reply(l, b, 14, all, all).back(), fourth[b - 1]);
        l.expectInert(false, true, true);
        l.talk();
        EXPECT_EQ(l.text(), "先生、説明を続けて下さい。");
        EXPECT_EQ(l.step(), 15);
        EXPECT_TRUE(l.choices().empty());
        EXPECT_EQ(l.picture(), "gal1.bmp");

        l.explain(21, "そうしましょう。さて、実は英文にはもう一つの文型があるの。", 16);
        l.say("はい。とにかく頑張って覚えます。", 17);
        l.explain(3, "うん。頑張ってね。じゃあ、練習問題よ。（　）に適語を選んで", 18);
        EXPECT_EQ(ask(l, 19, {1, 2, 3}),
                  (Lines{"The news ( ) him sad.　その知らせで彼は悲しくなった。",
                         "1 felt  2 became  3 made"}));
        EXPECT_EQ(reply(l, b3, 20, {1, 2, 3}, {1, 2, 3}).back(), "He found the book easy.");
        // No row shows the buttons here: they are still up from the question at 18.
        EXPECT_EQ(ask(l, 21, {1, 2, 3}).front(), "He found the book easy.");
        const Lines found = reply(l, b3, 22, {1, 2, 3}, {1, 2, 3});
        EXPECT_EQ(found.size(), b3 == 1 ? 5u : b3 == 2 ? 2u : 6u);
        EXPECT_EQ(found.back(), "ｱ always ｲ kept ｳ open ｴ Tom ｵ the window");
        EXPECT_EQ(ask(l, 23, {1, 2, 3}),
                  (Lines{"ｱ always ｲ kept ｳ open ｴ Tom ｵ the window",
                         "１　エイアウオ　　２　エアウオイ　　３　エアイオウ"}));
        EXPECT_EQ(reply(l, b3, 24, {1, 2, 3}, {1, 2, 3}), Lines{tom[b3 - 1]});
        l.say("先生、最後の問題の完成された英文の意味を教えて下さい。", 25);
        EXPECT_TRUE(l.choices().empty());
        EXPECT_EQ(l.explain(5, "いいわよ。「トムはいつもその窓を開けたままにしておいた。」ね。", 26)
                      .back(),
                  "この後は、「怒濤の文型当て問題」に挑戦してね！頑張ってね！じゃあね！");
        l.say("森岡先生、ありがとうございました。", 27);
        l.expectInert(true, true, true);
        expectBackAtTitle(l, "では、５文型 Part 5 の授業を始めます。");
    }
}

TEST(ObjectLessons, Form7EndInTheChainHidesAllFourButtons)
{
    Lesson l("C6");
    while (l.step() < 10) {
        if (l.step() % 2 == 0)
            l.talk();
        else
            l.teacher();
    }
    l.answer(4);
    l.answer(1);
    ASSERT_EQ(l.step(), 12);
    ASSERT_EQ(l.choices(), (std::vector<int>{1, 2, 3, 4}));
    ASSERT_EQ(l.picture(), "bunkei.bmp");
    // While the chain waits, Talk and Teacher do nothing.
    l.expectInert(true, true, false);

    expectBackAtTitle(l, "では、５文型 Part 5 の授業を始めます。");
    EXPECT_FALSE(l.screen().visible());
    l.nav().click("C1");
    l.nav().click("C6");
    EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
    EXPECT_TRUE(l.choices().empty());
    l.talk();
    EXPECT_EQ(l.text(), "森岡先生、よろしくお願いします。");
    EXPECT_EQ(l.step(), 1);
}

} // namespace
} // namespace quillory
