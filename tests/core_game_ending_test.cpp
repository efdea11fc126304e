// The gatekeeper, the final battle and the ending played through on the game
// screen; the check of a script's flow from step to step on hand-made faults;
// and the whole game, once every episode is told.
#include "app/picture_assets.h"
#include "game/game_screen.h"
#include "game/scenario/episodes.h"
#include "tests/game_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quillory {
namespace {

using enum GameTrigger;

// The shared rules and the last two episodes; Talk at 0 leads straight to the gate.
GameScript endgame()
{
    GameScript s;
    s.story = gameScript().story;
    s.rules = scenario::sharedRules();
    s.spans = {At(0)};
    s.rules.push_back({At(0), Talk, {ShowPicture("ane4.bmp"), SetText("何者だ！？")}, 204});
    for (const scenario::Episode* e : {&scenario::episode7(), &scenario::episode8()}) {
        s.rules.insert(s.rules.end(), e->rules.begin(), e->rules.end());
        s.spans.insert(s.spans.end(), e->spans.begin(), e->spans.end());
        s.rightAnswers.insert(s.rightAnswers.end(), e->rightAnswers.begin(), e->rightAnswers.end());
    }
    return s;
}

// The right answer at each question of the story.
const std::map<int, const char*> kRight{
    {13, "Command4"},  {15, "Command5"},  {17, "Command4"},  {19, "Command6"},  {21, "Command7"},
    {39, "Command6"},  {41, "Command5"},  {43, "Command6"},  {45, "Command7"},  {47, "Command4"},
    {77, "Command7"},  {79, "Command5"},  {81, "Command4"},  {83, "Command6"},  {85, "Command5"},
    {97, "Command5"},  {99, "Command6"},  {101, "Command7"}, {103, "Command5"}, {105, "Command5"},
    {117, "Command7"}, {119, "Command6"}, {121, "Command7"}, {123, "Command7"}, {125, "Command6"},
    {147, "Command5"}, {149, "Command6"}, {151, "Command4"}, {191, "Command6"}, {193, "Command5"},
    {195, "Command6"}, {197, "Command4"}, {199, "Command5"}, {219, "Command4"}, {221, "Command7"},
    {223, "Command4"}, {225, "Command5"}, {227, "Command6"}, {241, "Command6"}, {243, "Command4"},
    {245, "Command7"}, {247, "Command5"}, {249, "Command4"},
};

// Plays on as the learner would, every answer right, until `until`.
void playOn(Game& g, int until)
{
    while (g.step() != until) {
        const int before = g.step();
        const auto right = kRight.find(before);
        if (before % 2 == 0)
            g.play({"Command1"});
        else if (right != kRight.end())
            g.play({right->second});
        else
            g.play({g.shown("Command9") ? "Command9" : "Command2"});
        ASSERT_NE(g.step(), before) << "stuck";
        ASSERT_FALSE(gameScript().story.isGameOver(g.step())) << "from " << before;
    }
}

// Whether the registered episodes tell the whole story, from 0 to the end.
bool wholeStoryTold()
{
    const auto& spans = gameScript().spans;
    for (int step = 0; step <= gameScript().story.endStep; ++step) {
        if (std::none_of(spans.begin(), spans.end(),
                         [step](StepFrom s) { return s.contains(step); }))
            return false;
    }
    return true;
}

struct Snapshot {
    int step;
    std::string text;
    std::string picture;
    std::vector<bool> shown;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(const Game& g)
{
    Snapshot s{g.step(), g.text(), g.picture(), {}};
    for (const char* c : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6",
                          "Command7", "Command8", "Command9"})
        s.shown.push_back(g.shown(c));
    return s;
}

TEST(Episode7, GatekeeperRightRunToTheMoveIntoTheBuilding)
{
    Game g(endgame());
    EXPECT_EQ(checkGameRules(g.screen->script(), pictureAssets()), std::vector<std::string>{});
    g.play({"Command1"});
    EXPECT_EQ(g.picture(), "ane4.bmp");
    playOn(g, 214);
    EXPECT_EQ(g.text(), "どうしても通りたいなら、私を倒してからにしろ！");
    playOn(g, 216);
    EXPECT_EQ(g.text(), "仕方がないだろう！英語学習ゲームなんだから！文句を言うな！");
    playOn(g, 218);
    EXPECT_EQ(g.text(), writeLinesText({"ではいくぞ！",
                                        "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                                        "We should avoid ( ) late for school.",
                                        "語群：　being,  to be,  be,  to being"}));
    // Talk shows the choices; each right answer hides them and writes the praise
    // and the next lead-in.
    const std::pair<const char*, const char*> praises[] = {
        {"1 being   2 to be   3 be   4 to being", "正解だ！だが、次はそうはいかないぞ！"},
        {"3 whom I spoke     4 I spoke to", "正解だ。では次だ！次の文中の（　）内に入る語句を、"},
        {"3 Had not been for  4 Had it not been for", "正解だ。だが次はどうかな？"},
        {"1 which   2 that   3 whom   4 while", "正解だ！次が最後だ！覚悟しろ！"},
    };
    for (const auto& [choices, praise] : praises) {
        SCOPED_TRACE(praise);
        const int at = g.step();
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.step(), at + 1);
        EXPECT_TRUE(g.text().ends_with(std::string("\r\n\r\n") + choices));
        g.play({kRight.at(at + 1)});
        EXPECT_TRUE(g.choices(false));
        EXPECT_EQ(g.step(), at + 2);
        EXPECT_EQ(g.text().rfind(std::string("\r\n") + praise, 0), 0u);
    }
    EXPECT_EQ(g.text(),
              writeLinesText({"正解だ！次が最後だ！覚悟しろ！",
                              "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                              "All things ( ), he is a nice man.",
                              "語群：　considering,  consider,  considered,  to consider"}));
    g.play({"Command1", "Command6"});
    EXPECT_EQ(g.text(), "正解だ。仕方がない。約束通り、入ってもいいぞ。");
    g.play({"Command1"});
    EXPECT_EQ(g.text(), "もちろん、入るさ。さあ、いくぞ！いよいよ決闘だ！");
    EXPECT_TRUE(g.shown("Command9"));
    g.screen->press(Partner); // at 229 only Move acts
    EXPECT_EQ(g.step(), 229);
    g.play({"Command9"});
    EXPECT_FALSE(g.shown("Command9"));
    EXPECT_EQ(g.picture(), "ane32.bmp");
    EXPECT_EQ(g.text(), "あら？");
    EXPECT_EQ(g.step(), 230);
}

