// The boy's request, the bridge and the imagination world, and the monster's
// servant, played through: the right run with its three moves, every wrong
// answer, each game over's retry, and the check of a click that strands the run.
#include "app/picture_assets.h"
#include "game/game_screen.h"
#include "tests/game_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <tuple>

namespace quillory {
namespace {

using enum GameTrigger;

// The right answer button at each question step from the start to step 128.
const std::map<int, const char*>& rightAnswers()
{
    static const std::map<int, const char*> kRight{
        {13, "Command4"},  {15, "Command5"},  {17, "Command4"},  {19, "Command6"},
        {21, "Command7"},  {39, "Command6"},  {41, "Command5"},  {43, "Command6"},
        {45, "Command7"},  {47, "Command4"},  {77, "Command7"},  {79, "Command5"},
        {81, "Command4"},  {83, "Command6"},  {85, "Command5"},  {97, "Command5"},
        {99, "Command6"},  {101, "Command7"}, {103, "Command5"}, {105, "Command5"},
        {117, "Command7"}, {119, "Command6"}, {121, "Command7"}, {123, "Command7"},
        {125, "Command6"},
    };
    return kRight;
}

// Plays right until StepNo reaches `target`: Talk on even steps, and on odd ones
// the right answer, Move where it is shown, or else Partner.
void rightTo(Game& g, int target)
{
    for (int clicks = 0; g.step() != target && clicks < 400; ++clicks) {
        const int at = g.step();
        if (at % 2 == 0)
            g.play({"Command1"});
        else if (rightAnswers().contains(at))
            g.play({rightAnswers().at(at)});
        else
            g.play({g.shown("Command9") ? "Command9" : "Command2"});
        ASSERT_NE(g.step(), at) << "stuck at " << at;
    }
    ASSERT_EQ(g.step(), target);
}

// Each series' cry of dismay by answer button, and its game over.
struct Series {
    int first;
    int last;
    const char* place;
    int over;
    std::array<const char*, 4> cries;
};

const Series kSeries[] = {
    {39,
     47,
     "help.bmp",
     280,
     {"あれ？間違えた・・・。", "しまった！", "あれ？間違えたのか・・・。", "あ、しまった！"}},
    {77,
     85,
     "hashi.bmp",
     290,
     {"しまった～っ！", "ああ・・・・。", "ありゃりゃりゃ・・・。", "あらら・・・。"}},
    {97,
     105,
     "chika.bmp",
     290,
     {"しまった～っ！", "ああ・・・・。", "ありゃりゃりゃ・・・。", "あらら・・・。"}},
    {117,
     125,
     "ane5.bmp",
     300,
     {"あらららら！しまった！", "え？間違えたのか・・・。", "しまったあ！", "しまったあ！"}},
};

TEST(BoyBridgeServant, RightRunThroughEveryMoveToStep128)
{
    Game g;
    rightTo(g, 49);
    EXPECT_EQ(g.text(), "じゃあ、おまえの姉ちゃんの写真を見せろ。");
    EXPECT_EQ(g.picture(), "help.bmp");
    g.play({"Command2"});
    EXPECT_EQ(g.picture(), "ane.bmp");
    EXPECT_EQ(g.text(), "これだよう。どうだい、美人だろう？");

    // Each move: Talk shows "移動", only it acts at the odd step, and it hides again.
    const std::tuple<int, const char*, const char*, const char*> moves[] = {
        {64, "よし、わかった！では行くとするか。", "hashi.bmp", "この川の向こうか・・・・。"},
        {86, "よし、渡ってやる！", "chika.bmp", "え？ここはどこだ！一体どうなってしまったんだ？"},
        {106, "なんだか罠のような気もするが、とにかく入るしかないな。", "ane5.bmp",
         "あら、あなた誰？"},
    };
    for (const auto& [at, said, place, heard] : moves) {
        SCOPED_TRACE(at);
        rightTo(g, at);
        EXPECT_FALSE(g.shown("Command9"));
        g.play({"Command1"});
        EXPECT_EQ(g.text(), said);
        EXPECT_TRUE(g.shown("Command9"));
        g.play({"Command2", "Command1"});
        g.screen->press(Answer1);
        EXPECT_EQ(g.step(), at + 1);
        g.play({"Command9"});
        EXPECT_FALSE(g.shown("Command9"));
        EXPECT_EQ(g.picture(), place);
        EXPECT_EQ(g.text(), heard);
        EXPECT_EQ(g.step(), at + 2);
    }

    // The imagination world's voice: three lines, the last one given.
    Game v;
    rightTo(v, 91);
    v.play({"Command2"});
    EXPECT_EQ(v.text().substr(v.text().size() - std::string("しれないぞ。ふふふ。").size()),
              "しれないぞ。ふふふ。");
    EXPECT_EQ(std::count(v.text().begin(), v.text().end(), '\n'), 5);

    rightTo(g, 128);
    EXPECT_EQ(g.text(), "うぴゃうぴゃ！ぱふ！ほげっ！けぽけぽ！ぱお～ん！");
    EXPECT_EQ(g.picture(), "ane5.bmp");
}

TEST(BoyBridgeServant, RightAnswersAtEveryQuestionOfSeriesTwoToFive)
{
    // Talk shows the four buttons and the sentence with its choices; the right
    // answer hides them and leads on by two, the last one with a closing line.
    const char* const kClosing[] = {
        "正解だあ！あんたすごいねえ。", "正解だ。よかろう。渡るがいい。",
        "正解だ。では入るがいい。ふふふ。", "正解だ・・・く、苦しい～っ！ああっ！"};
    Game g;
    for (std::size_t i = 0; i < std::size(kSeries); ++i) {
        const Series& s = kSeries[i];
        for (int at = s.first; at <= s.last; at += 2) {
            SCOPED_TRACE(at);
            rightTo(g, at - 1);
            g.play({"Command1"});
            EXPECT_TRUE(g.choices(true));
            EXPECT_EQ(g.step(), at);
            EXPECT_NE(g.text().find("\r\n\r\n1 "), std::string::npos);
            g.play({rightAnswers().at(at)});
            EXPECT_TRUE(g.choices(false));
            EXPECT_EQ(g.step(), at + 1);
            EXPECT_EQ(g.picture(), s.place);
        }
        EXPECT_EQ(g.text(), kClosing[i]);
    }
    rightTo(g, 128);
}

TEST(BoyBridgeServant, EveryWrongAnswerEndsAtItsGameOverInOneClick)
{
    for (const Series& s : kSeries) {
        for (int at = s.first; at <= s.last; at += 2) {
            for (int k = 1; k <= 4; ++k) {
                const char* answer = Game::kAnswers[static_cast<std::size_t>(k - 1)];
                if (rightAnswers().at(at) == std::string(answer))
                    continue;
                SCOPED_TRACE(std::string(answer) + " at " + std::to_string(at));
                Game g;
                rightTo(g, at);
                g.play({answer});
                g.expectGameOver(s.over, s.cries[static_cast<std::size_t>(k - 1)]);
                g.play({"Command2", "Command9"});
                EXPECT_EQ(g.step(), s.over);
            }
        }
    }
}

TEST(BoyBridgeServant, SeriesTwoFailsToTheOldWomanAndTheBoySpeaksAgain)
{
    Game g;
    rightTo(g, 45);
    g.play({"Command5", "Command8"});
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.step(), 282);
    g.play({"Command1", "Command7"});
    EXPECT_EQ(g.step(), 14);
    rightTo(g, 26);
    EXPECT_EQ(g.picture(), "help.bmp");
    g.play({"Command1"});
    EXPECT_EQ(g.text(), "な、なんだ？");
    rightTo(g, 48);
}

TEST(BoyBridgeServant, TheBridgesRetryResumesAtItsSecondQuestion)
{
    const char* const kRetry[] = {
        "ふふふ、面白い。もう一度挑戦するというのだな。よかろう。",
        "以下の２つの文の意味が同じになるように、（　）内に適語を入れよ。",
        "I couldn't go on a picnic because I had a cold.",
        "= If I had not had a cold, I could ( ) on a picnic."};
    // A failure in the imagination world sends the hero back over the bridge.
    for (int failAt : {77, 103}) {
        SCOPED_TRACE(failAt);
        Game g;
        rightTo(g, failAt);
        g.play({"Command4"});
        g.expectGameOver(290, "しまった～っ！");
        g.play({"Command1"}); // Talk at 290 shows the buttons and nothing more
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.text(), "しまった～っ！");
        g.play({"Command5"});
        EXPECT_TRUE(g.choices(false));
        EXPECT_EQ(g.step(), 290);
        g.play({"Command8"});
        EXPECT_FALSE(g.shown("Command8"));
        EXPECT_EQ(g.picture(), "hashi.bmp");
        EXPECT_EQ(g.text(), writeLinesText({kRetry[0], kRetry[1], kRetry[2], kRetry[3]}));
        EXPECT_EQ(g.step(), 292);
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.text(), writeLinesText({kRetry[2], kRetry[3],
                                            "1 go   2 be going   3 have gone   4 have to go"}));
        g.play({"Command6"});
        EXPECT_EQ(g.step(), 78);
        EXPECT_EQ(g.text(),
                  writeLinesText({"正解だ。では次だ。",
                                  "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                                  "John will call you back as soon as he ( ) his work.",
                                  "語群： finish,  finishes,  will finish,  will have finished"}));
        g.play({"Command1"});
        EXPECT_EQ(g.text(), writeLinesText(
                                {"John will call you back as soon as he ( ) his work.",
                                 "1 finish   2 finishes   3 will finish   4 will have finished "}));
        rightTo(g, 87);
        g.play({"Command9"});
        EXPECT_EQ(g.picture(), "chika.bmp");
    }

    // A wrong retry answer goes back to 290 with its button's cry, as often as it is given.
    const std::pair<const char*, const char*> wrongs[] = {{"Command4", "しまった～っ！"},
                                                          {"Command5", "ああ・・・・。"},
                                                          {"Command7", "あらら・・・。"}};
    Game g;
    rightTo(g, 99);
    g.play({"Command4"});
    for (const auto& [answer, cry] : wrongs) {
        SCOPED_TRACE(answer);
        g.play({"Command8", "Command1", answer});
        g.expectGameOver(290, cry);
    }
}

