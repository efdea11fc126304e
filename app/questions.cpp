#include "app/questions.h"

#include "game/game_screen.h"
#include "lessons/lesson_profile.h"
#include "lessons/lesson_screen.h"
#include "quiz/quiz_rules.h"
#include "ui/screen.h"

#include <algorithm>

namespace quillory {

namespace {

const char* const kDigits[] = {"１", "２", "３", "４", "５"};

// The text and the picture that effects leave in the box, if any.
void take(const std::vector<Effect>& effects, std::string& text, std::string* picture)
{
    for (const Effect& e : effects) {
        if (e.kind == EffectKind::SetText)
            text = e.text();
        else if (e.kind == EffectKind::WriteLines)
            text = writeLinesText(e.lines);
        else if (e.kind == EffectKind::ShowPicture && picture != nullptr)
            *picture = e.text();
    }
}

std::optional<AskedQuestion> lessonQuestion(const LessonProfile& profile, int step)
{
    const LessonScript& script = profile.script();
    const int answers = profile.choiceCount();
    AskedQuestion q{
        profile.screen,           step, profile.caption, {}, profile.teacherPicture, {}, {},
        rightAnswer(script, step)};
    bool any = false;
    for (int k = 1; k <= answers; ++k) {
        const StepTransition* row = lessonTurn(script, answers, step, Answer(k)).row;
        std::string feedback;
        if (row != nullptr) {
            take(row->effects, feedback, nullptr);
            any = true;
        }
        q.captions.push_back(kDigits[k - 1]);
        q.feedback.push_back(feedback);
    }
    if (!any)
        return std::nullopt;
    // The picture the rows before the question showed last, and the text of the
    // row that led to it.
    std::vector<const StepTransition*> before;
    for (const StepTransition& r : script.rows) {
        if (r.from >= 0 && r.from < step)
            before.push_back(&r);
    }
    std::stable_sort(before.begin(), before.end(),
                     [](const auto* a, const auto* b) { return a->from < b->from; });
    for (const StepTransition* r : before) {
        std::string ignored;
        take(r->effects, ignored, &q.picture);
    }
    // The teacher's words before the choices, then the choices.
    std::string lead;
    for (const StepTransition* r : before) {
        if (r->to == step - 1 && r->trigger.kind == TriggerKind::Teacher)
            take(r->effects, lead, nullptr);
        if (r->to == step)
            take(r->effects, q.text, nullptr);
    }
    if (!lead.empty())
        q.text = lead + "\r\n" + q.text;
    return q;
}

std::optional<AskedQuestion> gameQuestion(int step)
{
    const GameScript& script = gameScript();
    const GameTurns turns(script);
    AskedQuestion q{"Form17", step, "THE LANTERN ROAD",       {}, script.story.firstPicture,
                    {},       {},   rightAnswer(script, step)};
    bool any = false;
    for (int k = 1; k <= 4; ++k) {
        std::string feedback;
        for (const GameRule* r : turns.turn(step, GameAnswer(k)).rules) {
            take(r->effects, feedback, nullptr);
            any = true;
        }
        q.captions.push_back(kDigits[k - 1]);
        q.feedback.push_back(feedback);
    }
    if (!any)
        return std::nullopt;
    std::vector<const GameRule*> before;
    for (const GameRule& r : script.rules) {
        if (r.from.low < step)
            before.push_back(&r);
    }
    std::stable_sort(before.begin(), before.end(),
                     [](const auto* a, const auto* b) { return a->from.low < b->from.low; });
    std::string lead;
    for (const GameRule* r : before) {
        std::string ignored;
        take(r->effects, ignored, &q.picture);
        if (r->to == step - 1 && !r->from.isRange() && r->trigger != GameTrigger::Talk)
            take(r->effects, lead, nullptr);
        if (r->to == step && !r->from.isRange())
            take(r->effects, q.text, nullptr);
    }
    if (!lead.empty())
        q.text = lead + "\r\n" + q.text;
    return q;
}

std::optional<AskedQuestion> quizQuestion(int step)
{
    const std::optional<std::string_view> right = quizRightButton(step);
    if (!right)
        return std::nullopt;
    AskedQuestion q{"Form18", step, "怒濤の文型当て問題", std::string(QuizOpening), {}, {}, {}, {}};
    if (const QuizRule* previous = quizTurn(step - 1, quizRightButton(step - 1).value_or("")))
        take(previous->effects, q.text, nullptr);
    static const char* const kPatterns[] = {"第１文型", "第２文型", "第３文型", "第４文型",
                                            "第５文型"};
    for (int k = 1; k <= 5; ++k) {
        const std::string button = "Command" + std::to_string(k);
        std::string feedback;
        if (const QuizRule* rule = quizTurn(step, button))
            take(rule->effects, feedback, nullptr);
        q.captions.push_back(kPatterns[k - 1]);
        q.feedback.push_back(feedback);
        if (button == *right)
            q.right = k;
    }
    return q;
}

} // namespace

std::optional<AskedQuestion> askedQuestion(const std::string& screen, int step)
{
    if (screen == "Form17")
        return gameQuestion(step);
    if (screen == "Form18")
        return quizQuestion(step);
    if (const LessonProfile* profile = lessonProfile(screen))
        return lessonQuestion(*profile, step);
    return std::nullopt;
}

} // namespace quillory