// The cries of series 8's fail rules, by the rule that acts.
constexpr const char* kOops = "しまった！";             // Answer 1 at 221, Answer 2 at 219-223
constexpr const char* kOopsA3 = "あらら、しまった！";   // Answer 3 at 219
constexpr const char* kOopsA4 = "うわっ！しまったあ！"; // Answer 4 at 219

TEST(Episode7, EveryWrongAnswerEndsAt340AndTheRetryResumesAt220)
{
    const std::tuple<int, const char*, const char*> wrongs[] = {
        {219, "Command5", kOops}, {219, "Command6", kOopsA3}, {219, "Command7", kOopsA4},
        {221, "Command4", kOops}, {221, "Command5", kOops},   {221, "Command6", kOopsA3},
        {223, "Command5", kOops}, {223, "Command6", kOopsA3}, {223, "Command7", kOopsA4},
        {225, "Command4", kOops}, {225, "Command6", kOopsA3}, {225, "Command7", kOopsA4},
        {227, "Command4", kOops}, {227, "Command5", kOops},   {227, "Command7", kOopsA4},
    };
    for (const auto& [at, answer, cry] : wrongs) {
        SCOPED_TRACE(std::string(answer) + " at " + std::to_string(at));
        Game g(endgame());
        g.play({"Command1"});
        playOn(g, at);
        g.play({answer});
        g.expectGameOver(340, cry);
        g.play({"Command1"}); // Talk at 340 shows the answer buttons, nothing more
        EXPECT_TRUE(g.choices(true));
        g.play({"Command2", "Command4"});
        g.expectGameOver(340, cry);
    }

    // The retry: wrong answers lead back to 340 as often as they are given.
    Game g(endgame());
    g.play({"Command1"});
    playOn(g, 225);
    g.play({"Command7"});
    const std::pair<const char*, const char*> retries[] = {
        {"Command4", kOops}, {"Command5", kOops}, {"Command7", kOopsA4}};
    for (const auto& [answer, cry] : retries) {
        SCOPED_TRACE(answer);
        g.play({"Command8"});
        EXPECT_FALSE(g.shown("Command8"));
        EXPECT_EQ(g.picture(), "ane4.bmp");
        EXPECT_EQ(g.text(),
                  writeLinesText({"ふん、再挑戦する気か！いいだろう。いくぞ！",
                                  "以下の２つの文の意味が同じになるように、（　）内を埋めよ。",
                                  "Because I don't know the rule, I can't play baseball.",
                                  "= ( ) the rule, I can't play baseball."}));
        EXPECT_EQ(g.step(), 342);
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.step(), 343);
        EXPECT_TRUE(
            g.text().ends_with("\r\n\r\n1 Don't knowing 2 If knowing 3 Not knowing 4 Knowing not"));
        g.play({answer});
        g.expectGameOver(340, cry);
    }
    g.play({"Command8", "Command1", "Command6"});
    EXPECT_TRUE(g.choices(false));
    EXPECT_EQ(g.step(), 220);
    EXPECT_EQ(g.picture(), "ane4.bmp");
    EXPECT_EQ(g.text(),
              writeLinesText({"正解だ！だが、次はそうはいかないよ！",
                              "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                              "The lady ( ) was very beautiful.     語群：  I spoke to her",
                              "whom I spoke to her,   whom I spoke,   I spoke to"}));
    playOn(g, 230);
    EXPECT_EQ(g.picture(), "ane32.bmp");
}

