// The game screen: its engine on a small hand-made script, the script check, and
// the old woman's test played through (series 1, game over, retry, first move).
#include "app/navigator.h"
#include "app/picture_assets.h"
#include "app/screens.h"
#include "app/shell_screens.h"
#include "game/game_screen.h"
#include "game/scenario/episodes.h"
#include "tests/game_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

namespace quillory {
namespace {

using enum GameTrigger;

// Questions at 5 and 7 (right: 1, then 3), a move at 3, game over at 280 with
// its retry at 282/283, the end at 279. Listed out of test order on purpose.
GameScript handScript()
{
    const auto fail = [](const char* cry) {
        return std::vector<Effect>{ShowPicture("over.bmp"), SetText(cry), ShowAgain()};
    };
    GameScript s;
    s.story = gameScript().story;
    s.spans = {Steps(0, 9), Steps(280, 283)};
    s.rules = {
        {At(0), Talk, {SetText("t0")}, 1},
        {At(1), Partner, {WriteLines({"p1a", "p1b"})}, 2},
        {At(2), Talk, {ShowMove(), SetText("t2")}, 3},
        {At(3), Move, {HideMove(), ShowPicture("b.bmp"), SetText("m3")}, 4},
        {At(6), Talk, {SetText("q2")}, 7}, // before the range of the same upper end
        {Steps(4, 6), Talk, {ShowChoices(kAllChoices)}, Stay},
        {At(4), Talk, {SetText("q1")}, 5},
        {At(5), Answer1, {SetText("right 1")}, 6},
        {At(7), Answer1, fail("a1!"), 280},
        {At(283), Answer1, {}, 7},
        {Steps(5, 7), Answer2, fail("a2!"), 280},
        {At(283), Answer2, {}, 5},
        {At(5), Answer3, fail("a3!"), 280},
        {At(7), Answer3, {SetText("right 2")}, 8},
        {At(283), Answer3, {SetText("retry right")}, 6},
        {At(5), Answer4, fail("a4!"), 280},
        {Steps(5, 7), Answer4, {}, 5},
        {At(283), Answer4, {}, 7},
        {At(8), Talk, {SetText("t8")}, 9},
        {At(9), Partner, {SetText("the end")}, 279},
        {Steps(280, 32767), Again, {HideAgain()}, Stay},
        {At(280), Again, {ShowPicture("a.bmp"), SetText("again?")}, 282},
        {Steps(280, 290), Talk, {ShowChoices(kAllChoices)}, Stay},
        {At(282), Talk, {SetText("r")}, 283},
    };
    s.rightAnswers = {{5, 1}, {7, 3}, {283, 3}};
    return s;
}

TEST(GameEngine, DispatchFormsOnAHandMadeScript)
{
    Game g(handScript());
    g.screen->press(Partner); // guards: Partner and Move at an even step, Talk at an odd one
    g.screen->press(Move);
    EXPECT_EQ(g.step(), 0);
    g.play({"Command1"});
    g.screen->press(Talk);
    EXPECT_EQ(g.text(), "t0");
    g.play({"Command2"});
    EXPECT_EQ(g.text(), writeLinesText({"p1a", "p1b"}));
    g.play({"Command1"});
    EXPECT_TRUE(g.shown("Command9"));
    g.play({"Command2", "Command9"});
    EXPECT_FALSE(g.shown("Command9"));
    EXPECT_EQ(g.picture(), "b.bmp");
    EXPECT_EQ(g.step(), 4);

    // The range is tested before the single value of the same upper end, though
    // listed after it (at 7 it would no longer match), and before lower values.
    for (int question : {4, 6}) {
        SCOPED_TRACE(question);
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.step(), question + 1);
        g.play({question == 4 ? "Command4" : "Command6"});
        EXPECT_TRUE(g.choices(false));
        EXPECT_EQ(g.step(), question + 2);
    }
    g.play({"Command1", "Command2"});
    EXPECT_EQ(g.step(), gameScript().story.endStep);
    for (GameTrigger t : kGameTriggers) // the end: nothing but the way back acts
        g.screen->press(t);
    EXPECT_EQ(g.step(), gameScript().story.endStep);
    EXPECT_EQ(g.text(), "the end");

