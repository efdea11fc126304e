// Texts once on screen with a slip or a second right choice, checked where the
// learner meets them: the game's questions and the lesson choices that replaced one.
#include "game/game_screen.h"
#include "game/scenario/episodes.h"
#include "tests/game_walk.h"
#include "tests/lesson_walk.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quillory {
namespace {

using enum GameTrigger;
using Lines = std::vector<std::string>;

// One episode alone, with Talk at step 0 leading straight to `entry`.
GameScript episodeFrom(const scenario::Episode& e, int entry)
{
    GameScript s;
    s.rules = scenario::sharedRules();
    s.rules.insert(s.rules.end(), e.rules.begin(), e.rules.end());
    s.spans = e.spans;
    s.rules.push_back({At(0), Talk, {SetText("…")}, entry});
    return s;
}

// Talk or Teacher by parity up to `target`; a waiting question gets its answer from
// `answers`, or 1.
void walkTo(Lesson& l, int target, const std::map<int, int>& answers)
{
    for (int guard = 0; l.step() < target && guard < 200; ++guard) {
        const int at = l.step();
        if (!l.choices().empty() && at % 2 == 1)
            l.answer(answers.contains(at) ? answers.at(at) : 1);
        else if (at % 2 == 0)
            l.talk();
        else
            l.teacher();
    }
    ASSERT_EQ(l.step(), target);
}

TEST(CorrectedTexts, TheGameAndTheLessonChoicesShowThem)
{
    // The water trap: a wrong first answer raises the water to the knee, then the waist.
    Game trap(episodeFrom(scenario::episode5(), 146));
    trap.play({"Command1", "Command1", "Command4", "Command1"});
    EXPECT_EQ(trap.step(), 153);
    EXPECT_EQ(trap.text(), writeLinesText({"During the night we were attacked by ( ) of mosquitoes",
                                           "because we camped next to the lake.",
                                           "1 effigies   2 renegades   3 fraud   4 myriads"}));
    trap.play({"Command7", "Command1"});
    EXPECT_EQ(
        trap.text(),
        writeLinesText({"If you are not ( ) to the idea, I'd like to invite him to the party.",
                        "1 adamant   2 averse   3 astute   4 abject"}));
    trap.play({"Command4", "Command1"});
    EXPECT_EQ(trap.step(), 159);
    EXPECT_EQ(trap.text(), writeLinesText({"Since Miyuki lived in several different countries as "
                                           "she was",
                                           "growing up, now she is a ( ).",
                                           "1 polyglot   2 hexagon   3 multiplex   4 filibuster"}));

    // The bridge's retry question, answered right, puts the next one.
    Game bridge(episodeFrom(scenario::episode3(), 292));
    bridge.play({"Command1", "Command1", "Command6"});
    EXPECT_EQ(bridge.step(), 78);
    EXPECT_NE(bridge.text().find("John will call you back as soon as he ( ) his work."),
              std::string::npos);

    // Form10: 'why' instead of a second right 'that'; it is marked wrong, when right.
    for (int k : {2, 4}) {
        Lesson l("C10");
        walkTo(l, 59, {});
        EXPECT_EQ(l.lines(), (Lines{"Do you know the day ( ) I met her for the first time ?",
                                    "1 which  2 why  3 where  4 when"}));
        l.answer(k);
        EXPECT_EQ(l.text().rfind(k == 4 ? "正解" : "間違い", 0), 0u) << l.text();
    }

    // Form14: 'when' instead of a second right 'though'; it restarts the quiz, as wrong.
    for (int k : {1, 2}) {
        Lesson l("C14");
        walkTo(l, 63, {{59, 1}, {61, 3}});
        EXPECT_EQ(l.lines(),
                  (Lines{"3  Young (  ) he was, he was rich.", "「若かったが、彼は金持ちだった。」",
                         "1 when   2 as   3 but"}));
        l.answer(k);
        EXPECT_EQ(l.lines().front().rfind(k == 2 ? "正解" : "間違い", 0), 0u) << l.text();
    }
}

} // namespace
} // namespace quillory
