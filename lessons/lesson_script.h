// A lesson's script as data: rows of (From, Trigger, Effects, To) and the
// dispatch rules of its buttons.
#pragma once

#include "ui/effect.h"

#include <optional>
#include <vector>

namespace quillory {

enum class TriggerKind { Talk, Teacher, Answer };

struct Trigger {
    TriggerKind kind = TriggerKind::Talk;
    int answer = 0; // Answer k: 1 based
    friend bool operator==(const Trigger&, const Trigger&) = default;
};

inline constexpr Trigger Talk{TriggerKind::Talk, 0};
inline constexpr Trigger Teacher{TriggerKind::Teacher, 0};
constexpr Trigger Answer(int k)
{
    return Trigger{TriggerKind::Answer, k};
}

// From value of an answer row that applies at any StepNo its button neither
// handles by another row nor ignores (see LessonScript::answerIgnores).
inline constexpr int AnyOther = -1;

struct StepTransition {
    int from = 0;
    Trigger trigger;
    std::vector<Effect> effects;
    int to = 0;
};

// Talk shows these answer buttons before its row, at even StepNo from low to high.
struct ChoiceRange {
    int low = 0;
    int high = 0;
    std::vector<int> choices;
};

// StepNo values at which an answer button with an AnyOther row does nothing.
struct AnswerIgnore {
    int answer = 0;
    std::vector<int> steps;
};

// The right answer to a question: the button that answers the question
// awaited at `step` right (1 based).
struct RightAnswer {
    int step = 0;
    int answer = 0;
};

struct LessonScript {
    std::vector<StepTransition> rows;
    // Answer buttons do nothing while StepNo is below this value.
    int answersFrom = 0;
    // When set, every answer click at this StepNo or above first hides all answer buttons.
    int answerHideFrom = -1;
    std::vector<ChoiceRange> talkShowChoices;
    std::vector<AnswerIgnore> answerIgnores;
    // One per question: each step at which an answer button runs a row of that step.
    std::vector<RightAnswer> rightAnswers;
};

// What one click of a lesson's button does at a step: whether it first hides
// every answer button, which answer buttons Talk shows first, and the row it
// runs, if any. Talk acts at an even step, Teacher at an odd one; an answer acts
// from answersFrom on, by its own row, else by its AnyOther row unless ignored.
struct LessonTurn {
    bool hidesAnswers = false;
    std::vector<const std::vector<int>*> shows;
    const StepTransition* row = nullptr;
};

// The highest step the script names, and the From of its last row: the lesson
// is finished once a row of that From has run.
int lastStep(const LessonScript& script);
int lastRowFrom(const LessonScript& script);

// `answers`: how many answer buttons the screen has.
LessonTurn lessonTurn(const LessonScript& script, int answers, int step, Trigger trigger);

// The right answer to the question awaited at `step`, or nothing where none is.
std::optional<int> rightAnswer(const LessonScript& script, int step);

} // namespace quillory
