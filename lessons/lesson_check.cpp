// The checks of a lesson's script table.
#include "lessons/lesson_screen.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace quillory {

namespace {

std::string triggerName(Trigger t)
{
    switch (t.kind) {
    case TriggerKind::Talk:
        return "Talk";
    case TriggerKind::Teacher:
        return "Teacher";
    case TriggerKind::Answer:
        return "Answer " + std::to_string(t.answer);
    }
    return "?";
}

// Each question, a step at which an answer button runs a row of that step, has
// exactly one right answer, a button of the screen whose own row there goes on:
// a wrong answer may lead back to a retry, the right one never does.
void checkRightAnswers(const LessonProfile& profile, const LessonScript& script,
                       std::vector<std::string>& problems)
{
    const int answers = profile.choiceCount();
    auto at = [&](int step) { return profile.screen + " step " + std::to_string(step) + ": "; };
    auto ownRow = [&](int step, int k) -> const StepTransition* {
        const StepTransition* row = lessonTurn(script, answers, step, Answer(k)).row;
        return row != nullptr && row->from == step ? row : nullptr;
    };
    std::set<int> questions;
    for (const StepTransition& r : script.rows) {
        if (r.trigger.kind == TriggerKind::Answer && r.from >= 0 &&
            ownRow(r.from, r.trigger.answer) == &r)
            questions.insert(r.from);
    }
    std::map<int, int> given;
    for (const RightAnswer& right : script.rightAnswers) {
        const std::string what = at(right.step) + "right answer " + std::to_string(right.answer);
        if (++given[right.step] == 2)
            problems.push_back(at(right.step) + "more than one right answer");
        if (questions.count(right.step) == 0) {
            problems.push_back(what + " where no question waits");
            continue;
        }
        if (right.answer < 1 || right.answer > answers) {
            problems.push_back(what + " is not a button of the screen");
            continue;
        }
        const StepTransition* row = ownRow(right.step, right.answer);
        if (row == nullptr)
            problems.push_back(what + " runs no row of this step");
        else if (row->to <= right.step)
            problems.push_back(what + " does not go on (To " + std::to_string(row->to) + ")");
    }
    for (int q : questions) {
        if (given.count(q) == 0)
            problems.push_back(at(q) + "question without a right answer");
    }
}

} // namespace

std::vector<std::string> checkLessonScript(const LessonProfile& profile, const LessonScript& script,
                                           const std::vector<std::string>& pictures)
{
    std::vector<std::string> problems;
    auto problem = [&](const StepTransition& r, const std::string& what) {
        problems.push_back(profile.screen + " row " + std::to_string(r.from) + " " +
                           triggerName(r.trigger) + ": " + what);
    };
    auto pictureKnown = [&](const std::string& file) {
        return std::find(pictures.begin(), pictures.end(), file) != pictures.end();
    };
    if (!pictureKnown(profile.teacherPicture))
        problems.push_back(profile.screen + ": teacher picture " + profile.teacherPicture +
                           " is not among the assets");
    if (profile.choiceCount() > ConversationScreen::kMaxAnswers)
        problems.push_back(profile.screen + ": " + std::to_string(profile.choiceCount()) +
                           " answer buttons, more than the screen can hold");

    std::set<std::pair<int, std::pair<int, int>>> seen;
    for (const StepTransition& r : script.rows) {
        const std::size_t before = problems.size();
        const auto key = std::make_pair(
            r.from, std::make_pair(static_cast<int>(r.trigger.kind), r.trigger.answer));
        if (!seen.insert(key).second)
            problem(r, "more than one row for this From and Trigger");
        if (r.from < 0 && !(r.from == AnyOther && r.trigger.kind == TriggerKind::Answer))
            problem(r, "From below 0");
        if (r.to < 0 || r.to > 32767)
            problem(r, "To out of range");
        if (r.trigger.kind == TriggerKind::Talk && r.from % 2 != 0)
            problem(r, "Talk row at an odd StepNo");
        if (r.trigger.kind == TriggerKind::Teacher && r.from % 2 == 0)
            problem(r, "Teacher row at an even StepNo");
        if (r.trigger.kind == TriggerKind::Answer &&
            (r.trigger.answer < 1 || r.trigger.answer > profile.choiceCount()))
            problem(r, "answer button the screen lacks");
        // Otherwise sound, the row is the one a click of its trigger at its step runs.
        if (problems.size() == before && r.from >= 0 &&
            lessonTurn(script, profile.choiceCount(), r.from, r.trigger).row != &r)
            problem(r, "no click runs this row");
        for (const Effect& e : r.effects) {
            for (const std::string& what : effectProblems(e, profile.choiceCount(), pictures))
                problem(r, what);
            if (e.kind == EffectKind::ShowAgain || e.kind == EffectKind::HideAgain ||
                e.kind == EffectKind::ShowMove || e.kind == EffectKind::HideMove)
                problem(r, "game effect in a lesson");
        }
    }
    for (const ChoiceRange& range : script.talkShowChoices) {
        for (int k : range.choices) {
            if (k < 1 || k > profile.choiceCount())
                problems.push_back(profile.screen + ": Talk shows answer button " +
                                   std::to_string(k) + " the screen lacks");
        }
    }
    checkRightAnswers(profile, script, problems);
    return problems;
}

} // namespace quillory
