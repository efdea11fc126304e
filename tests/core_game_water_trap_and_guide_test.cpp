// The water trap and the girl who shows the way, played on their own rules and the
// shared ones, entered by a one-click rule from step 0 to the trap's first step.
#include "app/picture_assets.h"
#include "game/game_screen.h"
#include "game/scenario/episodes.h"
#include "tests/game_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace quillory {
namespace {

using enum GameTrigger;

GameScript trapAndGirl()
{
    GameScript s;
    s.story = gameScript().story;
    s.rules = scenario::sharedRules();
    for (const scenario::Episode* e : {&scenario::episode5(), &scenario::episode6()}) {
        s.rules.insert(s.rules.end(), e->rules.begin(), e->rules.end());
        s.spans.insert(s.spans.end(), e->spans.begin(), e->spans.end());
        s.rightAnswers.insert(s.rightAnswers.end(), e->rightAnswers.begin(), e->rightAnswers.end());
    }
    s.rules.push_back({At(0), Talk, {SetText("…")}, 128});
    return s;
}

bool has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

void answer(Game& g, int k)
{
    g.play({Game::kAnswers[static_cast<std::size_t>(k - 1)]});
}

struct Question {
    const char* says; // a piece of the sentence, as the lead-in and Talk write it
    int right;
};

// The trap's levels, first to neck, three questions each.
constexpr Question kTrap[5][3] = {
    {{"unwilling to ( )", 2}, {"his second ( ).", 3}, {"in a tight ( )", 1}},
    {{"( ) of mosquitoes", 4}, {"not ( ) to the idea", 2}, {"speak ( ) the cuff.", 2}},
    {{"now she is a ( ).", 1}, {"unwilling to ( )", 4}, {"his second ( ).", 3}},
    {{"in a tight ( )", 2}, {"( ) of mosquitoes", 1}, {"not ( ) to the idea", 4}},
    {{"speak ( ) the cuff.", 3}, {"now she is a ( ).", 4}, {"unwilling to ( )", 1}},
};
constexpr const char* kLevelPicture[5] = {"mizu2.bmp", "mizu3.bmp", "mizu4.bmp", "mizu5.bmp",
                                          "mizu6.bmp"};
constexpr const char* kLevelWord[5] = {"", "膝", "腰", "胸", "首"};

int wrongFor(int right)
{
    return right % 4 + 1;
}

// From the entry to the answer of question `q` (0 to 2) at `level`, reached by a
// wrong first answer at each lower level and right answers before it.
void toTrapQuestion(Game& g, int level, int q)
{
    while (g.step() < 146)
        g.play({g.step() % 2 == 0 ? "Command1" : "Command2"});
    g.play({"Command1"});
    for (int l = 0; l < level; ++l) {
        answer(g, wrongFor(kTrap[l][0].right));
        g.play({"Command1"});
    }
    for (int i = 0; i < q; ++i) {
        answer(g, kTrap[level][i].right);
        g.play({"Command1"});
    }
    ASSERT_EQ(g.step(), 147 + 6 * level + 2 * q);
}

TEST(WaterTrap, TheClosedRoomFillsAfterTheWrongName)
{
    Game g(trapAndGirl());
    g.play({"Command1", "Command1"});
    EXPECT_EQ(g.step(), 129);
    EXPECT_EQ(g.picture(), "mizu0.bmp");
    EXPECT_EQ(g.text(), "あれ？消えてしまった・・・・。");
    while (g.step() < 137)
        g.play({g.step() % 2 == 0 ? "Command1" : "Command2"});
    EXPECT_EQ(g.text(),
              writeLinesText({"（え？それは聞かなかったな・・・。仕方がない、適当に答えよう。）",
                              "え～っと、照代だ！"}));
    EXPECT_TRUE(g.choices(false)); // the guess is a story turn
    g.play({"Command2"});
    EXPECT_EQ(g.picture(), "mizu2.bmp");
    EXPECT_EQ(g.text(), "ふふふ、残念だな。間違いだ。正解はフランソワーちゃんだ。");
    while (g.step() < 146)
        g.play({g.step() % 2 == 0 ? "Command1" : "Command2"});
    EXPECT_EQ(g.text(),
              writeLinesText(
                  {"問題はどれも文中の（　）内に、後の語群から適語を１つ選ぶものだ。いくぞ！",
                   "When I got into trouble, my classmates seemed unwilling to ( )",
                   "their necks to help me.", "語群：　stick out,  put up,  give,  pay back"}));
    g.play({"Command1"});
    EXPECT_TRUE(g.choices(true));
    EXPECT_EQ(g.step(), 147);
    EXPECT_EQ(g.text(), writeLinesText({"When I got into trouble, my classmates seemed unwilling "
                                        "to ( )",
                                        "their necks to help me.",
                                        "1 put up   2 stick out   3 give   4 pay back"}));

    // The yen amount reads as yen, wherever the sentence is written.
    Game y(trapAndGirl());
    toTrapQuestion(y, 0, 2);
    EXPECT_EQ(y.text(),
              writeLinesText({"Masao was in a tight ( ) and asked me to lend him ¥10,000.",
                              "1 spot   2 end   3 point   4 space"}));
    for (const scenario::Episode* e : {&scenario::episode5(), &scenario::episode6()}) {
        for (const GameRule& r : e->rules) {
            for (const Effect& effect : r.effects) {
                for (const std::string& line : effect.lines)
                    EXPECT_FALSE(has(line, "\\")) << line;
            }
        }
    }
}

TEST(WaterTrap, ThreeRightInARowEndTheTrapAtEveryLevel)
{
    for (int level = 0; level < 5; ++level) {
        SCOPED_TRACE(kLevelPicture[level]);
        Game g(trapAndGirl());
        toTrapQuestion(g, level, 0);
        EXPECT_EQ(g.picture(), kLevelPicture[level]);
        EXPECT_TRUE(has(g.text(), kTrap[level][0].says));
        for (int q = 0; q < 2; ++q) {
            answer(g, kTrap[level][q].right);
            EXPECT_TRUE(g.choices(false));
            EXPECT_EQ(g.step(), 148 + 6 * level + 2 * q);
            EXPECT_TRUE(has(g.text(), "正解"));
            EXPECT_TRUE(has(g.text(), kTrap[level][q + 1].says));
            EXPECT_EQ(g.picture(), kLevelPicture[level]);
            g.play({"Command1"});
            EXPECT_TRUE(g.choices(true));
            EXPECT_TRUE(has(g.text(), kTrap[level][q + 1].says));
        }
        answer(g, kTrap[level][2].right);
        EXPECT_EQ(g.step(), 176);
        EXPECT_EQ(g.picture(), "ane3.bmp");
        EXPECT_EQ(g.text(), "どうしたの？");
        EXPECT_TRUE(g.choices(false));
        EXPECT_FALSE(g.shown("Command8"));
    }
}

TEST(WaterTrap, EveryWrongAnswerRaisesTheWaterOrDrownsTheHero)
{
    // Any wrong answer at any question of a level starts a new run one level up.
    for (int level = 0; level < 5; ++level) {
        for (int q = 0; q < 3; ++q) {
            for (int k = 1; k <= 4; ++k) {
                if (k == kTrap[level][q].right)
                    continue;
                SCOPED_TRACE("level " + std::to_string(level) + " question " + std::to_string(q) +
                             " answer " + std::to_string(k));
                Game g(trapAndGirl());
                toTrapQuestion(g, level, q);
                answer(g, k);
                if (level == 4) {
                    g.expectGameOver(310, k == 2 ? "うわ～っ！！" : "うわ～っ！");
                    continue;
                }
                EXPECT_EQ(g.step(), 146 + 6 * (level + 1));
                EXPECT_EQ(g.picture(), kLevelPicture[level + 1]);
                EXPECT_TRUE(has(g.text(), kLevelWord[level + 1]));
                EXPECT_TRUE(has(g.text(), kTrap[level + 1][0].says));
                EXPECT_TRUE(g.choices(false));
            }
        }
    }

    // Five wrong answers in a row from the start: the water to the neck, then over.
    Game g(trapAndGirl());
    toTrapQuestion(g, 0, 0);
    for (int level = 1; level < 5; ++level) {
        answer(g, wrongFor(kTrap[level - 1][0].right));
        EXPECT_EQ(g.picture(), kLevelPicture[level]);
        g.play({"Command1"});
    }
    answer(g, wrongFor(kTrap[4][0].right));
    g.expectGameOver(310, "うわ～っ！");
    g.play({"Command1", "Command2"}); // Talk at 310 shows the buttons only
    EXPECT_TRUE(g.choices(true));
    g.play({"Command4"});
    g.expectGameOver(310, "うわ～っ！");
}

TEST(WaterTrap, TheTwoStageRetry)
{
    struct Retry {
        const char* says;
        int step;
    };
    const Retry kRetries[] = {{"This is the room ( ) we had the party last evening.", 314},
                              {"Rich ( ) she was, she was not contented.", 316},
                              {"Don't speak to that Englishman ( ) you can speak English.", 318},
                              {"= ( ) well, I don't feel sleepy.", 320}};
    for (int guess = 1; guess <= 4; ++guess) {
        for (int k = 1; k <= 4; ++k) {
            SCOPED_TRACE("name " + std::to_string(guess) + ", answer " + std::to_string(k));
            Game g(trapAndGirl());
            toTrapQuestion(g, 4, 1);
            answer(g, 1);
            g.play({"Command8"});
            EXPECT_FALSE(g.shown("Command8"));
            EXPECT_EQ(g.step(), 312);
            EXPECT_EQ(g.picture(), "mizu0.bmp");
            EXPECT_EQ(g.text(),
                      writeLinesText({"ふふふ、再挑戦というわけか。よかろう。ではいくぞ！",
                                      "おまえが最初に出会った老婆の名前は？"}));
            g.play({"Command1"});
            EXPECT_TRUE(g.choices(true));
            EXPECT_EQ(g.text(), writeLinesText({"え？あの婆さんの名前だって？う～ん・・・・、",
                                                "1 トラ　2 和代　3 美咲　4 ジュリエット"}));

            // Every name leads on, to its own question, with the water back.
            const Retry& retry = kRetries[guess - 1];
            answer(g, guess);
            EXPECT_TRUE(g.choices(false));
            EXPECT_EQ(g.step(), retry.step);
            EXPECT_EQ(g.picture(), "mizu2.bmp");
            EXPECT_TRUE(has(g.text(), retry.says));
            g.play({"Command1"});
            EXPECT_TRUE(g.choices(true));
            EXPECT_EQ(g.step(), 321);
            EXPECT_TRUE(has(g.text(), retry.says));

            answer(g, k);
            EXPECT_TRUE(g.choices(false));
            if (k != 3) { // into the first level, and the water at the knee
                EXPECT_EQ(g.step(), 152);
                EXPECT_EQ(g.picture(), "mizu3.bmp");
                EXPECT_TRUE(has(g.text(), "膝"));
                EXPECT_TRUE(has(g.text(), kTrap[1][0].says));
                continue;
            }
            EXPECT_EQ(g.step(), 148);
            EXPECT_EQ(g.picture(), "mizu2.bmp");
            EXPECT_EQ(
                g.text(),
                writeLinesText({"ほう、正解だ。以後はどれも（　）に適語を入れる問題だ。いくぞ！",
                                "John slowed down, and then swam another 400 meters after he "
                                "got",
                                "his second ( ).", "語群：　air,  wind,  breath,  strength"}));
            // The retry answer counts as the first of the run of three.
            g.play({"Command1", "Command6", "Command1", "Command4"});
            EXPECT_EQ(g.step(), 176);
            EXPECT_EQ(g.picture(), "ane3.bmp");
        }
    }
}

// Through the trap on three right answers, to the girl's first question.
void toGirlQuestion(Game& g, int answerStep)
{
    toTrapQuestion(g, 0, 0);
    g.play({"Command5", "Command1", "Command6", "Command1", "Command4"});
    while (g.step() < 190)
        g.play({g.step() % 2 == 0 ? "Command1" : "Command2"});
    g.play({"Command1"});
    static constexpr int kRight[] = {3, 2, 3, 1};
    for (int s = 191; s < answerStep; s += 2) {
        answer(g, kRight[(s - 191) / 2]);
        g.play({"Command1"});
    }
    ASSERT_EQ(g.step(), answerStep);
}

TEST(GirlWhoShowsTheWay, SeriesSevenRightToTheGatekeeper)
{
    Game g(trapAndGirl());
    toGirlQuestion(g, 191);
    EXPECT_EQ(g.picture(), "ane3.bmp");
    EXPECT_EQ(g.text(), writeLinesText({"He stopped smoking last year.",
                                        "1 第１文型　2 第２文型　3 第３文型　4 第４文型"}));
    const std::tuple<int, const char*> rights[] = {{3, "I'll stay here till the clock ( ) eight."},
                                                   {2, "Tokyo is ( ) capital of Japan."},
                                                   {3, "( ) right, and you'll find the building."},
                                                   {1, "= I ( ) I ( ) good at tennis."}};
    for (const auto& [k, next] : rights) {
        SCOPED_TRACE(next);
        const int at = g.step();
        answer(g, k);
        EXPECT_TRUE(g.choices(false));
        EXPECT_EQ(g.step(), at + 1);
        EXPECT_TRUE(has(g.text(), "正解よ"));
        EXPECT_TRUE(has(g.text(), next));
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_TRUE(has(g.text(), next));
    }
    answer(g, 2);
    EXPECT_EQ(g.text(), "正解よ！なかなかやるわね。");
    g.play({"Command1", "Command2"});
    EXPECT_EQ(g.text(), "あそこの山の上に行けば会えるわ。");
    g.play({"Command1"});
    EXPECT_TRUE(g.shown("Command9"));
    EXPECT_EQ(g.text(), "よーし、行くぞ！");
    g.play({"Command2", "Command9"});
    EXPECT_FALSE(g.shown("Command9"));
    EXPECT_EQ(g.picture(), "ane4.bmp");
    EXPECT_EQ(g.text(), "何者だ！？");
    EXPECT_EQ(g.step(), 204);
}

TEST(GirlWhoShowsTheWay, EveryWrongAnswerAndTheRetry)
{
    const char* const kCry1 = "あれれれ？間違えたのか・・・。";
    const char* const kCry2 = "ありゃりゃ、間違えたか・・・。";
    const char* const kCry3 = "はにゃ？間違えたのか。。。。";
    const char* const kCry4 = "ぬおっ！間違えてしまった！";
    const std::tuple<int, int, const char*> wrongs[] = {
        {191, 1, kCry1}, {191, 2, kCry2}, {191, 4, kCry4}, {193, 1, kCry1}, {193, 3, kCry3},
        {193, 4, kCry4}, {195, 1, kCry1}, {195, 2, kCry2}, {195, 4, kCry4}, {197, 2, kCry2},
        {197, 3, kCry3}, {197, 4, kCry4}, {199, 1, kCry1}, {199, 3, kCry3}, {199, 4, kCry4},
    };
    for (const auto& [at, k, cry] : wrongs) {
        SCOPED_TRACE("answer " + std::to_string(k) + " at " + std::to_string(at));
        Game g(trapAndGirl());
        toGirlQuestion(g, at);
        answer(g, k);
        g.expectGameOver(330, cry);
    }

    // The retry asks which word would be wrong; only Answer 4 is right.
    Game g(trapAndGirl());
    toGirlQuestion(g, 195);
    answer(g, 1);
    const std::tuple<int, const char*> retries[] = {{1, kCry1}, {2, kCry2}, {3, kCry3}};
    for (const auto& [k, cry] : retries) {
        SCOPED_TRACE("retry answer " + std::to_string(k));
        g.play({"Command8"});
        EXPECT_FALSE(g.shown("Command8"));
        EXPECT_EQ(g.picture(), "ane3.bmp");
        EXPECT_EQ(
            g.text(),
            writeLinesText({"あら？再挑戦というわけね。いいわ。いくわよ。",
                            "次の文中の（　）内に用いると、文法的に誤りとなるのはどれか？",
                            "He ( ) me how to use it.", "* showed,  told,  taught,  explained"}));
        g.play({"Command1"});
        EXPECT_TRUE(g.choices(true));
        EXPECT_EQ(g.step(), 333);
        EXPECT_EQ(g.text(), writeLinesText({"He ( ) me how to use it.",
                                            "1 showed   2 told   3 taught   4 explained"}));
        answer(g, k);
        g.expectGameOver(330, cry);
    }
    g.play({"Command8", "Command1", "Command7"});
    EXPECT_TRUE(g.choices(false));
    EXPECT_EQ(g.step(), 192);
    EXPECT_EQ(g.picture(), "ane3.bmp");
    EXPECT_EQ(g.text(), writeLinesText({"正解よ。じゃあ次よ。",
                                        "次の文中の（　）内に入る適語を、後の語群から１つ選べ。",
                                        "I'll stay here till the clock ( ) eight.",
                                        "語群：　strike,  strikes,  will strike,  is striking"}));
    for (int k : {2, 3, 1, 2}) {
        g.play({"Command1"});
        answer(g, k);
    }
    EXPECT_EQ(g.step(), 200);
}

TEST(GameEngine, CheckFindsButtonsNotShownWhereAwaited)
{
    EXPECT_EQ(checkGameRules(trapAndGirl(), pictureAssets()), std::vector<std::string>{});

    // The question range cut short at the neck, no Move shown at 202, and a fail
    // rule that forgets Again: each leaves the learner without a button to press.
    GameScript bad = trapAndGirl();
    for (GameRule& r : bad.rules) {
        if (r.trigger == Talk && r.from == Steps(146, 174))
            r.from = Steps(146, 168);
        if (r.trigger == Talk && r.from == At(202))
            r.effects.erase(r.effects.begin());
        if (r.trigger == Answer4 && r.from == At(171))
            r.effects.pop_back();
    }
    const std::vector<std::string> p = checkGameRules(bad, pictureAssets());
    EXPECT_TRUE(mentions(p, "game step 171: reached by Talk at 170,"));
    EXPECT_TRUE(mentions(p, "game step 173: reached by Talk at 172,"));
    EXPECT_TRUE(mentions(p, "game step 175: reached by Talk at 174,"));
    EXPECT_FALSE(mentions(p, "reached by Talk at 168,"));
    EXPECT_TRUE(mentions(p, "game step 203: reached by Talk at 202,"));
    EXPECT_TRUE(mentions(p, "game step 310: reached by Answer 4 at 171,"));
    EXPECT_TRUE(mentions(p, "game step 310: reached by Answer 4 at 175,"));
}

TEST(GameEpisodes, TheTrapAndTheGirlFollowEachOtherInStoryOrder)
{
    const auto& list = scenario::episodes();
    const auto five = std::find(list.begin(), list.end(), &scenario::episode5());
    ASSERT_NE(five, list.end());
    ASSERT_NE(five + 1, list.end());
    EXPECT_EQ(*(five + 1), &scenario::episode6());
    auto first = [](const scenario::Episode* e) {
        return std::min_element(e->spans.begin(), e->spans.end(),
                                [](StepFrom a, StepFrom b) { return a.low < b.low; })
            ->low;
    };
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_LT(first(list[i - 1]), first(list[i]));
}

} // namespace
} // namespace quillory
