// Lessons 9 to 11 (Form11 名詞句, Form12 名詞節, Form13 副詞句) walked through on the
// engine with every answer branch, and their ways back.
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "tests/lesson_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillory {
namespace {

using Lines = std::vector<std::string>;
const std::vector<int> kAll{1, 2, 3};

// A teacher's one-text answer at an odd step.
void tell(Lesson& l, const std::string& text, int to)
{
    l.expectInert(true, false, true);
    l.teacher();
    EXPECT_EQ(l.text(), text);
    EXPECT_EQ(l.step(), to);
}

// Talk puts a question up with the three answer buttons.
Lines ask(Lesson& l, int to)
{
    EXPECT_TRUE(l.choices().empty());
    l.expectInert(false, true, true);
    l.talk();
    EXPECT_EQ(l.step(), to);
    EXPECT_EQ(l.choices(), kAll);
    return l.lines();
}

// An answer click while the question waits: Talk and Teacher do nothing, the click
// hides all three buttons and gives the feedback.
void reply(Lesson& l, int k, int to)
{
    EXPECT_EQ(l.choices(), kAll);
    l.expectInert(true, true, false);
    l.answer(k);
    EXPECT_EQ(l.step(), to);
    EXPECT_TRUE(l.choices().empty());
    l.expectInert(false, true, true);
}

// Feedback that carries the next question as its last line, which the next Talk shows first.
Lines replyAndAsk(Lesson& l, int k, int to, const std::string& feedback)
{
    reply(l, k, to);
    const Lines got = l.lines();
    EXPECT_EQ(got.front(), feedback);
    const Lines question = ask(l, to + 1);
    EXPECT_EQ(question.front(), got.back());
    return question;
}

TEST(NounAndAdverbPhraseLessons, Form11EveryBranchToTheEnd)
{
    const Lines english{"間違い。正解は３で、English is difficult. です。",
                        "間違い。正解は３で、English is difficult. です。", "正解です。"};
    // Practice questions: the first line of each answer's feedback, question by question.
    const std::vector<Lines> practice{
        {"間違い。正解は他動詞 like の目的語でした。では次。", "正解です。では次です。",
         "間違い。正解は、他動詞 like の目的語でした。では次。"},
        {"正解！では次です。", "間違い！正解は主語でした。では次。",
         "間違い！正解は主語でした。では次。"},
        {"正解！では次。", "間違い！正解は主語でした。では次。",
         "間違い！正解は主語でした。では次。"},
        {"間違い！正解は目的語でした。では次で最後です。", "正解！では次で最後です。",
         "間違い！正解は目的語でした。さて、次で最後です。今度は頑張って！"},
    };
    const Lines stamps{"間違い！正解は補語でした。", "間違い！正解は補語でした。",
                       "正解です。自信をもって下さいね。"};
    const std::vector<Lines> finals{
        {"間違い！ read のままでは話になりません。finish の目的語にする",
         "正解です。では第２問。同じく（　）内の適語を選んで下さい。",
         "間違い！ finish は to不定詞を目的語として認めません。従って"},
        {"間違い！see のままでは話になりません。 hope の目的語にする",
         "間違い！hope は動名詞を目的語として認めません。従って正解は",
         "正解です。では第３問。次の文の意味は？"},
        {"正解です。ではいよいよ第４問。次の文は第何文型でしょう？",
         "間違いです。forget to do は「（これから先に）―するのを忘れる」",
         "間違い！forget to do は「（これから先に）―するのを忘れる」です"},
    };
    const Lines stopped{"間違い！正解は第３文型でした。 stop は動名詞のみを目的語と",
                        "間違い！stop は動名詞のみを目的語としてとる動詞ですから、smoking",
                        "正解です。文の意味は「彼はタバコを吸うのをやめた。」ですね。"};
    const Lines roles{"１　主語　２　目的語　３　補語"};

    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k) + " to every question");
        Lesson l("C11");
        EXPECT_EQ(l.screen().name(), "Form11");
        EXPECT_EQ(l.screen().caption(), "名詞句");
        EXPECT_EQ(l.text(), "私は浜田　和代。では名詞句の授業を始めます。");
        EXPECT_EQ(l.picture(), "gal3.bmp");
        EXPECT_TRUE(l.choices().empty());

        l.say("浜田先生、よろしくお願いします。", 1);
        l.expectInert(true, false, true);
        l.teacher();
        EXPECT_EQ(l.text(), "はい。まず「英語は難しいです。」を英語で言うとどうなりますか？");
        EXPECT_EQ(ask(l, 3), (Lines{"「英語は難しいです。」", "1 English difficult.",
                                    "2 Difficult English.", "3 English is difficult."}));
        reply(l, k, 4);
        EXPECT_EQ(l.text(), english[k - 1]);

        l.say("先生、説明を続けて下さい。", 5);
        l.explain(7, "はい。確認しますと「英語は難しいです。」は、つまり「ＳはＣです。」", 6);
        l.say("確かにおっしゃる通りですね。", 7);
        l.explain(14, "でしょ？そこで今回はそういう表現の方法について学習しましょう。", 8);
        l.say("あの～、先生、それで「こと」は英語ではどう言えばいいんですか？", 9);
        l.explain(9, "へ？あ、そうそうその「こと」ですが、英語では to がそれに当たります。", 10);
        l.say("To speak English is difficult. か。なるほど。", 11);
        l.explain(10, "では改めて to speak English について詳しく説明します。これは", 12);
        l.say("先生、to 不定詞は、「形容詞句」を作るんじゃないんですか？", 13);
        l.explain(13, "ふふふ、そうですね。確かに to 不定詞は「形容詞句」を作りますが、", 14);
        // The comic exchange: both sides write two lines at a time.
        for (int step = 14; step < 19; ++step) {
            if (step % 2 == 0) {
                l.expectInert(false, true, true);
                l.talk();
            } else {
                l.expectInert(true, false, true);
                l.teacher();
            }
            EXPECT_EQ(l.lines().size(), 2u) << "step " << step;
        }
        EXPECT_EQ(l.lines().back(), "とてもおいしいよ。");
        tell(l, "ホント？じゃ、私のこと愛してる？", 20);
        l.say("ああ、愛してる・・・え？な、何を言わせるんですか！", 21);
        tell(l, "ちゃめっけ、ちゃめっけ。", 22);
        l.talk();
        EXPECT_EQ(l.lines().size(), 2u);
        tell(l, "「愛してる。」までよ。", 24);
        l.talk();
        EXPECT_EQ(l.lines().back(), "泣きますよ！　泣いてもいいんですか！？");
        l.explain(14, "まあ、そう興奮しないで。ね。では、to不定詞の名詞的用法について", 26);
        l.say("どんな方法なんですか？", 27);
        l.explain(12, "ズバリ、「形式主語」の it を用いるのです。つまり、先ほどの文なら、", 28);
        l.say("先生、ちょっと話が難しいんですけど・・・。", 29);
        l.explain(18, "あら、そうですか？じゃあ、簡単な例をもとに説明しましょう。まず、", 30);
        l.say("わかりました。先生、説明を続けて下さい。", 31);
        const Lines dream = l.explain(8, "では次に「補語」として使われている例です。", 32);
        EXPECT_EQ(dream.back(), "My father likes to play golf very much.");

        // Five practice questions on the role of the infinitive.
        Lines question = ask(l, 33);
        EXPECT_EQ(question, (Lines{"My father likes to play golf very much.", roles[0]}));
        const Lines sentences{"It is not easy to play the guitar.", "To build a house is my dream.",
                              "I make it a rule to go for a walk before breakfast.",
                              "My hobby is to collect stamps."};
        for (int q = 0; q < 4; ++q) {
            question = replyAndAsk(l, k, 34 + 2 * q, practice[q][k - 1]);
            EXPECT_EQ(question, (Lines{sentences[q], roles[0]}));
        }
        reply(l, k, 42);
        EXPECT_EQ(l.text(), stamps[k - 1]);

        l.say("先生、説明を続けて下さい。", 43);
        l.explain(2, "はい。さて、動詞を名詞にしてしまう方法には、実はもう１つあります。", 44);
        // Talk at 44 runs that one row and nothing below it.
        l.say("ということは「現在分詞」と同じ形ですね。", 45);
        l.explain(12, "形は確かに同じです。しかし意味と用法が違います。現在分詞は", 46);
        l.say("to不定詞の名詞的用法との、使用上の違いはあるのですか？", 47);
        l.explain(4, "う～ん、いい質問ですね。使用上の違いはいくつかあります。解説して", 48);
        l.say("原則ということは、場合によっては形式主語を使えるわけですね？", 49);
        l.explain(19, "そうです。原則がはずれる場合というのは、「補語」に no use（無益な）", 50);
        l.talk();
        EXPECT_EQ(l.step(), 51);
        tell(l, "もう１つの違いは、むしろ「他動詞」の側の問題となります。", 52);
        l.say("他動詞の側の問題？　どういうことですか？", 53);
        l.explain(3, "どういうことかと言うと、実は他動詞は目的語のとり方で４つの種類に", 54);
        l.say("う～ん、言葉の意味がよくわかりませ～ん。", 55);
        l.explain(10, "つまり、他動詞というものは目的語をとるものですが、その目的語が", 56);
        l.say("へ～、単純にどちらでもいい、というわけではないんですね。", 57);
        l.explain(38, "そうなのです。では改めてその４種類について説明します。", 58);
        l.say("お願いします。", 59);
        EXPECT_EQ(l.picture(), "gal3.bmp");
        const Lines first =
            l.explain(5, "どうですか？とにかく面倒がらずに、きちんと覚えることが大切です。", 60);
        EXPECT_EQ(l.picture(), "tadou.bmp");
        EXPECT_EQ(first.back(), "I finished (read, reading, to read) the book.");

        // Four final questions with the blackboard up.
        question = ask(l, 61);
        EXPECT_EQ(question.back(), "1 read    2 reading    3 to read");
        question = replyAndAsk(l, k, 62, finals[0][k - 1]);
        EXPECT_EQ(question.back(), "1 see    2 seeing    3 to see");
        question = replyAndAsk(l, k, 64, finals[1][k - 1]);
        EXPECT_EQ(question.back(), "３　私の家には来なかったことにしてね。");
        question = replyAndAsk(l, k, 66, finals[2][k - 1]);
        EXPECT_EQ(question.back(),
                  "１　第１文型 (S V)　２　第２文型 (S V C)　３　第３文型 (S V O)");
        reply(l, k, 68);
        EXPECT_EQ(l.lines().front(), stopped[k - 1]);
        EXPECT_EQ(l.picture(), "tadou.bmp");

        l.say("浜田先生、ありがとうございました。", 69);
        l.expectInert(true, true, true);
        EXPECT_EQ(l.picture(), "tadou.bmp");

        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.picture(), "gal3.bmp");
        EXPECT_EQ(l.text(), "私は浜田　和代。では名詞句の授業を始めます。");
    }
}