TEST(Episode8, FinalBattleAndTheEndingWhereOnlyTheWayBackActs)
{
    Game g(endgame());
    g.play({"Command1"});
    playOn(g, 235);
    EXPECT_EQ(g.picture(), "ane32.bmp");
    g.play({"Command2"});
    EXPECT_EQ(g.picture(), "mon.bmp");
    EXPECT_EQ(g.text(), "このリッシュイング様ともあろうものがな！");
    playOn(g, 249);
    EXPECT_TRUE(g.choices(true));
    EXPECT_EQ(g.text(), writeLinesText({"She was named Elizabeth ( ) her grandmother.",
                                        "1 after   2 from   3 to   4 at"}));
    g.play({"Command4"});
    EXPECT_EQ(g.text(), "く、くそ！正解だ・・・ぐあ～っ！");
    playOn(g, 253);
    g.play({"Command2"}); // the monster beaten: the picture alone, with an empty text
    EXPECT_EQ(g.picture(), "mon0.bmp");
    EXPECT_EQ(g.text(), "");
    g.play({"Command1"});
    EXPECT_EQ(g.text(), writeLinesText({"やった！とうとうやっつけたぞ！", "",
                                        "＜するとその瞬間、大きな地震が起こった！！＞"}));
    g.play({"Command2"});
    EXPECT_EQ(g.picture(), "aaa.bmp");
    EXPECT_EQ(g.text(), "これ、起きなされ。");
    playOn(g, 258);
    EXPECT_EQ(g.picture(), "aaa.bmp");
    g.play({"Command1"});
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.text(), "う～ん・・・あれ？ここは？");
    playOn(g, 278);
    g.play({"Command1"});
    EXPECT_EQ(g.step(), gameScript().story.endStep);
    EXPECT_EQ(g.text(), writeLinesText({"どっちゃがじゃ～っ！！", "", "　　　＜　完　＞"}));

    // The end: no button but "終　　了" does anything, visible or not.
    const Snapshot end = snapshot(g);
    for (GameTrigger t : kGameTriggers)
        g.screen->press(t);
    g.play({"Command1", "Command2"});
    EXPECT_EQ(snapshot(g), end);

    g.play({"Command3"});
    EXPECT_EQ(g.step(), 0);
    EXPECT_FALSE(g.screen->visible());
    ASSERT_NE(g.nav.visibleScreen(), nullptr);
    EXPECT_EQ(g.nav.visibleScreen()->name(), "Form20");
    g.play({"C17"});
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.text(), "ふふふ、これからどこへ行きなさるのじゃ？");
    EXPECT_TRUE(g.choices(false));
    EXPECT_FALSE(g.shown("Command8"));
    EXPECT_FALSE(g.shown("Command9"));
}