    // Fail rules: single, range, and a range remap onto a single one, in one click.
    const std::tuple<int, const char*, const char*> wrongs[] = {
        {5, "Command5", "a2!"}, {5, "Command6", "a3!"}, {5, "Command7", "a4!"},
        {7, "Command4", "a1!"}, {7, "Command5", "a2!"}, {7, "Command7", "a4!"}};
    for (const auto& [at, answer, cry] : wrongs) {
        SCOPED_TRACE(std::string(answer) + " at " + std::to_string(at));
        Game w(handScript());
        w.play({"Command1", "Command2", "Command1", "Command9", "Command1"});
        if (at == 7)
            w.play({"Command4", "Command1"});
        w.play({answer});
        w.expectGameOver(cry);
    }

    // At 280 this script's Talk range shows the answer buttons; an answer click at
    // an even step hides them and does nothing more.
    Game r(handScript());
    r.play({"Command1", "Command2", "Command1", "Command9", "Command1", "Command5", "Command1"});
    EXPECT_TRUE(r.choices(true));
    r.play({"Command6"});
    r.expectGameOver("a2!");
    r.screen->setVisible("Command8", false);
    r.screen->press(Again); // Again has no parity guard
    EXPECT_EQ(r.picture(), "a.bmp");
    EXPECT_EQ(r.step(), 282);
    r.play({"Command1"});
    r.screen->setVisible("Command8", true);
    r.play({"Command8"}); // at 283, without a rule of its own, Again only hides itself
    EXPECT_FALSE(r.shown("Command8"));
    EXPECT_EQ(r.step(), 283);
    r.play({"Command4"}); // remap to 7 and the fail rule there
    r.expectGameOver("a1!");
    r.play({"Command8", "Command1", "Command6"});
    EXPECT_EQ(r.text(), "retry right");
    EXPECT_EQ(r.step(), 6);
}

TEST(GameEngine, CheckFindsFaultyRules)
{
    const std::vector<std::string> pictures{"over.bmp", "a.bmp", "b.bmp"};
    EXPECT_EQ(checkGameRules(handScript(), pictures), std::vector<std::string>{});

    GameScript bad = handScript();
    std::erase_if(bad.rules, [](const GameRule& r) { return r.from == At(8); });
    bad.rules.insert(bad.rules.end(), {
                                          {At(3), Talk, {SetText("odd talk")}, 4},
                                          {At(0), Talk, {SetText("twice")}, 1},
                                          {Steps(2, 6), Talk, {ShowChoices(kAllChoices)}, Stay},
                                          {At(1), Answer2, {SetText("partner's turn")}, 2},
                                          {At(9), Answer1, {}, 301},
                                          {At(9), Move, {ShowPicture("missing.bmp")}, 4},
                                          {At(14), Talk, {SetText("back")}, 6},
                                          {At(283), Again, {}, Stay},
                                          {At(10), Talk, {WriteLines({"one"})}, 40000},
                                      });
    const std::vector<std::string> p = checkGameRules(bad, pictures);
    EXPECT_TRUE(mentions(p, "rule 3 Talk: its button's guard never lets it act"));
    EXPECT_TRUE(mentions(p, "rule 0 Talk: more than one rule"));
    EXPECT_TRUE(mentions(p, "rule 2-6 Talk: same upper end as the range 4-6"));
    EXPECT_TRUE(mentions(p, "step 1: more than one of Partner, the answer buttons and Move"));
    EXPECT_TRUE(mentions(p, "step 1: Answer 1 has no rule"));
    EXPECT_TRUE(mentions(p, "rule 9 Answer 1: remap to 301 that no later rule"));
    EXPECT_TRUE(mentions(p, "picture missing.bmp is not among the assets"));
    EXPECT_TRUE(mentions(p, "rule 14 Talk: its To 6 is caught again by the rule 4-6"));
    EXPECT_TRUE(mentions(p, "rule 283 Again: rule without effects or To"));
    EXPECT_TRUE(mentions(p, "WriteLines of 1 lines"));
    EXPECT_TRUE(mentions(p, "rule 10 Talk: To out of range"));
    EXPECT_TRUE(mentions(p, "step 8: no rule of Talk moves on from it"));
    EXPECT_TRUE(mentions(p, "rule 7 Answer 3: leads to step 8, where no button's rule moves on"));

    EXPECT_EQ(checkGameScript(pictureAssets()), std::vector<std::string>{});
}

TEST(GameScreen, LayoutAtCreationAndFormLoad)
{
    Game g;
    ASSERT_NE(g.screen, nullptr);
    EXPECT_EQ(g.nav.visibleScreen(), g.screen);
    EXPECT_EQ(g.screen->caption(), "THE LANTERN ROAD");
    EXPECT_EQ(g.screen->width(), 7155);
    EXPECT_EQ(g.screen->height(), 4305);
    EXPECT_EQ(g.screen->background(), (Rgb{255, 128, 128}));
    const std::tuple<const char*, ControlKind, const char*, Rect, bool> expected[] = {
        {"P1", ControlKind::Picture, "", {240, 0, 3135, 2295}, true},
        {"Command1", ControlKind::Button, "話す", {3600, 240, 1455, 495}, true},
        {"Command2", ControlKind::Button, "相手が話す", {5280, 240, 1455, 495}, true},
        {"Command8", ControlKind::Button, "もう一度", {3600, 960, 1455, 495}, false},
        {"Command3", ControlKind::Button, "終　　了", {5280, 960, 1455, 495}, true},
        {"Command4", ControlKind::Button, "１", {3600, 1800, 495, 495}, false},
        {"Command5", ControlKind::Button, "２", {4200, 1800, 495, 495}, false},
        {"Command6", ControlKind::Button, "３", {4800, 1800, 495, 495}, false},
        {"Command7", ControlKind::Button, "４", {5400, 1800, 495, 495}, false},
        {"Command9", ControlKind::Button, "移動", {6000, 1800, 735, 495}, false},
        {"T1",
         ControlKind::Text,
         "ふふふ、これからどこへ行きなさるのじゃ？",
         {240, 2400, 6615, 1815},
         true},
    };
    ASSERT_EQ(g.screen->controls().size(), std::size(expected));
    for (const auto& [name, kind, text, rect, visible] : expected) {
        SCOPED_TRACE(name);
        const Control& c = g.screen->control(name);
        EXPECT_EQ(c.kind, kind);
        EXPECT_EQ(c.text, text);
        EXPECT_EQ(c.rect, rect);
        EXPECT_EQ(c.visible, visible);
    }
    EXPECT_FALSE(g.screen->control("T1").scrollbar);
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.step(), 0);
}

