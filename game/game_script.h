// The game's script as data: rules of (From, Trigger, Effects, To) where From may
// be a range of steps and To may be absent.
#pragma once

#include "ui/effect.h"

#include <optional>
#include <string>
#include <vector>

namespace quillory {

enum class GameTrigger { Talk, Partner, Answer1, Answer2, Answer3, Answer4, Again, Move };

inline constexpr GameTrigger kGameTriggers[] = {
    GameTrigger::Talk,    GameTrigger::Partner, GameTrigger::Answer1, GameTrigger::Answer2,
    GameTrigger::Answer3, GameTrigger::Answer4, GameTrigger::Again,   GameTrigger::Move,
};

// Answer k (1 to 4).
constexpr GameTrigger GameAnswer(int k)
{
    return static_cast<GameTrigger>(static_cast<int>(GameTrigger::Answer1) + k - 1);
}

constexpr bool isAnswer(GameTrigger t)
{
    return t >= GameTrigger::Answer1 && t <= GameTrigger::Answer4;
}

std::string triggerName(GameTrigger trigger);

// From: one StepNo value (low == high) or an inclusive range.
struct StepFrom {
    int low = 0;
    int high = 0;

    constexpr bool contains(int step) const { return step >= low && step <= high; }
    constexpr bool isRange() const { return low != high; }
    friend constexpr bool operator==(const StepFrom&, const StepFrom&) = default;
};

constexpr StepFrom At(int step)
{
    return {step, step};
}
constexpr StepFrom Steps(int low, int high)
{
    return {low, high};
}

std::string describe(StepFrom from);

struct GameRule {
    StepFrom from;
    GameTrigger trigger = GameTrigger::Talk;
    std::vector<Effect> effects;
    // Absent: StepNo stays. A rule without effects is a remap.
    std::optional<int> to;

    bool isRemap() const { return effects.empty() && to.has_value(); }
};

// To of a rule that leaves StepNo as it is.
inline constexpr std::optional<int> Stay = std::nullopt;

// The four answer buttons, for ShowChoices and HideChoices.
inline const std::vector<int> kAllChoices{1, 2, 3, 4};

struct GameScript {
    std::vector<GameRule> rules;
    // The steps this script tells in full; the check demands a rule at each of them.
    std::vector<StepFrom> spans;
};

// Problems with a script: rules off their button's guard, duplicates, rules whose
// order is ambiguous, remaps that lead nowhere, rules caught again in the same
// click, steps without a way on, steps that only hidden buttons leave, pictures
// not among the assets. Empty when sound.
std::vector<std::string> checkGameRules(const GameScript& script,
                                        const std::vector<std::string>& pictures);

// The values StepNo may take in the game: the story's steps 0 to 279, the
// game-over steps, their retry steps and the water trap's second stage.
bool isGameStepValue(int step);
inline constexpr int kGameOverSteps[] = {280, 290, 300, 310, 330, 340, 350};
bool isGameOverStep(int step);

// Problems with the way a script's clicks lead from step to step, found by
// playing every button at every step reached: steps of the spans that cannot be
// reached from 0 (or from the first step of a span the spans before it do not
// lead into), values outside the table above, rules acting at the story's end,
// answers that neither go on nor fail properly, question series without a way
// to their game over or failing to more than one, and retries that do not lead
// back into a series that fails into them. checkGameRules includes these.
std::vector<std::string> checkGameFlow(const GameScript& script);

} // namespace quillory