// The cries of series 9's fail rules, by the rule that acts.
constexpr const char* kCryA1 = "しまったあ！！";                 // Answer 1 at 241
constexpr const char* kCryA2 = "あらら、しまったあ！";           // Answer 2 at 241
constexpr const char* kCryA3 = "うわっ！しまった！";             // Answer 3 at 243-249
constexpr const char* kCryA4 = "ありゃりゃ、間違えてしまった！"; // Answer 4 at 241-243

TEST(Episode8, EveryWrongAnswerEndsAt350AndTheRetryResumesAt242)
{
    const std::tuple<int, const char*, const char*> wrongs[] = {
        {241, "Command4", kCryA1}, {241, "Command5", kCryA2}, {241, "Command7", kCryA4},
        {243, "Command5", kCryA2}, {243, "Command6", kCryA3}, {243, "Command7", kCryA4},
        {245, "Command4", kCryA1}, {245, "Command5", kCryA2}, {245, "Command6", kCryA3},
        {247, "Command4", kCryA1}, {247, "Command6", kCryA3}, {247, "Command7", kCryA4},
        {249, "Command5", kCryA2}, {249, "Command6", kCryA3}, {249, "Command7", kCryA4},
    };
    for (const auto& [at, answer, cry] : wrongs) {
        SCOPED_TRACE(std::string(answer) + " at " + std::to_string(at));
        Game g(endgame());
        g.play({"Command1"});
        playOn(g, at);
        g.play({answer});
        g.expectGameOver(350, cry);
        g.screen->press(Move);
        g.screen->press(Partner);
        g.expectGameOver(350, cry);
    }

    Game g(endgame());
    g.play({"Command1"});
    playOn(g, 247);
    g.play({"Command6"});
    const std::pair<const char*, const char*> retries[] = {
        {"Command4", kCryA1}, {"Command6", kCryA3}, {"Command7", kCryA4}};
    for (const auto& [answer, cry] : retries) {
        SCOPED_TRACE(answer);
        g.play({"Command8"});
        EXPECT_FALSE(g.shown("Command8"));
        EXPECT_EQ(g.picture(), "mon.bmp");
        EXPECT_EQ(g.text(),
                  writeLinesText({"ふふふ、まだやる気か？いいだろう。いくぞ！",
                                  "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                                  "I wish I ( ) to her birthday party yesterday.",
                                  "語群：can have gone,  could have gone,  went,  could go"}));
        EXPECT_EQ(g.step(), 352);
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.text(),
                  writeLinesText({"I wish I ( ) to her birthday party yesterday.",
                                  "1 can have gone   2 could have gone   3 went   4 could go"}));
        g.play({answer});
        g.expectGameOver(350, cry);
    }
    g.play({"Command8", "Command1", "Command5"});
    EXPECT_EQ(g.step(), 242);
    EXPECT_EQ(g.picture(), "mon.bmp");
    EXPECT_EQ(g.text(), writeLinesText({"ふん、正解だ。では次だ。", "次の文は第何文型か？",
                                        "Cats can see in the dark."}));
    playOn(g, 250);
    EXPECT_EQ(g.text(), "く、くそ！正解だ・・・ぐあ～っ！");
}