TEST(NounAndAdverbPhraseLessons, Form11BackDuringAQuestionHidesTheButtonsAndStartsAfresh)
{
    Lesson l("C11");
    while (l.step() < 33) {
        if (l.step() == 3)
            l.answer(3);
        else if (l.step() % 2 == 0)
            l.talk();
        else
            l.teacher();
    }
    ASSERT_EQ(l.choices(), kAll);
    l.end();
    EXPECT_TRUE(l.choices().empty());
    EXPECT_EQ(l.step(), 0);
    EXPECT_FALSE(l.screen().visible());

    l.nav().click("C11");
    EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
    EXPECT_EQ(l.text(), "私は浜田　和代。では名詞句の授業を始めます。");
    // Answers do nothing below 3, whatever their rows further on.
    l.expectInert(false, true, true);
    l.talk();
    EXPECT_EQ(l.step(), 1);
}

TEST(NounAndAdverbPhraseLessons, Form12EveryBranchToTheEnd)
{
    const Lines news{"正解です。自信をもって下さいね。",
                     "間違い。というよりむちゃくちゃですよ。正解は１ですね。",
                     "間違い。それだと「本当である知らせ」です。正解は１ですね。"};
    const Lines longSubject{"違います。ちゃんと主語として使うことができます。なにしろ名詞",
                            "違います。確かに that she loves you はもともとは文でした。",
                            "そうです。英語は主語の規模、と言うか長さを気にする言語なのですね。"};
    const Lines telephone{"間違いです。I know that someone invented the telephone. だと、",
                          "正解です！では第２問。同じく次の文を英語に直して下さい。",
                          "間違いです。who をそのまま接続詞として使えばいいわけですから、"};
    const Lines japan{"正解です。では第３問。次の３つの文の内で文法上正しいものは",
                      "間違いです。それだと「あなたは彼女が日本にきたかどうか知ってますか？」",
                      "間違いです。when 以下が平叙文の形になっていません。つまり、これ"};
    const Lines howMany{"間違い。正解は２つです。正しくないのは、Do you know where did",
                        "正解です。ではいよいよ第４問です。（　）内に適語を入れて下さい。",
                        "間違いです。正しくないのは Do you know where did he live ?です。"};
    const Lines osaka{"間違い！正解は３の if でした。では今回はここまで。",
                      "間違い！正解は３の if でした。では今回はここまで。",
                      "正解です！自信をもって下さいね！では今回はここまでです。"};

    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k) + " to every question");
        Lesson l("C12");
        EXPECT_EQ(l.screen().name(), "Form12");
        EXPECT_EQ(l.screen().caption(), "名詞節");
        EXPECT_EQ(l.picture(), "gal3.bmp");

        l.say("浜田先生、よろしくお願いします。", 1);
        l.explain(2, "はい。ではさっそくですが、「その知らせは本当です。」を英語で", 2);
        EXPECT_EQ(ask(l, 3), (Lines{"「その知らせは本当です。」", "1  The news is true.",
                                    "2  It is true the news.", "3  The news which is true."}));
        reply(l, k, 4);
        EXPECT_EQ(l.text(), news[k - 1]);

        l.say("先生、説明を続けて下さい。", 5);
        l.explain(5, "はい。では改めて解説しますと、「その知らせは本当です。」は例の、", 6);
        l.talk();
        EXPECT_EQ(l.lines().back(), "先生、教えて下さい。");
        l.explain(7, "基本的な考え方はわかっているようですね。では、解説します。", 8);
        l.say("名詞の意味をもつ「語の集まり」ですか・・・。", 9);
        l.explain(5, "そうです。つまり「彼女が君を愛している。」は「文」ですが、「彼女", 10);
        l.say("あ、そうか、なるほど。", 11);
        l.explain(4, "そこで、日本語の「ということ」に当たる英語を紹介します。それは", 12);
        l.say("先生、その that の用法を説明して下さい。", 13);
        l.explain(6, "わかりました。まず、この that は、日本語の「ということ」と同様に、", 14);
        l.say("なるほど。that は文の最初に置くのですね。", 15);
        l.explain(5, "そうです。そして最初に that が置かれている以上、それはもはや", 16);
        l.talk();
        l.explain(4, "そうです。そしてこれで、もともとは文だったものを、文の一部として", 18);
        l.talk();
        EXPECT_EQ(l.step(), 19);
        EXPECT_EQ(l.explain(3, "その通り！なかなかのみこみが早いですね。従って、", 20).back(),
                  "That she loves you is true. となります。");
        l.say("なるほど。", 21);
        l.explain(2, "ところが、That she loves you is true. は、実は表現上はあまり", 22);

        EXPECT_EQ(ask(l, 23).back(), "３　主語の規模が大きいから。");
        reply(l, k, 24);
        EXPECT_EQ(l.lines().front(), longSubject[k - 1]);

        l.say("ではどうすれば、表現上好ましくなるのですか？", 25);
        tell(l, "簡単です。「形式主語」を使えばいいわけです。", 26);
        l.say("あ、そうか、It is true that she loves you. ですね。", 27);
        tell(l, "そうです。それで OK です。", 28);
        l.talk();
        l.explain(6, "いえいえ、そんなダサイ呼び方はしません。わかりやすいように、", 30);
        l.say("なるほど。", 31);
        l.explain(17, "さて、この that を使えば、かなり表現の幅を広げることができますね。", 32);
        l.talk();
        l.explain(9, "その通りです。なお、この that は文法的には「接続詞」と呼ばれます。", 34);
        l.say("同格か・・・、聞いたことはあります。", 35);
        l.explain(4, "説明しましょう。同格というのは、名詞と名詞を列挙して表現するもの", 36);
        l.say("あ、ごめんなさい。もういいです。わかりましたから。", 37);
        l.explain(19, "いや～、わかっていただけましたか。さて、英語で「同格」を表現するには", 38);
        l.say("なるほど。ところで先生「名詞節」を作る接続詞は that だけですか？", 39);
        tell(l, "いえ、他にもあります。if と whether です。", 40);
        l.say("if っていったら、「もし～なら」という意味でしたね。", 41);
        l.explain(3, "確かに if にはそのような意味もありますが、「名詞節」を作る", 42);
        l.say("if にはそんな意味もあったんですか。", 43);
        l.explain(13, "そうなんですよ。覚えておいて下さいね。では例文を挙げておきます。", 44);
        l.say("「名詞節」を作る接続詞はこれで終わりですか？", 45);
        tell(l, "いや、実はまだあります。それは「疑問詞」です。", 46);
        l.say("「疑問詞」と言えば what とか who とか when などですね。", 47);
        tell(l, "そうです。", 48);
        l.say("一体どのようにして「名詞節」を作るのですか？", 49);
        l.explain(5, "説明しましょう。「疑問詞」を用いた疑問文、例えば、What is this ?", 50);
        l.talk();
        l.explain(6, "いいところに気がつきましたね。そうなんです。疑問詞を接続詞として", 52);
        l.say("なるほど。", 53);
        l.explain(11, "意味の取り方もそれぞれ what（～は何であるか）who（～は誰であるか）", 54);
        l.talk();
        l.explain(3, "簡単ですよ。 I know if she can speak English.（私は　彼女が英語", 56);
        l.say("あれ？これってさっきの if と同じですよね。", 57);
        l.explain(9, "あら、気がつきましたか？実はそうなのです。", 58);
        l.say("そのことが、結局どういう使い分けを生むのですか？", 59);
        l.explain(11, "かなり細かい話になりますが、例えば ask という動詞は、「～を尋ねる」", 60);
        l.say("なるほど。", 61);
        const Lines first =
            l.explain(3, "では最後に問題を４問出します。まず第１問。次の文を英語に直して", 62);

        // Four final questions; each feedback carries the next one.
        Lines question = ask(l, 63);
        EXPECT_EQ(question.front(), first.back());
        question = replyAndAsk(l, k, 64, telephone[k - 1]);
        EXPECT_EQ(question.back(), "3  Do you know when did she come to Japan ?");
        reply(l, k, 66);
        Lines feedback = l.lines();
        EXPECT_EQ(feedback.front(), japan[k - 1]);
        question = ask(l, 67);
        EXPECT_EQ(question.front(), "文法上正しいものはいくつあるか？");
        EXPECT_EQ(Lines(question.begin() + 1, question.end() - 1),
                  Lines(feedback.end() - 4, feedback.end() - 1));
        reply(l, k, 68);
        feedback = l.lines();
        EXPECT_EQ(feedback.front(), howMany[k - 1]);
        question = ask(l, 69);
        EXPECT_EQ(question, (Lines{"She asked ( ) I lived in Osaka.", feedback.back(),
                                   "1  to    2 that    3 if"}));
        reply(l, k, 70);
        EXPECT_EQ(l.text(), osaka[k - 1]);

        l.say("浜田先生、ありがとうございました。", 71);
        l.expectInert(true, true, true);
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_EQ(l.step(), 0);
    }
}