TEST(Episode1, RightRunThroughSeriesOneToTheMove)
{
    Game g;
    g.play({"Command2", "Command1"});
    EXPECT_EQ(g.text(), "な、何者だ！？");
    g.playTo(13);
    EXPECT_EQ(g.text(), writeLinesText({"John and Ben went back to London.",
                                        "1 第１文型（S V）　　2 第２文型（S V C）",
                                        "3 第３文型（S V O）　4 第４文型（S V O O）"}));
    // Each right answer writes the next lead-in; Talk then shows the choices.
    const std::pair<const char*, const char*> rights[] = {
        {"Command4", "Her explanation sounds good."},
        {"Command5", "She will not be at home when you ( ) to see her."},
        {"Command4", "She asked me what ( ) doing."},
        {"Command6", "The girl ( ) in the pool is my sister."},
    };
    for (const auto& [answer, next] : rights) {
        SCOPED_TRACE(next);
        const int at = g.step();
        g.play({answer, "Command2", "Command9"});
        EXPECT_TRUE(g.choices(false));
        EXPECT_EQ(g.step(), at + 1);
        EXPECT_NE(g.text().find(next), std::string::npos);
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.text().rfind(std::string("\r\n") + next + "\r\n\r\n1 ", 0), 0u);
    }
    g.play({"Command7"});
    EXPECT_EQ(g.text(), "正解じゃ。なかなかやるのう。よかろう。行くがよい。");
    g.play({"Command1", "Command2", "Command1"});
    EXPECT_EQ(g.text(), "よし、では行こう！");
    EXPECT_TRUE(g.shown("Command9"));
    g.play({"Command2", "Command9"});
    EXPECT_FALSE(g.shown("Command9"));
    EXPECT_EQ(g.picture(), "help.bmp");
    EXPECT_EQ(g.text(), "お～い、助けてくれ～！　助けてくれよ～！！");
    EXPECT_EQ(g.step(), 26);
}

