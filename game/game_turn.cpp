#include "game/game_script.h"

#include <algorithm>

namespace quillory {

namespace {

std::size_t slot(GameTrigger trigger)
{
    return static_cast<std::size_t>(trigger);
}

} // namespace

std::string triggerName(GameTrigger trigger)
{
    switch (trigger) {
    case GameTrigger::Talk:
        return "Talk";
    case GameTrigger::Partner:
        return "Partner";
    case GameTrigger::Answer1:
    case GameTrigger::Answer2:
    case GameTrigger::Answer3:
    case GameTrigger::Answer4:
        return "Answer " + std::to_string(static_cast<int>(trigger) -
                                          static_cast<int>(GameTrigger::Answer1) + 1);
    case GameTrigger::Again:
        return "Again";
    case GameTrigger::Move:
        return "Move";
    }
    return "?";
}

std::string describe(StepFrom from)
{
    if (!from.isRange())
        return std::to_string(from.low);
    return std::to_string(from.low) + "-" + std::to_string(from.high);
}

bool GameStory::isGameOver(int step) const
{
    return std::find(gameOverSteps.begin(), gameOverSteps.end(), step) != gameOverSteps.end();
}

bool GameStory::isStepValue(int step) const
{
    if (step >= 0 && step <= endStep)
        return true;
    for (int over : gameOverSteps) {
        if (step == over || step == over + 2 || step == over + 3)
            return true;
    }
    return std::find(retrySteps.begin(), retrySteps.end(), step) != retrySteps.end();
}

bool guardAdmits(GameTrigger trigger, int step)
{
    switch (trigger) {
    case GameTrigger::Talk:
        return step % 2 == 0;
    case GameTrigger::Again:
        return true;
    default:
        return step % 2 != 0;
    }
}

std::vector<const GameRule*> testOrder(const std::vector<GameRule>& rules, GameTrigger trigger)
{
    std::vector<const GameRule*> order;
    for (const GameRule& r : rules) {
        if (r.trigger == trigger)
            order.push_back(&r);
    }
    std::stable_sort(order.begin(), order.end(), [](const GameRule* a, const GameRule* b) {
        if (a->from.high != b->from.high)
            return a->from.high > b->from.high;
        return a->from.isRange() && !b->from.isRange();
    });
    return order;
}

GameTurns::GameTurns(const GameScript& script) : script_(script)
{
    for (GameTrigger t : kGameTriggers)
        ordered_[slot(t)] = testOrder(script.rules, t);
}

GameTurn GameTurns::turn(int step, GameTrigger trigger) const
{
    GameTurn turn;
    turn.hidesAnswers = isAnswer(trigger);
    if (!guardAdmits(trigger, step))
        return turn;
    for (const GameRule* r : ordered_[slot(trigger)]) {
        if (!r->from.contains(step))
            continue;
        turn.rules.push_back(r);
        if (r->to)
            step = *r->to;
    }
    return turn;
}

int GameTurns::stepAfter(const GameTurn& turn, int step)
{
    for (const GameRule* r : turn.rules) {
        if (r->to)
            step = *r->to;
    }
    return step;
}

std::optional<int> rightAnswer(const GameScript& script, int step)
{
    for (const GameRightAnswer& right : script.rightAnswers) {
        if (right.step == step)
            return right.answer;
    }
    return std::nullopt;
}

} // namespace quillory
