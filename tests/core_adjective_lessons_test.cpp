// Lessons 6 to 8 (Form8 to Form10) walked through on the engine, every answer branch,
// with the quiz of Form8 that starts over after any wrong answer.
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "tests/lesson_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace quillory {
namespace {

using Lines = std::vector<std::string>;

const std::vector<int> kFive{1, 2, 3, 4, 5};
const std::vector<int> kThree{1, 2, 3};
const std::vector<int> kFour{1, 2, 3, 4};

// Clicks a person can make on the answer buttons on view; none may change anything.
void expectShownAnswersInert(Lesson& l)
{
    const Snapshot before = l.snapshot();
    for (int k : l.choices()) {
        l.answer(k);
        EXPECT_EQ(l.snapshot(), before) << "Answer " << k << " at " << l.step();
    }
}

// Clicks forward to the target step: Talk or Teacher by parity, and where that does
// nothing a question waits, answered with pick(step).
void walkTo(Lesson& l, int target, const std::function<int(int)>& pick)
{
    for (int guard = 0; l.step() < target && guard < 200; ++guard) {
        const int before = l.step();
        if (before % 2 == 0)
            l.talk();
        else
            l.teacher();
        if (l.step() == before && !l.choices().empty())
            l.answer(pick(before));
    }
    ASSERT_EQ(l.step(), target);
}

// A Teacher row that sets one text.
void teacherSays(Lesson& l, const std::string& expected, int to)
{
    l.expectInert(true, false, true);
    l.teacher();
    EXPECT_EQ(l.text(), expected);
    EXPECT_EQ(l.step(), to);
}

// A Talk row that writes lines; returns them. Form8 tries only the answer buttons on view.
Lines talkLines(Lesson& l, std::size_t count, const std::string& first, int to,
                bool allAnswers = true)
{
    l.expectInert(false, true, allAnswers);
    if (!allAnswers)
        expectShownAnswersInert(l);
    l.talk();
    EXPECT_EQ(l.step(), to);
    Lines got = l.lines();
    EXPECT_EQ(got.size(), count) << "lines of the Talk row leading to " << to;
    if (!got.empty()) {
        EXPECT_EQ(got.front(), first);
    }
    return got;
}

// A question waiting on Form9 or Form10: the answer hides every button first.
void answerHiding(Lesson& l, int k, const std::vector<int>& shown, int to)
{
    EXPECT_EQ(l.choices(), shown);
    l.expectInert(true, true, false);
    l.answer(k);
    EXPECT_EQ(l.step(), to);
    EXPECT_TRUE(l.choices().empty());
}

// ---------------------------------------------------------------- Form8

const Lines kWrong8{
    "あ～あ、間違えましたね。はい、最初からやり直し。頑張って下さい。",
    "あらら、間違えましたね。では、もう一度やり直して下さい。",
    "残念でした。間違いです。では最初からやり直して下さい。",
    "あ～、惜しいですね。間違いです。では最初からやり直して下さい。",
    "どうしてそんな答えを選んだのですか？間違いです。やり直して下さい。",
};

struct QuizQuestion {
    int right;
    std::string first; // the feedback's text or first line
    std::size_t lines; // 0: a plain text
};

const std::vector<QuizQuestion>& quiz8()
{
    static const std::vector<QuizQuestion> q{
        {3, "正解。では The man standing at the door is my father.は第何文型？", 0},
        {2, "正解。では次です。（　）内の正しいものを選んで下さい。", 4},
        {3, "正解です。では次です。次も（　）内の正しいものを選んで下さい。", 3},
        {3, "正解です。では次です。次の文は第何文型でしょう？", 2},
        {1, "正解です。では、次です。以下の５つの文のうち、文法上あるいは語法上", 7},
        {4, "正解です。では次で最後だから頑張って下さい！以下の文は第何文型？", 3},
        {5, "正解です！では、今回はここまでです。", 0},
    };
    return q;
}

int pick8(int step)
{
    return step == 5 ? 3 : quiz8()[static_cast<std::size_t>(step - 47)].right;
}

// The first quiz question, as the Teacher asks it again after a wrong answer.
const Lines kQuizAgain{
    "はい、いきますよ。正しく並べてあるのはどれでしょう？",
    "「私は丘の上の教会で彼に会った。」",
    "ｱ on  ｲ met  ｳ I  ｴ at  ｵ the hill  ｶ him  ｷ the church",
    "１　ウイカエオアキ　２　ウイオエキアカ",
    "３　ウイカエキアオ　４　ウイキエオアカ　５　ウイキエアオカ",
};

// Form8's answer buttons have rows nearly everywhere, so only the buttons on view are
// clicked around its dialogue turns.
void say8(Lesson& l, const std::string& expected, int to)
{
    l.expectInert(false, true, false);
    expectShownAnswersInert(l);
    l.talk();
    EXPECT_EQ(l.text(), expected);
    EXPECT_EQ(l.step(), to);
}

Lines explain8(Lesson& l, std::size_t count, const std::string& first, int to)
{
    l.expectInert(true, false, false);
    expectShownAnswersInert(l);
    l.teacher();
    EXPECT_EQ(l.step(), to);
    Lines got = l.lines();
    EXPECT_EQ(got.size(), count) << "lines of the speech leading to " << to;
    if (!got.empty()) {
        EXPECT_EQ(got.front(), first);
    }
    EXPECT_TRUE(l.choices().empty());
    return got;
}

// Answers quiz question i (StepNo 47 + i) right.
void answerQuizRight(Lesson& l, std::size_t i)
{
    const QuizQuestion& q = quiz8()[i];
    ASSERT_EQ(l.step(), 47 + static_cast<int>(i));
    EXPECT_EQ(l.choices(), kFive);
    l.expectInert(true, true, false);
    l.answer(q.right);
    EXPECT_EQ(l.step(), 48 + static_cast<int>(i));
    if (q.lines == 0) {
        EXPECT_EQ(l.text(), q.first);
    } else {
        const Lines got = l.lines();
        EXPECT_EQ(got.size(), q.lines);
        EXPECT_EQ(got.front(), q.first);
    }
}

TEST(AdjectiveLessons, Form8EveryWarmUpAnswerToTheEnd)
{
    const Lines warmUp{
        "間違い！正解は３で a book on the desk です。",
        "間違い！正解は３で a book on the desk です。",
        "正解です。",
    };
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("warm-up answer " + std::to_string(k));
        Lesson l("C8");
        EXPECT_EQ(l.screen().name(), "Form8");
        EXPECT_EQ(l.screen().caption(), "形容詞句");
        EXPECT_EQ(l.text(), "私は　辻　真弓です。では形容詞句の授業を始めましょう。");
        EXPECT_EQ(l.picture(), "gal2.bmp");
        EXPECT_TRUE(l.choices().empty());

        say8(l, "辻先生、よろしくお願いします。", 1);
        explain8(l, 6, "はい。さて、「本」を英語で言うと a book ですね。では、「面白い本」", 2);
        say8(l, "なるほど。", 3);
        l.expectInert(true, false, false);
        l.teacher();
        EXPECT_EQ(l.text(), "じゃあ、突然ですが、「机の上の本」は英語でどう言うでしょう？");
        EXPECT_EQ(talkLines(l, 2, "「机の上の本」", 5, false).back(),
                  "1  the desk on a book  2 on the desk book  3 a book on the desk");

        // The warm-up: buttons 1 to 3 only; Talk and Teacher wait for an answer.
        EXPECT_EQ(l.choices(), kThree);
        l.expectInert(true, true, false);
        l.answer(k);
        EXPECT_EQ(l.text(), warmUp[static_cast<std::size_t>(k - 1)]);
        EXPECT_EQ(l.step(), 6);
        // The buttons stay until Talk hides them, and do nothing at 6.
        EXPECT_EQ(l.choices(), kThree);
        say8(l, "先生、説明を続けて下さい。", 7);
        EXPECT_TRUE(l.choices().empty());

        explain8(l, 17, "はい。では解説します。「机の上の本」を英語で表現する場合、仮に", 8);
        say8(l, "先生、 on the desk は文法的に何と呼べばいいのですか？", 9);
        explain8(l, 3, "名詞を修飾しているわけですから、形容詞の働きはしているわけです。", 10);
        say8(l, "「句」って何ですか？", 11);
        explain8(l, 5, "「句」とは、「２語以上の語の集まりで、まとまった意味を持ち、１つの", 12);
        say8(l, "なるほど。", 13);
        explain8(l, 3, "「前置詞＋名詞」は、従って必ず「句」になるわけですが、「副詞句」", 14);
        say8(l, "あ、そうか。「大阪に」という意味で副詞句ですよね。", 15);
        explain8(l, 12, "そうです。要するに「前置詞＋名詞」を副詞句にするか、形容詞句に", 16);
        say8(l, "はい、わかりました。", 17);
        explain8(l, 8, "では、説明を続けます。「眠っている赤ちゃん」を英語で表現するには", 18);
        say8(l, "どれどれ・・・あ、ホントだ！　クサ～い！", 19);
        explain8(l, 8, "あら、クサイですか？でも慣れてくればけっこうクセになる香りですよ。", 20);
        say8(l, "なるほど、「眠っている赤ちゃん」は a sleeping baby か。", 21);
        explain8(l, 2, "そして、この sleeping を「現在分詞」と呼びます。つまり、動詞の", 22);
        EXPECT_EQ(talkLines(l, 2, "現在分詞の ～ing形っていったら「進行形」を表すんじゃなかった",
                            23, false)
                      .back(),
                  "ですか？");
        explain8(l, 9, "もちろん、そうです。ただし、「進行形」は 「be動詞＋～ing」で", 24);
        talkLines(l, 3, "a baby sleeping on the sofa", 25, false);
        explain8(l, 8, "いいところに気がつきましたね。そうなのです。現在分詞はこのように", 26);
        talkLines(l, 3, "あ、そうか。sleeping on the sofa は「形容詞句」か。でも、先生、", 27,
                  false);
        explain8(l, 18, "なるほど。a sleeping baby on the sofa は文法的に決して間違って", 28);
        say8(l, "だから、a breaking window でいいんじゃないんですか？", 29);
        explain8(l, 14, "残念でした。それはちょっと苦しいですね。break は「～を割る」という", 30);
        say8(l, "日本語は「割れている」なのに過去分詞形にするんですか？", 31);
        const Lines notes =
            explain8(l, 14, "あまり日本語にはつられないようにした方がいいですよ。日本語は", 32);
        EXPECT_EQ(std::count_if(notes.begin(), notes.end(),
                                [](const std::string& s) { return s.rfind("＊", 0) == 0; }),
                  2);
        say8(l, "なるほど。修飾される名詞の立場で考えるべきか。", 33);
        explain8(l, 7, "では「トムが割った窓」は、英語でどう言えばいいでしょう。", 34);
        say8(l, "a window ではなくて the window にしたのには何か理由があるのですか？", 35);
        l.expectInert(true, false, false);
        l.teacher();
        EXPECT_EQ(l.text(), "ああ、それはトムをあまり悪者にしたくなかったんです。");
        say8(l, "え？　a window だとトムは悪者になるんですか？", 37);
        explain8(l, 13, "まあ、文脈にもよりますが、一応そう言えますね。どういうことかと", 38);

        // The learner's one-line remark on articles.
        l.expectInert(false, true, false);
        l.talk();
        EXPECT_EQ(l.step(), 39);
        EXPECT_EQ(l.text().rfind("冠詞って", 0), 0u) << l.text();
        EXPECT_TRUE(l.text().ends_with("けっこう難しいな。")) << l.text();
        EXPECT_EQ(l.text().find_first_of("\r\n"), std::string::npos);

        explain8(l, 3, "そうですね。冠詞をきちんと理解するのは本当に難しいです。どれくらい", 40);
        say8(l, "何と！　そんなに難しいんですか！　まいったな、こりゃ。", 41);
        explain8(l, 22, "でも、頑張りましょうね。やっているうちに、それなりにわかってくる", 42);
        say8(l, "難しいですが、何とか頑張ります。", 43);
        explain8(l, 38, "頑張って下さい。でも、形容詞句を作るのは以上の３つだけです。", 44);
        say8(l, "慣れるのに時間はかかりそうですが、やっていることはわかります。", 45);
        explain8(l, 4, "では、最後に確認のための問題をいくつか出しますね。", 46);

        // The quiz, answered right from its first question to its last.
        EXPECT_EQ(talkLines(l, 4, "「私は丘の上の教会で彼に会った。」", 47, false).back(),
                  "３　ウイカエキアオ　４　ウイキエオアカ　５　ウイキエアオカ");
        EXPECT_EQ(l.choices(), kFive);
        for (std::size_t i = 0; i < quiz8().size(); ++i)
            answerQuizRight(l, i);
        EXPECT_TRUE(l.choices().empty());
        say8(l, "辻先生、ありがとうございました。", 55);

        // The end: nothing but Back does anything; the picture never changed.
        l.expectInert(true, true, false);
        expectShownAnswersInert(l);
        for (int b = 1; b <= 5; ++b) {
            l.answer(b); // hidden: a person cannot click it
            EXPECT_EQ(l.step(), 55);
        }
        EXPECT_EQ(l.picture(), "gal2.bmp");
        EXPECT_EQ(l.screen().control("Picture1").pictureLoads, 1u);
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.text(), "私は　辻　真弓です。では形容詞句の授業を始めましょう。");
    }
}