// Two questions at 3 and 5 (right: 1, then 2) failing to 280, whose retry at
// 283 (right: 4) resumes at 4; the end at 279.
GameScript flowScript()
{
    GameScript s;
    s.story = gameScript().story;
    s.spans = {Steps(0, 7), Steps(280, 283)};
    s.rules = {
        {At(0), Talk, {SetText("t0")}, 1},
        {At(1), Partner, {SetText("lead-in")}, 2},
        {Steps(2, 4), Talk, {ShowChoices(kAllChoices)}, Stay},
        {At(2), Talk, {SetText("q3")}, 3},
        {At(4), Talk, {SetText("q5")}, 5},
        {At(6), Talk, {SetText("t6")}, 7},
        {At(7), Partner, {SetText("the end")}, 279},
        {Steps(280, 32767), Again, {HideAgain()}, Stay},
        {At(280), Again, {SetText("again?")}, 282},
        {Steps(282, 352), Talk, {ShowChoices(kAllChoices)}, Stay},
        {At(282), Talk, {SetText("q283")}, 283},
    };
    const std::vector<Effect> fail{ShowPicture("over.bmp"), SetText("oops"), ShowAgain()};
    for (int k = 1; k <= 4; ++k) {
        for (int q : {3, 5}) {
            if ((q == 3 && k == 1) || (q == 5 && k == 2))
                s.rules.push_back({At(q), GameAnswer(k), {SetText("right")}, q + 1});
            else
                s.rules.push_back({At(q), GameAnswer(k), fail, 280});
        }
        if (k == 4)
            s.rules.push_back({At(283), GameAnswer(k), {SetText("right again")}, 4});
        else
            s.rules.push_back({At(283), GameAnswer(k), fail, 280});
    }
    return s;
}

GameRule& ruleOf(GameScript& s, StepFrom from, GameTrigger trigger)
{
    const auto r = std::find_if(s.rules.begin(), s.rules.end(), [&](const GameRule& r) {
        return r.from == from && r.trigger == trigger;
    });
    EXPECT_NE(r, s.rules.end());
    return *r;
}

// Return alone plays the story between the questions: Move where the way on is a
// move, Again at a game over, else Partner or Talk; at the end, nothing.
TEST(GameKeys, ReturnPressesTheFirstLiveOfAgainMovePartnerAndTalk)
{
    Game g;
    g.play({"Command1", "Command2"});
    while (g.step() != gameScript().story.endStep) {
        const int before = g.step();
        const auto right = kRight.find(before);
        const std::string target = g.screen->keyTarget(Key::Return);
        if (right != kRight.end() && g.choices(true)) {
            EXPECT_EQ(target, "") << "at " << before; // only the answers act
            g.play({right->second});
        } else {
            ASSERT_FALSE(target.empty()) << "nothing to press at " << before;
            EXPECT_EQ(target == "Command9", g.shown("Command9")) << "at " << before;
            g.nav.click(target);
        }
        ASSERT_NE(g.step(), before) << "stuck";
    }
    EXPECT_EQ(g.screen->keyTarget(Key::Return), "");

    Game over;
    over.playTo(13);
    over.play({"Command5"});
    EXPECT_EQ(over.screen->keyTarget(Key::Return), "Command8");
}