TEST(BoyBridgeServant, TheServantsRetryResumesAtHerSecondQuestion)
{
    Game g;
    rightTo(g, 123);
    g.play({"Command5"});
    g.expectGameOver(300, "え？間違えたのか・・・。");
    const std::pair<const char*, const char*> wrongs[] = {{"Command4", "あらららら！しまった！"},
                                                          {"Command5", "え？間違えたのか・・・。"},
                                                          {"Command7", "しまったあ！"}};
    for (const auto& [answer, cry] : wrongs) {
        SCOPED_TRACE(answer);
        g.play({"Command8"});
        EXPECT_EQ(g.picture(), "ane5.bmp");
        EXPECT_EQ(g.text(),
                  writeLinesText({"もう一度挑戦しようってわけかい？いい度胸だ。いくよ！",
                                  "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                                  "I remember ( ) her somewhere before.",
                                  "語群：　see,  to see,  seeing,  to seeing"}));
        g.play({"Command1"});
        EXPECT_EQ(g.text(), writeLinesText({"I remember ( ) her somewhere before.",
                                            "1 see   2 to see   3 seeing   4 to seeing"}));
        g.play({answer});
        g.expectGameOver(300, cry);
    }
    g.play({"Command8", "Command1", "Command6"});
    EXPECT_EQ(g.step(), 118);
    EXPECT_EQ(g.picture(), "ane5.bmp");
    EXPECT_EQ(g.text(), writeLinesText({"正解だ。だが次はそうはいかないよ！",
                                        "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                                        "Tom can't swim ( ) his brother is a good swimmer.",
                                        "語群：　after,  because,  though,  before"}));
    rightTo(g, 128);
}

