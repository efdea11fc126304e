#include "lessons/lesson_script.h"

#include <algorithm>

namespace quillory {

namespace {

const StepTransition* rowOf(const LessonScript& script, int from, Trigger trigger)
{
    for (const StepTransition& r : script.rows) {
        if (r.from == from && r.trigger == trigger)
            return &r;
    }
    return nullptr;
}

bool ignores(const LessonScript& script, int answer, int step)
{
    return std::any_of(
        script.answerIgnores.begin(), script.answerIgnores.end(), [&](const AnswerIgnore& ignore) {
            return ignore.answer == answer &&
                   std::find(ignore.steps.begin(), ignore.steps.end(), step) != ignore.steps.end();
        });
}

} // namespace

int lastStep(const LessonScript& script)
{
    int last = 0;
    for (const StepTransition& r : script.rows)
        last = std::max({last, r.from, r.to});
    return last;
}

int lastRowFrom(const LessonScript& script)
{
    int last = 0;
    for (const StepTransition& r : script.rows)
        last = std::max(last, r.from);
    return last;
}

LessonTurn lessonTurn(const LessonScript& script, int answers, int step, Trigger trigger)
{
    LessonTurn turn;
    switch (trigger.kind) {
    case TriggerKind::Talk:
        if (step % 2 != 0)
            break;
        for (const ChoiceRange& range : script.talkShowChoices) {
            if (step >= range.low && step <= range.high)
                turn.shows.push_back(&range.choices);
        }
        turn.row = rowOf(script, step, Talk);
        break;
    case TriggerKind::Teacher:
        if (step % 2 != 0)
            turn.row = rowOf(script, step, Teacher);
        break;
    case TriggerKind::Answer:
        if (trigger.answer < 1 || trigger.answer > answers || step < script.answersFrom)
            break;
        turn.hidesAnswers = script.answerHideFrom >= 0 && step >= script.answerHideFrom;
        turn.row = rowOf(script, step, trigger);
        if (turn.row == nullptr && !ignores(script, trigger.answer, step))
            turn.row = rowOf(script, AnyOther, trigger);
        break;
    }
    return turn;
}

std::optional<int> rightAnswer(const LessonScript& script, int step)
{
    for (const RightAnswer& right : script.rightAnswers) {
        if (right.step == step)
            return right.answer;
    }
    return std::nullopt;
}

} // namespace quillory