TEST(GameFlowCheck, FindsEachFaultOfTheWayFromStepToStep)
{
    EXPECT_EQ(checkGameFlow(flowScript()), std::vector<std::string>{});
    // An episode told alone is entered at its first step.
    GameScript alone = flowScript();
    alone.spans = {Steps(4, 7), Steps(280, 283)};
    std::erase_if(alone.rules, [](const GameRule& r) { return r.from.high < 4; });
    EXPECT_EQ(checkGameFlow(alone), std::vector<std::string>{});

    GameScript unreachable = flowScript();
    unreachable.spans[0] = Steps(0, 9);
    unreachable.rules.push_back({At(8), Talk, {SetText("t8")}, 9});
    unreachable.rules.push_back({At(9), Partner, {SetText("p9")}, 279});
    auto p = checkGameFlow(unreachable);
    EXPECT_TRUE(mentions(p, "game step 8: cannot be reached from step 0"));
    EXPECT_TRUE(mentions(p, "game step 9: cannot be reached"));

    GameScript faults = flowScript();
    ruleOf(faults, At(3), Answer3).to = 4;                        // a fail rule going on
    ruleOf(faults, At(5), Answer3).effects = {SetText("no cry")}; // game over without one
    ruleOf(faults, At(283), Answer2).to = 285;                    // no such value
    faults.rules.push_back({At(279), Partner, {SetText("more")}, Stay});
    p = checkGameFlow(faults);
    EXPECT_TRUE(mentions(p, "game step 3: Answer 3 runs a fail rule but ends at 4"));
    EXPECT_TRUE(mentions(p, "game step 5: Answer 3 ends at the game over 280 without a fail rule"));
    EXPECT_TRUE(mentions(p, "game rule 283 Answer 2: To 285 is not a value StepNo may take"));
    EXPECT_TRUE(mentions(p, "game rule 279 Partner: acts at the story's end"));

    GameScript noFail = flowScript(); // every answer at 5 goes on
    for (int k = 1; k <= 4; ++k)
        ruleOf(noFail, At(5), GameAnswer(k)) = {At(5), GameAnswer(k), {SetText("on")}, 6};
    EXPECT_TRUE(
        mentions(checkGameFlow(noFail), "game step 5: no wrong answer leads to a game over"));

    GameScript twoOvers = flowScript(); // a wrong answer at 5 fails to 290, which has no retry
    ruleOf(twoOvers, At(5), Answer4).to = 290;
    p = checkGameFlow(twoOvers);
    EXPECT_TRUE(mentions(p, "game series 2-4: its wrong answers lead to more than one game over"));
    EXPECT_TRUE(mentions(p, "game step 290: no retry leads back into the story"));

    GameScript resumesOutside = flowScript();
    ruleOf(resumesOutside, At(283), Answer4).to = 6;
    EXPECT_TRUE(mentions(checkGameFlow(resumesOutside),
                         "game step 280: its retry resumes at 6, outside every series"));
}

TEST(WholeGame, EveryValueOfTheTableIsToldAndTheCheckIsClean)
{
    if (!wholeStoryTold()) {
        GTEST_SKIP() << "episodes for steps 26 to 203 are not yet registered";
    }
    const auto& spans = gameScript().spans;
    for (int step = 0; step <= 400; ++step) {
        const bool told = std::any_of(spans.begin(), spans.end(),
                                      [step](StepFrom s) { return s.contains(step); });
        if (gameScript().story.isStepValue(step)) {
            EXPECT_TRUE(told) << step;
        }
    }
    EXPECT_EQ(checkGameScript(pictureAssets()), std::vector<std::string>{});
}

TEST(WholeGame, ACompleteRightRunFromStep0To279)
{
    if (!wholeStoryTold()) {
        GTEST_SKIP() << "episodes for steps 26 to 203 are not yet registered";
    }
    Game g;
    playOn(g, gameScript().story.endStep);
    EXPECT_TRUE(g.text().ends_with("\r\n\r\n　　　＜　完　＞"));
    EXPECT_EQ(g.picture(), "roujin.bmp");
    const Snapshot end = snapshot(g);
    for (GameTrigger t : kGameTriggers)
        g.screen->press(t);
    EXPECT_EQ(snapshot(g), end);

    // "終　　了" and a new run from the menu, from the old woman's greeting.
    g.play({"Command3", "C17"});
    EXPECT_EQ(g.step(), 0);
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.text(), "ふふふ、これからどこへ行きなさるのじゃ？");
    g.play({"Command1"});
    EXPECT_EQ(g.text(), "な、何者だ！？");
    EXPECT_EQ(g.step(), 1);
}

} // namespace
} // namespace quillory