TEST(AdjectiveLessons, Form8AnyWrongQuizAnswerRestartsFromTheFirstQuestion)
{
    Lesson l("C8");
    walkTo(l, 47, pick8);
    for (std::size_t q = 0; q < quiz8().size(); ++q) {
        for (int wrong = 1; wrong <= 5; ++wrong) {
            if (wrong == quiz8()[q].right)
                continue;
            SCOPED_TRACE("question " + std::to_string(q + 1) + ", answer " + std::to_string(wrong));
            for (std::size_t i = 0; i < q; ++i)
                answerQuizRight(l, i);
            ASSERT_EQ(l.step(), 47 + static_cast<int>(q));
            l.answer(wrong);
            EXPECT_EQ(l.text(), kWrong8[static_cast<std::size_t>(wrong - 1)]);
            EXPECT_EQ(l.step(), 56);
            EXPECT_EQ(l.choices(), kFive);

            // At 56 the five buttons and Teacher do nothing; Talk asks again.
            l.expectInert(false, true, true);
            say8(l, "くそ！今度は間違えないぞ！　先生、問題を出して下さい。", 57);
            EXPECT_EQ(l.choices(), kFive);
            l.expectInert(true, false, false);
            l.teacher();
            EXPECT_EQ(l.lines(), kQuizAgain);
            EXPECT_EQ(l.step(), 47);
            EXPECT_EQ(l.choices(), kFive);
        }
    }
    // After all the restarts the chain still runs to its end.
    for (std::size_t i = 0; i < quiz8().size(); ++i)
        answerQuizRight(l, i);
    say8(l, "辻先生、ありがとうございました。", 55);
}

