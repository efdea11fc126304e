// The quiz's chain of twenty sentences and the rules around it.
#include "quiz/quiz_rules.h"

#include "ui/screen_host.h"

namespace quillory {

namespace {

// A right answer: at StepNo `step`, `button` writes `text` and moves on to step + 1.
struct ChainRow {
    int step;
    const char* button;
    const char* text;
};

constexpr ChainRow kChain[] = {
    {1, "Command3", "正解！　Tom and Bob went to London.  は？"},
    {2, "Command1", "正解！　My sister brought me a cup of coffee. は？"},
    {3, "Command4", "正解！　My son became a doctor.  は？"},
    {4, "Command2", "正解！ Lucy sang her baby a lullaby. は？"},
    {5, "Command4", "正解！ Bob put his bag on the table. は？"},
    {6, "Command3", "正解！ My Mother always keeps her room clean. は？"},
    {7, "Command5", "正解！ You make me happy.  は？"},
    {8, "Command5", "正解！ Everything seems fresh to me. は？"},
    {9, "Command2", "正解！ My father usually goes for a walk before breakfast. は？"},
    {10, "Command1", "正解！ This flower smells good. は？"},
    {11, "Command2", "正解！ My sister lives in the country. は？"},
    {12, "Command1", "正解！ My father bought a bicycle for me. は？"},
    {13, "Command3", "正解！ Tom looked very sad at that time. は？"},
    {14, "Command2", "正解！ Mary married Tom yesterday. は？"},
    {15, "Command3", "正解！ At noon they had a wonderful picnic lunch. は？"},
    {16, "Command3", "正解！ There is an interesting book on the desk. は？"},
    {17, "Command1", "正解！　French is a very difficult language. は？"},
    {18, "Command2", "正解！ We painted the wall white. は？"},
    {19, "Command5", "正解！いよいよラスト！ He sent Bob a package.  は？"},
    {20, "Command4", "正解！いや～、お疲れ様でした！"},
};

constexpr const char* kAnswerButtons[] = {"Command1", "Command2", "Command3", "Command4",
                                          "Command5"};

constexpr std::int16_t kDone = QuizDone;
constexpr std::int16_t kGameOver = QuizOver;

std::vector<QuizRule> buildRules()
{
    std::vector<QuizRule> rules;
    for (const ChainRow& row : kChain)
        rules.push_back(
            {row.step, row.button, {SetText(row.text)}, static_cast<std::int16_t>(row.step + 1)});
    // After the last sentence the fourth button, the last right answer, does nothing.
    rules.push_back({kDone, "Command4", {}, kDone});
    // Every other answer is wrong, and so is any answer once the run is over.
    for (const char* button : kAnswerButtons)
        rules.push_back({AnyStep, button, {SetText("GAME OVER!")}, kGameOver});
    // Retry only after a wrong answer.
    rules.push_back({kGameOver, "Command6", {SetText(std::string(QuizOpening))}, 1});
    // Back to the menu, leaving the quiz ready for the next entry.
    rules.push_back({AnyStep,
                     "Command7",
                     {ShowForm(std::string(kMenuScreen)), HideForm("Form18"),
                      SetText(std::string(QuizOpening))},
                     1});
    return rules;
}

} // namespace

const std::vector<QuizRule>& quizRules()
{
    static const std::vector<QuizRule> rules = buildRules();
    return rules;
}

const QuizRule* quizTurn(int step, std::string_view button)
{
    for (const QuizRule& rule : quizRules()) {
        if (rule.button == button && (rule.from == AnyStep || rule.from == step))
            return &rule;
    }
    return nullptr;
}

std::optional<std::string_view> quizRightButton(int step)
{
    for (const ChainRow& row : kChain) {
        if (row.step == step)
            return row.button;
    }
    return std::nullopt;
}

std::vector<std::string> checkQuizRules()
{
    std::vector<std::string> problems;
    for (int step = 1; step < kDone; ++step) {
        const std::optional<std::string_view> right = quizRightButton(step);
        const std::string at = "quiz step " + std::to_string(step) + ": ";
        if (!right)
            problems.push_back(at + "no right button");
        for (std::string_view button : kAnswerButtons) {
            const QuizRule* rule = quizTurn(step, button);
            const bool goesOn = rule != nullptr && rule->to == step + 1;
            if (goesOn != (button == right))
                problems.push_back(at + std::string(button) +
                                   (goesOn ? " goes on but is not the right button"
                                           : " is the right button but does not go on"));
        }
    }
    return problems;
}

} // namespace quillory
