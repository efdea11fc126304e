#include "ui/conversation_screen.h"

#include "ui/screen_host.h"

#include <algorithm>
#include <utility>

namespace quillory {

namespace {

constexpr int kFirstAnswerButton = 4; // answer 1 is Command4

} // namespace

std::string ConversationScreen::answerButton(int k)
{
    return "Command" + std::to_string(kFirstAnswerButton + k - 1);
}

ConversationScreen::ConversationScreen(ScreenHost& host, std::string name, std::string caption,
                                       int width, int height, Rgb background,
                                       std::string pictureBox, Speaker other)
    : Screen(host, std::move(name), std::move(caption), width, height, background),
      pictureBox_(std::move(pictureBox)), other_(other)
{
}

void ConversationScreen::addAnswerButtons(const std::vector<int>& lefts, int top, int size)
{
    static const char* const kDigits[kMaxAnswers] = {"１", "２", "３", "４", "５"};
    for (std::size_t i = 0; i < lefts.size() && i < std::size(kDigits); ++i) {
        const int k = static_cast<int>(i) + 1;
        add(makeButton(answerButton(k), kDigits[i], {lefts[i], top, size, size}, false));
        answerCount_ = k;
    }
}

int ConversationScreen::answerNumber(std::string_view button) const
{
    for (int k = 1; k <= answerCount_; ++k) {
        if (button == answerButton(k))
            return k;
    }
    return 0;
}

void ConversationScreen::bindConversationKeys(bool returnOnlyWhenLive)
{
    for (int k = 1; k <= answerCount_; ++k)
        bindKey(static_cast<Key>(static_cast<int>(Key::Digit1) + k - 1), answerButton(k));
    bindKey(Key::Return, "Command1", KeyBinding::When::EvenStep, returnOnlyWhenLive);
    bindKey(Key::Return, "Command2", KeyBinding::When::OddStep, returnOnlyWhenLive);
    bindKey(Key::Escape, "Command3");
}

void ConversationScreen::onClick(std::string_view control)
{
    if (control == "Command1")
        return talk();
    if (control == "Command2")
        return other();
    if (control == "Command3")
        return back();
    if (const int k = answerNumber(control))
        return answer(k);
    otherButton(control);
}

bool ConversationScreen::showsChoices(const std::vector<Effect>& effects)
{
    return std::any_of(effects.begin(), effects.end(),
                       [](const Effect& e) { return e.kind == EffectKind::ShowChoices; });
}

void ConversationScreen::noteAnswer(int k, std::optional<int> right)
{
    // kAnyAnswer-like zero: every answer is right.
    std::optional<bool> wasRight;
    if (right)
        wasRight = *right == 0 || *right == k;
    Screen::noteAnswer(stepNo_, k, control(answerButton(k)).text, wasRight);
}

Speaker ConversationScreen::speakerOf(Voice voice, bool asks) const
{
    if (asks)
        return Speaker::Question;
    switch (voice) {
    case Voice::Talk:
        return Speaker::Learner;
    case Voice::Answer:
        return Speaker::Feedback;
    case Voice::Other:
        break;
    }
    return other_;
}

void ConversationScreen::open(const std::string& picture, const std::string& greeting)
{
    showPicture(pictureBox_, picture);
    greet(other_, greeting);
}

void ConversationScreen::leave(std::string_view to, const std::string& picture,
                               const std::string& greeting)
{
    hideAllChoices();
    host().showForm(to);
    host().hideForm(name());
    open(picture, greeting);
}

bool ConversationScreen::applyConversationEffect(const Effect& effect, Speaker who)
{
    if (applySharedEffect(effect, pictureBox_, who))
        return true;
    switch (effect.kind) {
    case EffectKind::ShowChoices:
        setChoices(effect.choices, true);
        return true;
    case EffectKind::HideChoices:
        setChoices(effect.choices, false);
        return true;
    default:
        return false;
    }
}

bool ConversationScreen::choicesChange(const std::vector<int>& choices, bool visible) const
{
    return std::any_of(choices.begin(), choices.end(), [&](int k) {
        return k >= 1 && k <= answerCount_ && control(answerButton(k)).visible != visible;
    });
}

bool ConversationScreen::conversationEffectChanges(const Effect& effect) const
{
    switch (effect.kind) {
    case EffectKind::ShowChoices:
    case EffectKind::HideChoices:
        return choicesChange(effect.choices, effect.kind == EffectKind::ShowChoices);
    default:
        return sharedEffectChanges(effect, pictureBox_) || ownEffectChanges(effect);
    }
}

bool ConversationScreen::changes(const std::vector<Effect>& effects, std::optional<int> to) const
{
    return (to && *to != stepNo_) ||
           std::any_of(effects.begin(), effects.end(),
                       [this](const Effect& e) { return conversationEffectChanges(e); });
}

void ConversationScreen::setChoices(const std::vector<int>& choices, bool visible)
{
    for (int k : choices) {
        if (k >= 1 && k <= answerCount_)
            setVisible(answerButton(k), visible);
    }
}

void ConversationScreen::hideAllChoices()
{
    for (int k = 1; k <= answerCount_; ++k)
        setVisible(answerButton(k), false);
}

} // namespace quillory