TEST(AdjectiveLessons, Form8AnswerAtTheRetryQuestionCountsAsWrong)
{
    // At 57 the buttons are still on view: even the first question's right answer is
    // a wrong answer there, with that button's line.
    Lesson l("C8");
    walkTo(l, 47, pick8);
    l.answer(1);
    l.talk();
    ASSERT_EQ(l.step(), 57);
    l.answer(3);
    EXPECT_EQ(l.text(), kWrong8[2]);
    EXPECT_EQ(l.step(), 56);
    l.talk();
    l.answer(5);
    EXPECT_EQ(l.text(), kWrong8[4]);
    EXPECT_EQ(l.step(), 56);
}

TEST(AdjectiveLessons, Form8IgnoredStepsAndWrongAnswersFarFromTheQuiz)
{
    // Buttons 1 to 3 do nothing at 6, 54 and 56; 4 and 5 at 54 and 56. These are the
    // only steps besides the quiz where they are on view.
    {
        Lesson l("C8");
        walkTo(l, 6, pick8);
        EXPECT_EQ(l.choices(), kThree);
        const Snapshot at6 = l.snapshot();
        for (int k = 1; k <= 3; ++k)
            l.screen().answer(k);
        EXPECT_EQ(l.snapshot(), at6);
        walkTo(l, 54, pick8);
        l.expectInert(false, true, true);
    }
    // Everywhere else an answer is the button's wrong answer, far from the quiz too.
    // The engine is driven directly: there the buttons are hidden from the learner.
    struct Case {
        int step;
        int answer;
    };
    for (const Case c : {Case{0, 1}, Case{1, 2}, Case{6, 4}, Case{6, 5}, Case{20, 3}, Case{45, 5},
                         Case{46, 4}, Case{55, 2}}) {
        SCOPED_TRACE("answer " + std::to_string(c.answer) + " at " + std::to_string(c.step));
        Lesson l("C8");
        walkTo(l, c.step, pick8);
        const Snapshot before = l.snapshot();
        if (l.choices().empty()) {
            l.answer(c.answer); // hidden: a person cannot click it
            EXPECT_EQ(l.snapshot(), before);
        }
        l.screen().answer(c.answer);
        EXPECT_EQ(l.text(), kWrong8[static_cast<std::size_t>(c.answer - 1)]);
        EXPECT_EQ(l.step(), 56);
    }
}

