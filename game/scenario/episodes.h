// The episodes of THE LANTERN ROAD, one table of rules each.
#pragma once

#include "game/game_script.h"

#include <string>
#include <vector>

namespace quillory::scenario {

struct Episode {
    // The steps the episode owns; every rule of the episode starts inside them.
    std::vector<StepFrom> spans;
    std::vector<GameRule> rules;
    // The right answer at each of the episode's questions.
    std::vector<GameRightAnswer> rightAnswers;
};

// How the story opens, where it ends and the steps of its game overs.
const GameStory& story();

// Rules of the engine that every episode relies on: Talk's choice ranges and
// Again's first rule.
const std::vector<GameRule>& sharedRules();

// The old woman's test: steps 0 to 25 and 280 to 283.
const Episode& episode1();
// The boy's request: steps 26 to 65.
const Episode& episode2();
// The bridge and the imagination world: steps 66 to 107 and 290 to 293.
const Episode& episode3();
// The monster's servant: steps 108 to 127 and 300 to 303.
const Episode& episode4();
// The water trap: steps 128 to 175 and 310 to 321.
const Episode& episode5();
// The girl who shows the way: steps 176 to 203 and 330 to 333.
const Episode& episode6();
// The gatekeeper: steps 204 to 229 and 340 to 343.
const Episode& episode7();
// The final battle and the ending: steps 230 to 279 and 350 to 353.
const Episode& episode8();

// Every episode, in story order.
const std::vector<const Episode*>& episodes();

} // namespace quillory::scenario
