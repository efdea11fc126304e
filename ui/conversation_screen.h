// A conversation screen: a picture, the text box T1, Talk (Command1), the other
// speaker (Command2), the way back (Command3), numbered answer buttons from
// Command4 on, and a StepNo. Subclasses lay the controls out and say what each
// button does at each step.
#pragma once

#include "ui/screen.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillory {

class ConversationScreen : public Screen {
public:
    std::optional<int> step() const override { return stepNo_; }

    // At most five answer buttons.
    static constexpr int kMaxAnswers = 5;
    int answerCount() const { return answerCount_; }
    // The button of answer k (1 based): Command4 onward.
    static std::string answerButton(int k);
    // The answer number of a button of this screen, or 0.
    int answerNumber(std::string_view button) const;

protected:
    // `other` speaks with Command2 and says the greeting.
    ConversationScreen(ScreenHost& host, std::string name, std::string caption, int width,
                       int height, Rgb background, std::string pictureBox, Speaker other);

    // The answer buttons "１" to "５", hidden, at the given lefts and top, square.
    void addAnswerButtons(const std::vector<int>& lefts, int top, int size);

    // The keys of a conversation: 1 to 5 press the numbered answer buttons,
    // Return presses Talk (Command1) at an even StepNo and the other speaker
    // (Command2) at an odd one, Escape the way back (Command3). With
    // `returnOnlyWhenLive`, Return presses them only while they would act.
    void bindConversationKeys(bool returnOnlyWhenLive = false);

    void onClick(std::string_view control) override;
    virtual void talk() = 0;
    virtual void other() = 0;
    virtual void answer(int k) = 0;
    virtual void back() = 0;
    // A button beyond the conversation's own; ignored unless a subclass has it.
    virtual void otherButton(std::string_view /*control*/) {}

    // Who says the text a rule writes: the learner with Talk, feedback with an
    // answer, the other speaker with any other button.
    // A text that comes with answer buttons shown puts a question.
    enum class Voice { Talk, Answer, Other };
    Speaker speakerOf(Voice voice, bool asks = false) const;
    // Whether effects show answer buttons.
    static bool showsChoices(const std::vector<Effect>& effects);
    // Notes answer k to the question awaited now.
    void noteAnswer(int k, std::optional<int> right);

    // The opening: the first picture and the greeting, the log starting again.
    void open(const std::string& picture, const std::string& greeting);
    // The way back: hide the answer buttons, show `to` and hide this screen, then
    // open again for the next entry.
    void leave(std::string_view to, const std::string& picture, const std::string& greeting);

    // The shared words, and Show/HideChoices on the answer buttons. False for any
    // other word.
    bool applyConversationEffect(const Effect& effect, Speaker who);
    void setChoices(const std::vector<int>& choices, bool visible);
    // Whether a word would change what the screen shows now.
    bool conversationEffectChanges(const Effect& effect) const;
    // Whether effects, then StepNo becoming `to`, would change anything.
    bool changes(const std::vector<Effect>& effects, std::optional<int> to) const;
    // Whether showing these answer buttons would change anything.
    bool choicesChange(const std::vector<int>& choices, bool visible) const;
    // A word of a subclass's own.
    virtual bool ownEffectChanges(const Effect& /*effect*/) const { return false; }
    void hideAllChoices();

    int stepNo() const { return stepNo_; }
    void setStepNo(int step) { stepNo_ = static_cast<std::int16_t>(step); }
    const std::string& pictureBox() const { return pictureBox_; }

private:
    std::string pictureBox_;
    Speaker other_;
    int answerCount_ = 0;
    std::int16_t stepNo_ = 0; // a 16-bit integer, as the scripts count
};

} // namespace quillory