TEST(AdjectiveLessons, Form8BackDuringTheQuizHidesTheButtonsUntilTheQuizComesAgain)
{
    Lesson l("C8");
    walkTo(l, 50, pick8);
    ASSERT_EQ(l.choices(), kFive);
    l.end();
    EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
    EXPECT_FALSE(l.screen().visible());
    EXPECT_TRUE(l.choices().empty());
    EXPECT_EQ(l.step(), 0);

    l.nav().click("C8");
    EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
    EXPECT_EQ(l.text(), "私は　辻　真弓です。では形容詞句の授業を始めましょう。");
    walkTo(l, 46, pick8);
    EXPECT_TRUE(l.choices().empty());
    l.talk();
    EXPECT_EQ(l.choices(), kFive);
    EXPECT_EQ(l.step(), 47);
}

// ---------------------------------------------------------------- Form9

TEST(AdjectiveLessons, Form9EveryAnswerToTheEnd)
{
    const Lines boy{
        "正解です。では「彼らがその店で見た子供」は？",
        "間違いです。正解は１でした。では「彼らがその店で見た子供」は？",
        "間違いです。正解は１でした。では「彼らがその店で見た子供」は？",
    };
    const Lines child{
        "間違い！正解は３でした。では「母が英語の先生である少女」は？",
        "間違い！正解は３でした。では「母が英語の先生である少女」は？",
        "正解です。では「母が英語の先生である少女」は？",
    };
    const Lines girl{"間違い！正解は２でした。", "正解です。自信をもって下さいね。",
                     "間違い！正解は２でした。"};
    // Quiz feedback: its line count and first line per answer; every answer asks the next.
    const std::vector<std::size_t> q1Count{4, 3, 4};
    const Lines q1First{"間違いです。もし who ならば、そのうしろには動詞がくるはずですね。",
                        "正解です。意味は「私には大原健二という名の友達がいる。」ですね。",
                        "間違いです。もし whom なら、後ろには S + V が続くはずですね。"};
    const std::vector<std::size_t> q2Count{5, 7, 6};
    const Lines q2First{"正解です。ただしこの which は目的格ですから、本当は省略可能ですね。",
                        "間違いです。もし whose なら、後ろには冠詞のついていない主語か、",
                        "出たあ！！恐怖の本男！ book に対して whom はないでしょう？正解は"};
    const Lines q3First{"正解です。よくわかりましたね。一応解説しておきましょう。",
                        "間違いです。正解は第１文型です。解説しましょう。",
                        "間違いです。正解は第１文型です。解説しましょう。"};
    const std::vector<std::size_t> q4Count{15, 15, 6};
    const Lines q5First{"間違い。じつは全部正しいのです。それぞれの意味は、",
                        "間違い。実は全部正しいのです。それぞれの意味は、",
                        "正解です。ではそれぞれの意味を確認しておきましょう。"};

    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k) + " to every question");
        const auto i = static_cast<std::size_t>(k - 1);
        Lesson l("C9");
        EXPECT_EQ(l.screen().name(), "Form9");
        EXPECT_EQ(l.screen().caption(), "形容詞節 Part 1");
        EXPECT_EQ(l.text(), "では形容詞節 Part 1 の授業を始めましょう。");
        EXPECT_EQ(l.picture(), "gal2.bmp");

        l.say("辻先生、よろしくお願いします。", 1);
        l.explain(18, "はい。では、まず名詞に色々な意味を加えていく方法の確認をしておき", 2);
        l.say("なるほど。その通りですね。", 3);
        l.explain(2, "では、次の日本語を英語で表現するにはどうしたらいいでしょう？", 4);
        EXPECT_EQ(talkLines(l, 3, "「私が昨日その公園で見た少年」", 5).back(),
                  "I yesterday the park in saw a boy  かな？");
        teacherSays(l, "英語をなめとんかいっ！", 6);
        l.say("ひえ～っ！", 7);
        l.explain(3, "あ、いや、その、英語をなめないで下さいね。いくらわからないからと", 8);
        l.say("い、以後気をつけます。", 9);
        l.explain(9, "わかればいいのです。さて、名詞を修飾するのに、表現によっては、", 10);
        l.say("修飾する部分に主語と動詞が含まれていると、句では苦しいのですか？", 11);
        teacherSays(l, "基本的にはそう言えますね。", 12);
        l.say("なぜですか？", 13);
        l.explain(2, "「句」というものは、２つ以上の語の集まりですが、その部分の中に、", 14);
        talkLines(l, 3, "そう言えば、「前置詞＋名詞」にしろ、「（他の語句を伴った）分詞」", 15);
        l.explain(3, "そうですね。ですから「私が昨日その公園で見た」というのを英語で", 16);
        l.say("じゃあ、どうすればいいんですか？", 17);
        teacherSays(l, "形容詞句でも追いつかないのなら、「形容詞節」を使うしかないですね。", 18);
        l.say("「形容詞節」ですか・・・・。それってどういうものですか？", 19);
        l.explain(5, "「節」というのは、２つ以上の語の集まりで、まとまった意味を持ち、", 20);
        l.say("「形容詞節」はどのように作られるのですか？", 21);
        l.explain(8, "形容詞節は「関係代名詞」によって作られます。つまり、「関係代名詞」", 22);
        talkLines(l, 4, "そうですよね。例えば、「木」を修飾するのに、単に「大きな」でも、", 23);
        l.explain(2, "そういうことです。しかし英語では、今の例で言えば、「大きな」以外", 24);
        l.say("なるほど。先生、説明を続けて下さい。", 25);
        l.explain(3, "はい。そこで今回は、「関係代名詞」の使い方を学習するわけですが、", 26);
        l.say("わかりました。", 27);

        // The recipe on the blackboard, then the teacher again for her nap.
        l.explain(9, "では例として「この絵を描いた少女」を英語に直す手順を説明します。", 28);
        EXPECT_EQ(l.picture(), "who.bmp");
        talkLines(l, 3, "「この絵を描いた少女」は the girl who painted this picture ", 29);
        l.explain(14, "はい。さて、今の例では＜は＞を採用しましたので関係代名詞の who", 30);
        EXPECT_EQ(l.picture(), "who.bmp");
        talkLines(l, 3, "先生、whom についてなんですが、「～を」の意味は他動詞、つまり", 31);
        teacherSays(l, "ゲッ！い、いや、それは、その、つまり、グ～グ～・・・。", 32);
        EXPECT_EQ(l.picture(), "gal2.bmp");
        l.say("先生、目をあけて微笑んだまま寝ないで下さい！！", 33);
        l.explain(5, "わお！わ、わかりましたよ。それにしてもスルドイ質問をしますね～。", 34);
        l.say("一応、納得しておきます。", 35);
        l.explain(4, "そうです。英語の学習にはそのようなおおらかさが必要です。", 36);
        l.say("はい。", 37);
        l.explain(16, "どうですか？関係代名詞によって修飾している部分の中には、どれも", 38);
        EXPECT_EQ(l.picture(), "kandai.bmp");
        l.say("なるほど。", 39);
        EXPECT_EQ(
            l.explain(4, "なお、目的格の whom は省略可能です。つまり、the girl whom I love", 40)
                .back(),
            "「英語を上手に話すことができる少年」");

        // Three practice questions: Talk shows the buttons, an answer hides them.
        talkLines(l, 4, "「英語を上手に話すことができる少年」", 41);
        answerHiding(l, k, kThree, 42);
        EXPECT_EQ(l.text(), boy[i]);
        talkLines(l, 4, "「彼らがその店で見た子供」", 43);
        answerHiding(l, k, kThree, 44);
        EXPECT_EQ(l.text(), child[i]);
        talkLines(l, 4, "「母が英語の先生である少女」", 45);
        answerHiding(l, k, kThree, 46);
        EXPECT_EQ(l.text(), girl[i]);
        EXPECT_EQ(l.picture(), "kandai.bmp");

        l.say("先生、説明を続けて下さい。", 47);
        l.explain(20, "そうしましょう。さて、ここまでは who, whose, whom の使い方を説明", 48);
        EXPECT_EQ(l.picture(), "gal2.bmp");
        l.say("先生、説明を続けて下さい。", 49);
        l.explain(15, "では、最後に別な意味での関係代名詞の使い方について、ふれておき", 50);
        l.say("なるほど。覚えておきます。", 51);
        l.explain(3, "では確認問題を５問出します。まず第１問。（　）に適当な関係代名詞", 52);

        // The quiz: every answer explains and asks the next question.
        talkLines(l, 2, "I have a friend ( ) name is Kenji Ohara.", 53);
        answerHiding(l, k, kThree, 54);
        Lines got = l.lines();
        EXPECT_EQ(got.size(), q1Count[i]);
        EXPECT_EQ(got.front(), q1First[i]);
        EXPECT_EQ(got.back(), "The book ( ) he bought yesterday is still on his desk.");

        talkLines(l, 2, "The book ( ) he bought yesterday is still on his desk.", 55);
        answerHiding(l, k, kThree, 56);
        got = l.lines();
        EXPECT_EQ(got.size(), q2Count[i]);
        EXPECT_EQ(got.front(), q2First[i]);
        EXPECT_EQ(got.back(), "which stands on the hill near my house.");

        talkLines(l, 3, "The boy who can speak French very well lived in the apartment house", 57);
        answerHiding(l, k, kThree, 58);
        got = l.lines();
        EXPECT_EQ(got.size(), 12u);
        EXPECT_EQ(got.front(), q3First[i]);
        EXPECT_EQ(got[9].rfind("では第４問", 0), 0u) << got[9];

        EXPECT_EQ(
            talkLines(l, 3, "The boy playing the guitar under that tree knows the girl I saw", 59)
                .back(),
            "１　第１文型　　２　第２文型　　３　第３文型");
        answerHiding(l, k, kThree, 60);
        got = l.lines();
        EXPECT_EQ(got.size(), q4Count[i]);
        EXPECT_EQ(got.back().rfind("（＜話す / 質問する＞をクリックしてから答えて下さい。", 0), 0u);

        EXPECT_EQ(talkLines(l, 4, "* The girl I love loves the boy my sister loves.", 61).back(),
                  "正しいものはいくつあるか？　1　１　　2　２　　3　３");
        answerHiding(l, k, kThree, 62);
        got = l.lines();
        EXPECT_EQ(got.size(), 6u);
        EXPECT_EQ(got.front(), q5First[i]);

        l.say("辻先生、ありがとうございました。", 63);
        l.expectInert(true, true, true);
        EXPECT_TRUE(l.choices().empty());
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.text(), "では形容詞節 Part 1 の授業を始めましょう。");
        EXPECT_EQ(l.picture(), "gal2.bmp");
    }
}