TEST(NounAndAdverbPhraseLessons, Form12GreetsDifferentlyAfterBack)
{
    Lesson l("C12");
    EXPECT_EQ(l.text(), "それでは名詞節の授業をはじめます。");
    l.talk();
    l.teacher();
    l.talk();
    ASSERT_EQ(l.step(), 3);
    l.end();
    EXPECT_TRUE(l.choices().empty());
    EXPECT_EQ(l.text(), "それでは名詞節の授業を始めます。");
    for (int visit = 0; visit < 2; ++visit) {
        l.nav().click("C12");
        EXPECT_EQ(l.nav().visibleScreen(), &l.screen());
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.text(), "それでは名詞節の授業を始めます。");
        l.end();
    }
}

TEST(NounAndAdverbPhraseLessons, Form13EveryBranchToTheEnd)
{
    const Lines warmUp{"惜しいわ。それは「形容詞句」の例ですね。",
                       "え？それってどこにも「前置詞＋名詞」がありませんよ。",
                       "はい、よくわかっているようですね。安心しました。"};
    const Lines notReturn{"間違い！正解は２の not to return でした。今度は間違えないで下さい",
                          "正解です。では第２問。同じく（　）内に適語を入れて下さい。",
                          "間違い！正解は２の not to return でした。では第２問です。同じく"};
    const Lines begin{"間違い！正解は３の begin でした。つまり to begin with で「まず",
                      "間違い！正解は３の begin でした。つまり to begin with で「まず",
                      "正解です！では第３問。次の文は第何文型でしょう？"};
    const Lines stop{"正解です。stop は、自動詞（止まる）の場合と他動詞（～を止める）",
                     "間違い！stop は自動詞（止まる）と他動詞（～を止める）の両方の",
                     "間違い！ stop は自動詞（止まる）と他動詞（～を止める）の両方の"};
    const Lines rain{"間違いです。「雨にもかかわらず　彼は出かけた。」と考えられれば",
                     "正解です！「雨にもかかわらず　彼は出かけた。」と考えればいい",
                     "間違い！because of は「原因・理由」を表して、「～のために」という"};
    const std::vector<std::size_t> stopLines{14, 13, 13};

    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("answer " + std::to_string(k) + " to every question");
        Lesson l("C13");
        EXPECT_EQ(l.screen().name(), "Form13");
        EXPECT_EQ(l.screen().caption(), "副詞句");
        EXPECT_EQ(l.text(), "それでは副詞句の授業を始めます。");
        EXPECT_EQ(l.picture(), "gal2.bmp");

        l.say("辻先生、よろしくお願いします。", 1);
        EXPECT_EQ(
            l.explain(6, "はい。ではまず「副詞句」を作るものにはどういうものがあるかを", 2).back(),
            "ましょう。どんな例がありますか？");
        EXPECT_EQ(ask(l, 3),
                  (Lines{"そうですね～、例えば・・・・", "1  I know a girl with long hair.",
                         "2  Fix that broken window.", "3  Mary lived in Japan."}));
        l.expectInert(true, false, false);
        l.answer(k);
        EXPECT_EQ(l.text(), warmUp[k - 1]);
        EXPECT_EQ(l.step(), 4);
        EXPECT_TRUE(l.choices().empty());

        l.say("先生、説明を続けて下さい。", 5);
        l.explain(7, "はい。では「前置詞＋名詞」を副詞句として用いている例をいくつか", 6);
        l.say("先生、前置詞にもいろんな種類があるのですか？", 7);
        l.explain(16, "そうですね～、形態上は３つに分類されます。つまり「単純前置詞」と", 8);
        l.say("なるほど。", 9);
        l.explain(5, "さて、次に「to不定詞の副詞的用法」ですが、これは主な働きとしては、", 10);
        l.talk();
        EXPECT_EQ(l.lines().size(), 2u);
        l.explain(4, "まあまあ、そう言わないで。落ち着いてゆっくり整理しながら確認して", 12);
        l.say("なるほど。", 13);
        l.explain(4, "なお、「目的」の意味をもっと明確に表すためには、in order to ‐do‐", 14);
        l.say("なるほど。", 15);
        l.explain(6, "なお、「to不定詞」を否定する場合には、前に not を置きますが、", 16);
        l.say("なるほど。", 17);
        l.explain(9, "次に「原因」を表す例です。", 18);
        l.say("なるほど。", 19);
        l.explain(7, "「too ～ to ‐do‐」構文も紹介しておきます。", 20);
        l.talk();
        EXPECT_EQ(l.step(), 21);
        EXPECT_EQ(l.explain(3, "そうです。では次に形容詞を修飾している例を挙げます。", 22),
                  (Lines{"そうです。では次に形容詞を修飾している例を挙げます。",
                         "This book is easy to read.", "（この本は読みやすい。）"}));
        l.say("なるほど。", 23);
        l.explain(17, "では最後に「独立不定詞」について説明しておきます。これは「不定詞」", 24);
        l.say("わかりました。", 25);
        const Lines first =
            l.explain(4, "では最後に確認のために問題を４問出します。頑張って答えて下さいね。", 26);

        // Four quiz questions; each feedback carries the next one.
        Lines question = ask(l, 27);
        EXPECT_EQ(Lines(question.begin(), question.end() - 1), Lines(first.end() - 2, first.end()));
        reply(l, k, 28);
        Lines feedback = l.lines();
        EXPECT_EQ(feedback.front(), notReturn[k - 1]);
        question = ask(l, 29);
        EXPECT_EQ(Lines(question.begin(), question.end() - 1),
                  Lines(feedback.end() - 2, feedback.end()));
        EXPECT_EQ(question.back(), "1 take     2 make     3 begin");
        question = replyAndAsk(l, k, 30, begin[k - 1]);
        EXPECT_EQ(question.front(), "He stopped to smoke.");
        reply(l, k, 32);
        feedback = l.lines();
        EXPECT_EQ(feedback.front(), stop[k - 1]);
        EXPECT_EQ(feedback.size(), stopLines[k - 1]);
        question = ask(l, 33);
        EXPECT_EQ(Lines(question.begin(), question.end() - 1),
                  Lines(feedback.end() - 2, feedback.end()));
        reply(l, k, 34);
        EXPECT_EQ(l.lines().front(), rain[k - 1]);

        l.say("辻先生、ありがとうございました。", 35);
        l.expectInert(true, true, true);
        EXPECT_EQ(l.picture(), "gal2.bmp");
        l.end();
        EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
        EXPECT_EQ(l.step(), 0);
        EXPECT_EQ(l.text(), "それでは副詞句の授業を始めます。");
    }
}

