// The sentence-pattern quiz as data: what each button does at each StepNo.
#pragma once

#include "ui/effect.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

// From value of a row that applies at every StepNo.
inline constexpr int AnyStep = -1;

struct QuizRule {
    int from = AnyStep;
    std::string button;
    std::vector<Effect> effects;
    std::int16_t to = 1;
};

// StepNo after the twentieth right answer, and after a wrong one.
inline constexpr std::int16_t QuizDone = 21;
inline constexpr std::int16_t QuizOver = 22;

// The first question, shown at load, on retry and after going back to the menu.
inline constexpr std::string_view QuizOpening = "Mary likes music.   は第何文型？";

// Rows in priority order: the first row that matches StepNo and the button applies.
// A click that no row matches does nothing.
const std::vector<QuizRule>& quizRules();

// The rule a click of `button` runs at `step`, or nullptr when it does nothing.
const QuizRule* quizTurn(int step, std::string_view button);

// The button that names the pattern of the sentence at `step` right, or nothing
// where no sentence waits for an answer (outside 1 to 20).
std::optional<std::string_view> quizRightButton(int step);

// Problems with the rules: a sentence at which a button other than its right one
// goes on to the next, or the right one does not. Empty when sound.
std::vector<std::string> checkQuizRules();

} // namespace quillory