// ---------------------------------------------------------------- Form10

TEST(AdjectiveLessons, Form10EveryAnswerToTheEnd)
{
    const Lines board{
        "間違いです。visit は他動詞ですから。正解は２です。",
        "正解です。talk は自動詞ですからね。",
        "間違い。use は他動詞ですから。正解は２です。",
        "間違い。like は他動詞ですから。正解は２です。",
    };
    const Lines adverbs{"違います。答えは３です。", "違います。答えは３です。", "正解です。"};
    // The chain: each feedback names the next question, which Talk then shows.
    const std::vector<Lines> chain{
        {"間違い！ Tell me ( ) you didn't come.  は？",
         "間違い！　Tell me ( ) you didn't come.  は？",
         "間違い！　Tell me ( ) you didn't come.  は？",
         "正解！では　Tell me ( ) you didn't come.  は？"},
        {"間違い！　I know the place ( ) they are having the party. は？",
         "正解！　I know the place ( ) they are having the party. は？",
         "間違い！ I know the place ( ) they are having the party. は？",
         "間違い！ I know the place ( ) they are having the party. は？"},
        {"間違い！ This is ( ) it happened. は？", "正解！ This is ( ) it happened. は？",
         "間違い！ This is ( ) it happened. は？", "間違い！  This is ( ) it happened.  は？"},
        {"間違い！  This is the house ( ) I lived in those days. は？",
         "間違い！ This is the house ( ) I lived in those days. は？",
         "正解！　This is the house ( ) I lived in those days. は？",
         "間違い！　This is the house ( ) I lived in those days. は？"},
    };
    const Lines chainQuestions{
        "Do you know the day ( ) I met her for the first time ?", "Tell me ( ) you didn't come.",
        "I know the place ( ) they are having the party.",        "This is ( ) it happened.",
        "This is the house ( ) I lived in those days.",
    };
    const std::vector<std::size_t> lastCount{3, 2, 0, 3};

    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k) + " to every question");
        const auto i = static_cast<std::size_t>(k - 1);
        const int k3 = k == 4 ? 3 : k; // the questions with three buttons
        Lesson l("C10");
        EXPECT_EQ(l.screen().name(), "Form10");
        EXPECT_EQ(l.screen().caption(), "形容詞節 Part 2");
        EXPECT_EQ(l.text(), "それでは形容詞節 Part 2 の授業を始めます。");
        EXPECT_EQ(l.picture(), "gal2.bmp");

        l.say("辻先生、よろしくお願いします。", 1);
        l.explain(4, "はい。ではさっそくですが、次の文を見て下さい。", 2);
        talkLines(l, 3, "Nara is the city which I live.", 3);
        l.explain(3, "初めからいきなり難しすぎたかも知れませんね。関係代名詞は、その", 4);
        talkLines(l, 3, "はい。つまり、(1)主語になっているか、(2)所有格として、節の中の", 5);
        l.explain(2, "では改めて、さきほどの文を見て下さい。", 6);
        EXPECT_EQ(l.picture(), "Nara.bmp");
        talkLines(l, 2, "「私が住んでいる街」ということは、「街＜に＞私が住んでいる」だから", 7);
        teacherSays(l, "ちょっと待って下さい。目的語ですか？でも live は自動詞ですよ。", 8);
        l.say("あ、そうか・・・。じゃあ、どうなるんだ？", 9);
        l.explain(9, "でしょ？ですから、この文は文法的におかしいわけです。", 10);
        l.say("すると、どうすればこの文は正しくなるのですか？", 11);
        teacherSays(l, "黒板を見て下さい。", 12);
        EXPECT_EQ(l.picture(), "Nara.bmp");
        l.say("はい。", 13);
        teacherSays(l, "このように live の後に in を加えてやればいいわけです。", 14);
        EXPECT_EQ(l.picture(), "Nara2.bmp");
        l.say("あ、そうか、which を前置詞の目的語にしてしまえばいいんですね。", 15);
        l.explain(8, "そういうことです。前にあなたは目的格の whom に＜を＞や＜に＞の", 16);
        talkLines(l, 4, "なるほど。結局 whom や which には＜を＞や＜に＞の意味は無いの", 17);
        l.explain(5, "「目的語の必要性」だなんて、なかなかいいことを言ってくれますね。", 18);
        l.say("なるほど。", 19);
        l.explain(2, "では確認のために、黒板にいくつか英文を書きます。ただし１つだけ、", 20);
        l.say("わかりました。", 21);

        // The question read from the blackboard: four buttons, no sentences in the text.
        teacherSays(l, "さて、どれが正しくないでしょう？", 22);
        EXPECT_EQ(l.picture(), "Nara3.bmp");
        l.say("さ～て、どれかな・・・・。", 23);
        answerHiding(l, k, kFour, 24);
        EXPECT_EQ(l.text(), board[i]);
        l.say("ではどうすれば、２の文は正しくなるのですか？", 25);
        EXPECT_EQ(l.explain(3, "簡単ですよ。talked の後ろに with または to を置いて、", 26)[1],
                  "Lucy is the girl whom I talked with.");
        talkLines(l, 5, "なるほど、Lucy is the girl whom I talked with. か。でも、何だか", 27);
        l.explain(5, "おっしゃることはわかります。そうですよね。そこで前置詞を、", 28);
        l.say("そうですね。そんな気もしますね。", 29);
        l.explain(10, "従って、Lucy is the girl with whom I talked. のような、「前置詞＋", 30);
        l.say("関係代名詞の that って何ですか？", 31);
        l.explain(3, "that は意味をつけたい名詞が「人」でも「物」でも、どちらにでも", 32);
        EXPECT_EQ(l.picture(), "Nara3.bmp");
        l.say("へえ、便利なんですね～。", 33);
        l.explain(6, "確かに。ただし、関係代名詞の that には所有格はありませんので、", 34);
        EXPECT_EQ(l.picture(), "gal2.bmp");
        l.say("まあ、なんとか。", 35);
        EXPECT_EQ(l.explain(5, "では話を続けます。英語には実は関係代名詞の他に、「関係副詞」と", 36)
                      .back(),
                  "「大阪は　私が生まれた街です。」");

        // Three buttons only; the answer hides all four.
        talkLines(l, 4, "「大阪は　私が生まれた街です。」", 37);
        if (k == 4) {
            const Snapshot before = l.snapshot();
            l.answer(4); // hidden: a person cannot click it
            EXPECT_EQ(l.snapshot(), before);
        }
        answerHiding(l, k3, kThree, 38);
        if (k3 == 3) {
            EXPECT_EQ(l.text(), "正解です。自信を持って下さいね。");
        } else {
            const Lines got = l.lines();
            EXPECT_EQ(got.size(), k3 == 1 ? 5u : 2u);
            EXPECT_EQ(got.back(), k3 == 1 ? "３ということになります。" : "正解は３ですね。");
        }
        l.say("先生、説明を続けて下さい。", 39);
        teacherSays(l, "はい。では今の文を黒板に書いてみます。見て下さい。", 40);
        l.say("はい。", 41);
        l.explain(3, "「前置詞＋関係代名詞」のパターンです。もちろん、文法的にはこれで", 42);
        EXPECT_EQ(l.picture(), "inwh.bmp");
        l.say("「関係副詞」か。先生、お願いします。", 43);
        teacherSays(l, "どうですか？似ていますが、少し違いますね。", 44);
        EXPECT_EQ(l.picture(), "where.bmp");
        talkLines(l, 2, "というか、ほとんど同じですね。ただ、in which の代わりに where", 45);
        l.explain(7, "そうですね。従ってここでは in which = where と考えてよいのです。", 46);
        l.say("なるほど、だから関係「副詞」か。", 47);
        l.explain(3, "そういうことです。では、次の文を見て下さい。", 48);
        talkLines(l, 4, "Osaka is the city where I visited.", 49);
        answerHiding(l, k3, kThree, 50);
        EXPECT_EQ(l.text(), adverbs[static_cast<std::size_t>(k3 - 1)]);
        l.say("先生、説明を続けて下さい。", 51);
        l.explain(9, "はい。念のため、今の文を解説しますと、visited は「～に行った」と", 52);
        EXPECT_EQ(l.picture(), "gal2.bmp");
        talkLines(l, 2, "なるほど。in which であったり、to which であったり、場合に", 53);
        l.explain(31, "そういうことです。さて、関係副詞は、実は全部で４つあります。", 54);
        EXPECT_EQ(l.picture(), "kanfu.bmp");
        talkLines(l, 2, "先生、それぞれの関係副詞を「前置詞＋関係代名詞」にする場合、", 55);
        l.explain(15, "では説明していきましょう。まず、基本的な考え方は、Osaka is ", 56);
        l.say("なるほど。", 57);
        EXPECT_EQ(l.explain(3, "では最後に問題を出します。", 58).back(), chainQuestions[0]);

        // The chain of five: a wrong answer goes on to the next question as well.
        for (std::size_t q = 0; q < chainQuestions.size(); ++q) {
            const int from = 59 + 2 * static_cast<int>(q);
            talkLines(l, 2, chainQuestions[q], from);
            answerHiding(l, k, kFour, from + 1);
            if (q < chain.size()) {
                EXPECT_EQ(l.text(), chain[q][i]);
            } else if (lastCount[i] == 0) {
                EXPECT_EQ(l.text(), "正解。では、今回はここまでです。");
            } else {
                EXPECT_EQ(l.lines().size(), lastCount[i]);
            }
        }
        EXPECT_EQ(l.picture(), "kanfu.bmp");
        l.say("辻先生、ありがとうございました。", 69);
        l.expectInert(true, true, true);
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.text(), "それでは形容詞節 Part 2 の授業を始めます。");
        EXPECT_EQ(l.picture(), "gal2.bmp");
    }
}

