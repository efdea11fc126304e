#include "quiz/quiz_screen.h"

#include "quiz/quiz_rules.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace quillory {

namespace {

std::string spaces(int count)
{
    return std::string(count, ' ');
}

std::string ideographicSpaces(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "\u3000";
    return text;
}

class QuizScreen : public Screen {
public:
    explicit QuizScreen(ScreenHost& host)
        : Screen(host, "Form18", "怒濤の文型当て問題", 7155, 4305, {255, 192, 192})
    {
        const Rgb green{128, 255, 128};
        const Rgb yellow{255, 255, 224};
        add(makeLabel("Label1",
                      ideographicSpaces(8) + "目指せ" + ideographicSpaces(1) +
                          "２０問パーフェクト！" + ideographicSpaces(7) +
                          "～間違えたら最初からやり直し～",
                      {840, 120, 5415, 615}, green));
        add(makeLabel("Label2", spaces(8) + "S V" + spaces(10) + "（第１文型）",
                      {360, 840, 1215, 375}, yellow));
        add(makeLabel("Label3", spaces(7) + "S V C" + spaces(8) + "（第２文型）",
                      {1680, 840, 1215, 375}, yellow));
        add(makeLabel("Label4",
                      spaces(7) + "S V O" + spaces(5) + ideographicSpaces(1) + spaces(1) +
                          "（第３文型）",
                      {3000, 840, 1335, 375}, yellow));
        add(makeLabel("Label5", spaces(4) + "S V O O" + spaces(6) + "（第４文型）",
                      {4440, 840, 1215, 375}, yellow));
        add(makeLabel("Label6", spaces(5) + "S V O C" + spaces(7) + "（第５文型）",
                      {5760, 840, 1215, 375}, yellow));
        add(makeText("T1", "問題", {240, 1680, 6735, 1095}, false));
        add(makeButton("Command1", "第１文型", {360, 3000, 1215, 375}));
        add(makeButton("Command2", "第２文型", {1680, 3000, 1215, 375}));
        add(makeButton("Command3", "第３文型", {3000, 3000, 1215, 375}));
        add(makeButton("Command4", "第４文型", {4320, 3000, 1215, 375}));
        add(makeButton("Command5", "第５文型", {5640, 3000, 1215, 375}));
        add(makeButton("Command6", "再    挑    戦", {840, 3600, 2535, 495}));
        add(makeButton("Command7", "終了 （ メニューに戻る）", {3840, 3600, 2535, 495}));
        for (int k = 1; k <= 5; ++k)
            bindKey(static_cast<Key>(static_cast<int>(Key::Digit1) + k - 1),
                    "Command" + std::to_string(k));
        bindKey(Key::Escape, "Command7");
        bindKey(Key::Return, "Command6", KeyBinding::When::Always, true);
    }

    std::optional<int> step() const override { return stepNo_; }
    std::optional<int> progressStep() const override
    {
        if (stepNo_ > QuizDone)
            return std::nullopt; // a game over
        return stepNo_;
    }
    int lastStep() const override { return QuizDone; }
    bool finished() const override { return stepNo_ == QuizDone; }

    void load() override
    {
        greet(Speaker::Question, std::string(QuizOpening));
        stepNo_ = 1;
    }

protected:
    bool acts(std::string_view button) const override
    {
        const QuizRule* rule = quizTurn(stepNo_, button);
        return rule != nullptr &&
               (rule->to != stepNo_ ||
                std::any_of(rule->effects.begin(), rule->effects.end(),
                            [this](const Effect& e) { return sharedEffectChanges(e, {}); }));
    }

    void onClick(std::string_view control) override
    {
        const QuizRule* rule = quizTurn(stepNo_, control);
        if (rule == nullptr)
            return;
        if (const int k = patternNumber(control)) {
            std::optional<bool> right;
            if (const auto button = quizRightButton(stepNo_))
                right = *button == control;
            noteAnswer(stepNo_, k, this->control(control).text, right);
        }
        // The way back hides the quiz and resets it: the next entry's log starts
        // with the opening sentence that the rule puts back.
        const bool leaving =
            std::any_of(rule->effects.begin(), rule->effects.end(), [&](const Effect& e) {
                return e.kind == EffectKind::HideForm && e.text() == name();
            });
        if (leaving)
            clearConversation();
        // Rules that lead back to the first sentence show the opening question;
        // every other text answers an answer.
        const Speaker who = rule->to == 1 ? Speaker::Question : Speaker::Feedback;
        for (const Effect& effect : rule->effects)
            apply(effect, who);
        stepNo_ = rule->to;
    }

private:
    // The pattern a button names (Command1 to Command5), or 0.
    static int patternNumber(std::string_view button)
    {
        for (int k = 1; k <= 5; ++k) {
            if (button == "Command" + std::to_string(k))
                return k;
        }
        return 0;
    }

    void apply(const Effect& effect, Speaker who)
    {
        // The quiz has a text box but no picture, answer lists or game buttons.
        if (effect.kind != EffectKind::ShowPicture)
            applySharedEffect(effect, {}, who);
    }

    std::int16_t stepNo_ = 1;
};

} // namespace

std::unique_ptr<Screen> makeQuizScreen(ScreenHost& host)
{
    return std::make_unique<QuizScreen>(host);
}

} // namespace quillory