TEST(Episode1, EveryWrongAnswerEndsAtTheGameOverInOneClick)
{
    const char* const kCry13 = "しまった！";                   // Answer 2's fail rule
    const char* const kCry15 = "あれ？間違えた・・・。";       // Answer 1's
    const char* const kCry1317 = "あれ？間違えたのか・・・。"; // Answer 3's
    const char* const kCry13b = "あ、しまった！";              // Answer 4's
    const std::tuple<int, const char*, const char*> wrongs[] = {
        {13, "Command5", kCry13}, {13, "Command6", kCry1317}, {13, "Command7", kCry13b},
        {15, "Command4", kCry15}, {15, "Command6", kCry1317}, {15, "Command7", kCry13b},
        {17, "Command5", kCry13}, {17, "Command6", kCry1317}, {17, "Command7", kCry13b},
        {19, "Command4", kCry15}, {19, "Command5", kCry13},   {19, "Command7", kCry13b},
        {21, "Command4", kCry15}, {21, "Command5", kCry13},   {21, "Command6", kCry1317},
    };
    for (const auto& [at, answer, cry] : wrongs) {
        SCOPED_TRACE(std::string(answer) + " at " + std::to_string(at));
        Game g;
        g.playTo(at);
        g.play({answer});
        g.expectGameOver(cry);
        g.play({"Command1", "Command2"}); // Talk does nothing at 280
        g.screen->press(Move);
        g.expectGameOver(cry);
    }

    // The retry: only Answer 4 is right; a wrong one goes back to 280, any number of times.
    const std::pair<const char*, const char*> retries[] = {
        {"Command4", kCry15}, {"Command5", kCry13}, {"Command6", kCry1317}};
    for (const auto& [answer, cry] : retries) {
        SCOPED_TRACE(std::string("retry ") + answer);
        Game g;
        g.playTo(13);
        g.play({"Command5", "Command8", "Command1", answer});
        g.expectGameOver(cry);
        g.play({"Command8"});
        EXPECT_EQ(g.step(), 282);
    }
}

TEST(Episode1, RetryRightResumesAtTheSecondQuestion)
{
    Game g;
    g.playTo(17);
    g.play({"Command6", "Command8"});
    EXPECT_FALSE(g.shown("Command8"));
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.text(), writeLinesText({"ふふふ、もう一度やる気かね？ よかろう。",
                                        "次の文中の（　）内に入る適語を、後の語群から選べ。",
                                        "He won't catch the train ( ) he hurries.",
                                        "語群：　and,  or,  as,  unless"}));
    EXPECT_EQ(g.step(), 282);
    g.play({"Command1"});
    EXPECT_TRUE(g.choices(true));
    EXPECT_EQ(g.text(), writeLinesText({"He won't catch the train ( ) he hurries.",
                                        "1 and   2 or   3 as   4 unless"}));
    g.play({"Command7"});
    EXPECT_TRUE(g.choices(false));
    EXPECT_EQ(g.step(), 14);
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.text(), writeLinesText({"ふふふ、正解じゃ。では次じゃ。", "次の文は第何文型か？",
                                        "Her explanation sounds good."}));
    for (const char* right : {"Command5", "Command4", "Command6", "Command7"})
        g.play({"Command1", right});
    EXPECT_EQ(g.step(), 22);
}

TEST(Episode1, TalkAt290AgainBelow280AndTheWayBack)
{
    // The shared rules and a way to 290: Talk there shows the answer buttons only.
    GameScript to290;
    to290.story = gameScript().story;
    to290.rules = scenario::sharedRules();
    to290.rules.push_back({At(0), Talk, {ShowAgain(), SetText("x")}, 290});
    Game s(to290);
    s.play({"Command1", "Command1"});
    EXPECT_TRUE(s.choices(true));
    EXPECT_EQ(s.step(), 290);
    EXPECT_EQ(s.text(), "x");
    s.play({"Command6"});
    EXPECT_TRUE(s.choices(false));
    EXPECT_EQ(s.step(), 290);
    s.play({"Command8"}); // no rule of its own at 290: it only hides itself
    EXPECT_FALSE(s.shown("Command8"));
    EXPECT_EQ(s.step(), 290);

    Game g;
    g.playTo(17);
    g.screen->press(Again); // below 280: nothing
    EXPECT_EQ(g.step(), 17);
    EXPECT_TRUE(g.choices(true));

    // "終　　了" from a game over: all reset, and the next entry starts afresh.
    g.play({"Command7", "Command3"});
    EXPECT_EQ(g.step(), 0);
    for (const char* c : {"Command4", "Command5", "Command6", "Command7", "Command8", "Command9"})
        EXPECT_FALSE(g.shown(c)) << c;
    EXPECT_FALSE(g.screen->visible());
    ASSERT_NE(g.nav.visibleScreen(), nullptr);
    EXPECT_EQ(g.nav.visibleScreen()->name(), "Form20");
    g.play({"C17"});
    EXPECT_EQ(g.picture(), "roujin.bmp");
    EXPECT_EQ(g.text(), "ふふふ、これからどこへ行きなさるのじゃ？");
    g.play({"Command1"});
    EXPECT_EQ(g.text(), "な、何者だ！？");
}

} // namespace
} // namespace quillory