TEST(NounAndAdverbPhraseLessons, Form13TeacherPassesTheWarmUpQuestionWithTheButtonsLeftUp)
{
    Lesson l("C13");
    l.talk();
    l.teacher();
    l.talk();
    ASSERT_EQ(l.step(), 3);
    l.teacher();
    EXPECT_EQ(l.text(), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(l.step(), 4);
    EXPECT_EQ(l.choices(), kAll);

    // The buttons stay through the next steps; a click where no answer row stands only
    // hides all three.
    l.talk();
    EXPECT_EQ(l.text(), "先生、説明を続けて下さい。");
    EXPECT_EQ(l.choices(), kAll);
    l.teacher();
    EXPECT_EQ(l.step(), 6);
    const std::string speech = l.text();
    l.answer(2);
    EXPECT_TRUE(l.choices().empty());
    EXPECT_EQ(l.step(), 6);
    EXPECT_EQ(l.text(), speech);

    // Back from the middle of the quiz puts everything back.
    while (l.step() < 27)
        l.step() % 2 == 0 ? l.talk() : l.teacher();
    ASSERT_EQ(l.choices(), kAll);
    l.end();
    EXPECT_TRUE(l.choices().empty());
    EXPECT_EQ(l.step(), 0);
    EXPECT_EQ(l.text(), "それでは副詞句の授業を始めます。");
    EXPECT_EQ(l.nav().visibleScreen()->name(), "Form20");
}

} // namespace
} // namespace quillory