TEST(BoyBridgeServant, CheckFindsAClickThatLeavesOnlyHiddenButtons)
{
    EXPECT_EQ(checkGameScript(pictureAssets()), std::vector<std::string>{});

    // The move without its button, a series without its choice range, and a
    // fail rule that does not bring back "もう一度".
    GameScript s = gameScript();
    for (GameRule& r : s.rules) {
        if (r.from == At(86) && r.trigger == Talk)
            std::erase_if(r.effects,
                          [](const Effect& e) { return e.kind == EffectKind::ShowMove; });
        if (r.from == At(77) && r.trigger == Answer2)
            std::erase_if(r.effects,
                          [](const Effect& e) { return e.kind == EffectKind::ShowAgain; });
    }
    std::erase_if(s.rules, [](const GameRule& r) { return r.from == Steps(116, 124); });
    const std::vector<std::string> p = checkGameRules(s, pictureAssets());
    EXPECT_TRUE(mentions(p, "game step 87: reached by Talk at 86, but only buttons hidden"));
    EXPECT_TRUE(mentions(p, "game step 290: reached by Answer 2 at 77,"));
    for (int at : {81, 83, 99, 101, 293}) // by their remaps
        EXPECT_TRUE(
            mentions(p, "game step 290: reached by Answer 2 at " + std::to_string(at) + ","));
    EXPECT_FALSE(mentions(p, "reached by Answer 1"));
    for (int at : {116, 118, 120, 122, 124})
        EXPECT_TRUE(mentions(p, "game step " + std::to_string(at + 1) + ": reached by Talk at " +
                                    std::to_string(at) + ","));
    EXPECT_EQ(std::count_if(p.begin(), p.end(),
                            [](const std::string& m) { return m.find("reached by") != m.npos; }),
              12);
}

} // namespace
} // namespace quillory
