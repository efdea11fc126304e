#include "lessons/lesson_screen.h"

#include "app/navigator.h"

#include <algorithm>
#include <set>
#include <utility>

namespace quillory {

namespace {

constexpr int kChoiceTop = 1800;
constexpr int kChoiceSize = 495;
constexpr int kFirstChoiceButton = 4; // answer 1 is Command4

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

// Who says the text a row of this trigger writes.
Speaker speakerOf(Trigger t)
{
    switch (t.kind) {
    case TriggerKind::Talk:
        return Speaker::Learner;
    case TriggerKind::Teacher:
        return Speaker::Teacher;
    case TriggerKind::Answer:
        return Speaker::Feedback;
    }
    return Speaker::Teacher;
}

} // namespace

std::string LessonScreen::choiceName(int k)
{
    return "Command" + std::to_string(kFirstChoiceButton + k - 1);
}

LessonScreen::LessonScreen(Navigator& navigator, const LessonProfile& profile,
                           const LessonScript& script)
    : Screen(navigator, profile.screen, profile.caption, 7155, 4305, profile.background),
      profile_(profile), script_(script)
{
    add(makePicture(profile.pictureControl, {360, 0, 3135, 2295}));
    add(makeText("T1", "会話", {360, 2400, 6495, profile.textHeight}, true));
    add(makeButton("Command1", profile.talkCaption, {3840, 240, 2175, 375}));
    add(makeButton("Command2", "先生が話す", {3840, 720, 2175, 375}));
    add(makeButton("Command3", profile.backCaption, {3840, 1200, 2175, 375}));
    static const char* const kDigits[] = {"１", "２", "３", "４", "５"};
    for (int k = 1; k <= profile.choiceCount(); ++k) {
        add(makeButton(choiceName(k), kDigits[k - 1],
                       {profile.choiceLefts[static_cast<std::size_t>(k - 1)], kChoiceTop,
                        kChoiceSize, kChoiceSize},
                       false));
    }
    bindConversationKeys(profile.choiceCount());
}

void LessonScreen::load()
{
    showPicture(profile_.pictureControl, profile_.teacherPicture);
    greet(Speaker::Teacher, profile_.greeting);
}

void LessonScreen::onClick(std::string_view control)
{
    if (control == "Command1")
        talk();
    else if (control == "Command2")
        teacher();
    else if (control == "Command3")
        back();
    else {
        for (int k = 1; k <= profile_.choiceCount(); ++k) {
            if (control == choiceName(k))
                answer(k);
        }
    }
}

void LessonScreen::talk()
{
    if (stepNo_ % 2 != 0)
        return;
    for (const ChoiceRange& range : script_.talkShowChoices) {
        if (stepNo_ >= range.low && stepNo_ <= range.high)
            setChoices(range.choices, true);
    }
    if (const StepTransition* r = row(stepNo_, Talk))
        run(*r);
}

void LessonScreen::teacher()
{
    if (stepNo_ % 2 == 0)
        return;
    if (const StepTransition* r = row(stepNo_, Teacher))
        run(*r);
}

void LessonScreen::answer(int k)
{
    if (k < 1 || k > profile_.choiceCount() || stepNo_ < script_.answersFrom)
        return;
    if (script_.answerHideFrom >= 0 && stepNo_ >= script_.answerHideFrom)
        hideAllChoices();
    if (const StepTransition* r = row(stepNo_, Answer(k))) {
        run(*r);
        return;
    }
    if (ignores(k, stepNo_))
        return;
    if (const StepTransition* r = row(AnyOther, Answer(k)))
        run(*r);
}

void LessonScreen::back()
{
    if (stepNo_ >= profile_.backResetsFrom)
        stepNo_ = 0;
    hideAllChoices();
    navigator().showForm(profile_.backTo);
    navigator().hideForm(name());
    showPicture(profile_.pictureControl, profile_.teacherPicture);
    greet(Speaker::Teacher, profile_.greetingAfterBack);
}

const StepTransition* LessonScreen::row(int from, Trigger trigger) const
{
    for (const StepTransition& r : script_.rows) {
        if (r.from == from && r.trigger == trigger)
            return &r;
    }
    return nullptr;
}

bool LessonScreen::ignores(int answer, int step) const
{
    for (const AnswerIgnore& ignore : script_.answerIgnores) {
        if (ignore.answer == answer &&
            std::find(ignore.steps.begin(), ignore.steps.end(), step) != ignore.steps.end())
            return true;
    }
    return false;
}

void LessonScreen::run(const StepTransition& r)
{
    for (const Effect& e : r.effects)
        apply(e, speakerOf(r.trigger));
    stepNo_ = static_cast<std::int16_t>(r.to);
}

void LessonScreen::apply(const Effect& e, Speaker who)
{
    if (applySharedEffect(e, profile_.pictureControl, who))
        return;
    switch (e.kind) {
    case EffectKind::ShowChoices:
        setChoices(e.choices, true);
        break;
    case EffectKind::HideChoices:
        setChoices(e.choices, false);
        break;
    default:
        break; // game words: the check rejects them in lesson scripts
    }
}

void LessonScreen::setChoices(const std::vector<int>& choices, bool visible)
{
    for (int k : choices) {
        if (k >= 1 && k <= profile_.choiceCount())
            setVisible(choiceName(k), visible);
    }
}

void LessonScreen::hideAllChoices()
{
    for (int k = 1; k <= profile_.choiceCount(); ++k)
        setVisible(choiceName(k), false);
}

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

    std::set<std::pair<int, std::pair<int, int>>> seen;
    for (const StepTransition& r : script.rows) {
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
