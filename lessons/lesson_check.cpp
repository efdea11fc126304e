// The checks of a lesson's script table.
#include "lessons/lesson_screen.h"

#include <algorithm>
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
    return problems;
}

} // namespace quillory