// The question at step 23 exists only on the blackboard: four numbered sentences
// whose verbs follow the feedback rows, the second the one that needs a preposition.
TEST(AdjectiveLessons, Form10BoardCarriesTheFourSentencesInAnswerOrder)
{
    std::ifstream in(std::string(QUILLORY_SOURCE_DIR) + "/assets/pictures/Nara3.svg");
    ASSERT_TRUE(in);
    std::stringstream svg;
    svg << in.rdbuf();
    const std::string text = svg.str();
    const Lines sentences{
        "Nara is the city which I visited.",
        "Lucy is the girl whom I talked.",
        "This is the pen which I use.",
        "Tom is the boy whom I like.",
    };
    std::size_t at = 0;
    for (std::size_t n = 0; n < sentences.size(); ++n) {
        const std::string number = ">" + std::to_string(n + 1) + "<";
        const std::size_t numberAt = text.find(number, at);
        ASSERT_NE(numberAt, std::string::npos) << number;
        const std::size_t sentenceAt = text.find(">" + sentences[n] + "<", numberAt);
        ASSERT_NE(sentenceAt, std::string::npos) << sentences[n];
        at = sentenceAt;
    }
}

TEST(AdjectiveLessons, BackInTheMiddleOfAQuestionStartsAfresh)
{
    struct Case {
        const char* menuButton;
        int questionStep;
        std::string greeting;
    };
    for (const Case& c : {Case{"C8", 5, "私は　辻　真弓です。では形容詞句の授業を始めましょう。"},
                          Case{"C9", 43, "では形容詞節 Part 1 の授業を始めましょう。"},
                          Case{"C10", 23, "それでは形容詞節 Part 2 の授業を始めます。"}}) {
        SCOPED_TRACE(c.menuButton);
        Lesson l(c.menuButton);
        walkTo(l, c.questionStep, [](int) { return 1; });
        ASSERT_FALSE(l.choices().empty());
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_TRUE(l.choices().empty());
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.picture(), "gal2.bmp");
        l.nav().click(c.menuButton);
        EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
        EXPECT_EQ(l.text(), c.greeting);
        EXPECT_TRUE(l.choices().empty());
        // Form8's hidden buttons have rows at 0; only Teacher is tried there.
        l.expectInert(false, true, c.questionStep != 5);
        l.talk();
        EXPECT_EQ(l.text(), "辻先生、よろしくお願いします。");
    }
}

} // namespace
} // namespace quillory
