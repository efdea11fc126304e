// The game's script as data: rules of (From, Trigger, Effects, To) where From may
// be a range of steps and To may be absent.
#pragma once

#include "ui/effect.h"

#include <array>
#include <iterator>
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

// What the story is, beyond its rules: how it opens, where it ends, and the
// steps outside the story that StepNo may take.
struct GameStory {
    // Said by the partner with the first picture, on entry and after each way back.
    std::string greeting;
    std::string firstPicture;
    // The story's last step: only the way back acts there.
    int endStep = 0;
    // Where a wrong answer ends; each has its retry question at +2 and +3.
    std::vector<int> gameOverSteps;
    // Further steps of a retry that asks more than one question.
    std::vector<int> retrySteps;

    bool isGameOver(int step) const;
    // The values StepNo may take: the story's steps 0 to endStep, the game overs,
    // their retry steps and the further retry steps.
    bool isStepValue(int step) const;
};

// The answer (1 to 4) that goes on in the story at a question, the odd step at
// which the answer buttons act; every other answer there is wrong.
struct GameRightAnswer {
    int step = 0;
    int answer = 0;
};

// The answer of a question that judges nothing: every answer goes on, each its
// own way, and so counts as right.
inline constexpr int kAnyAnswer = 0;

struct GameScript {
    std::vector<GameRule> rules;
    // The steps this script tells in full; the check demands a rule at each of them.
    std::vector<StepFrom> spans;
    GameStory story;
    // One per question.
    std::vector<GameRightAnswer> rightAnswers;
};

// The right answer at the question awaited at `step` (1 to 4, or kAnyAnswer),
// or nothing where no question is.
std::optional<int> rightAnswer(const GameScript& script, int step);

// Whether a trigger's guard lets its button act at a step.
bool guardAdmits(GameTrigger trigger, int step);

// A button's rules in the order a click tests them: by the upper end of From,
// highest first; a range before a single value of the same upper end; otherwise
// as listed.
std::vector<const GameRule*> testOrder(const std::vector<GameRule>& rules, GameTrigger trigger);

// What one click of a button does: whether it first hides the answer buttons,
// then the rules that act, in order. Each rule sees StepNo as the rules before it
// left it, so a remap and the rule it leads to act in the same click.
struct GameTurn {
    bool hidesAnswers = false;
    std::vector<const GameRule*> rules;
};

// The turns of one script: its rules in test order, per button. Refers to the
// script, which must outlive it.
class GameTurns {
public:
    explicit GameTurns(const GameScript& script);

    GameTurn turn(int step, GameTrigger trigger) const;
    // Where StepNo ends after a turn from `step`.
    static int stepAfter(const GameTurn& turn, int step);
    const GameScript& script() const { return script_; }

private:
    const GameScript& script_;
    std::array<std::vector<const GameRule*>, std::size(kGameTriggers)> ordered_;
};

// Problems with a script: rules off their button's guard, duplicates, rules whose
// order is ambiguous, remaps that lead nowhere, rules caught again in the same
// click, steps without a way on, steps that only hidden buttons leave, pictures
// not among the assets, questions without exactly one right answer or whose
// right answer fails or leads where a wrong one does. Empty when sound.
std::vector<std::string> checkGameRules(const GameScript& script,
                                        const std::vector<std::string>& pictures);

// Problems with the way a script's clicks lead from step to step, found by
// playing every button at every step reached: steps of the spans that cannot be
// reached from 0 (or from the first step of a span the spans before it do not
// lead into), values outside those StepNo may take, rules acting at the story's
// end, answers that neither go on nor fail properly, question series without a
// way to their game over or failing to more than one, and retries that do not
// lead back into a series that fails into them. checkGameRules includes these.
std::vector<std::string> checkGameFlow(const GameScript& script);

} // namespace quillory
