// The episodes of THE LANTERN ROAD, one table of rules each.
#pragma once

#include "game/game_script.h"

#include <string>
#include <vector>

namespace quillory::scenario {

struct Episode {
    std::string title;
    // The steps the episode owns; every rule of the episode starts inside them.
    std::vector<StepFrom> spans;
    std::vector<GameRule> rules;
};

// Rules of the engine that every episode relies on: Talk's choice ranges and
// Again's first rule.
const std::vector<GameRule>& sharedRules();

// The old woman's test: steps 0 to 25 and 280 to 283.
const Episode& episode1();
// The gatekeeper: steps 204 to 229 and 340 to 343.
const Episode& episode7();
// The final battle and the ending: steps 230 to 279 and 350 to 353.
const Episode& episode8();

// Every episode, in story order.
const std::vector<const Episode*>& episodes();

} // namespace quillory::scenario
