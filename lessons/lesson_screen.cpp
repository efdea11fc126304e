#include "lessons/lesson_screen.h"

namespace quillory {

namespace {

constexpr int kChoiceTop = 1800;
constexpr int kChoiceSize = 495;

} // namespace

LessonScreen::LessonScreen(ScreenHost& host, const LessonProfile& profile,
                           const LessonScript& script)
    : ConversationScreen(host, profile.screen, profile.caption, 7155, 4305, profile.background,
                         profile.pictureControl, Speaker::Teacher),
      profile_(profile), script_(script)
{
    add(makePicture(profile.pictureControl, {360, 0, 3135, 2295}));
    add(makeText("T1", "会話", {360, 2400, 6495, profile.textHeight}, true));
    add(makeButton("Command1", profile.talkCaption, {3840, 240, 2175, 375}));
    add(makeButton("Command2", "先生が話す", {3840, 720, 2175, 375}));
    add(makeButton("Command3", profile.backCaption, {3840, 1200, 2175, 375}));
    addAnswerButtons(profile.choiceLefts, kChoiceTop, kChoiceSize);
    bindConversationKeys();
}

void LessonScreen::load()
{
    open(profile_.teacherPicture, profile_.greeting);
}

void LessonScreen::take(Trigger trigger)
{
    const LessonTurn turn = lessonTurn(script_, answerCount(), stepNo(), trigger);
    if (turn.row != nullptr && trigger.kind == TriggerKind::Answer)
        noteAnswer(trigger.answer, rightAnswer(script_, stepNo()));
    if (turn.hidesAnswers)
        hideAllChoices();
    for (const std::vector<int>* choices : turn.shows)
        setChoices(*choices, true);
    if (turn.row != nullptr)
        run(*turn.row, !turn.shows.empty());
}

bool LessonScreen::acts(std::string_view button) const
{
    Trigger trigger = Answer(answerNumber(button));
    if (button == "Command1")
        trigger = Talk;
    else if (button == "Command2")
        trigger = Teacher;
    else if (button == "Command3")
        return true;
    else if (trigger.answer == 0)
        return false;
    const LessonTurn turn = lessonTurn(script_, answerCount(), stepNo(), trigger);
    // An answer button that hides the answer buttons hides itself.
    if (turn.hidesAnswers)
        return true;
    for (const std::vector<int>* choices : turn.shows) {
        if (choicesChange(*choices, true))
            return true;
    }
    return turn.row != nullptr && changes(turn.row->effects, turn.row->to);
}

void LessonScreen::back()
{
    if (stepNo() >= profile_.backResetsFrom)
        setStepNo(0);
    finished_ = false;
    leave(profile_.backTo, profile_.teacherPicture, profile_.afterBack());
}

void LessonScreen::run(const StepTransition& r, bool asks)
{
    const Speaker who = speakerOf(r.trigger.kind == TriggerKind::Talk     ? Voice::Talk
                                  : r.trigger.kind == TriggerKind::Answer ? Voice::Answer
                                                                          : Voice::Other,
                                  asks || showsChoices(r.effects));
    for (const Effect& e : r.effects)
        applyConversationEffect(e, who); // game words: the check rejects them in lessons
    setStepNo(r.to);
    finished_ = finished_ || r.from == lastRowFrom(script_);
}

} // namespace quillory
