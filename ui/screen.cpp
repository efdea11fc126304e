#include "ui/screen.h"

#include "ui/screen_host.h"

#include <stdexcept>
#include <utility>

namespace quillory {

Screen::Screen(ScreenHost& host, std::string name, std::string caption, int width, int height,
               Rgb background)
    : host_(host), name_(std::move(name)), caption_(std::move(caption)), width_(width),
      height_(height), background_(background)
{
}

const Control* Screen::find(std::string_view control) const
{
    for (const Control& c : controls_) {
        if (c.name == control)
            return &c;
    }
    return nullptr;
}

const Control& Screen::control(std::string_view name) const
{
    if (const Control* c = find(name))
        return *c;
    throw std::out_of_range(name_ + " has no control " + std::string(name));
}

const Control* Screen::textBox() const
{
    for (const Control& c : controls_) {
        if (c.kind == ControlKind::Text)
            return &c;
    }
    return nullptr;
}

Control& Screen::mutableControl(std::string_view name)
{
    return const_cast<Control&>(control(name));
}

void Screen::click(std::string_view control)
{
    const Control* c = find(control);
    if (c == nullptr || !c->visible)
        return;
    onClick(control);
}

void Screen::setText(std::string_view control, std::string text)
{
    mutableControl(control).text = std::move(text);
}

void Screen::setVisible(std::string_view control, bool visible)
{
    mutableControl(control).visible = visible;
}

void Screen::setProgress(std::string_view control, std::optional<Progress> progress)
{
    mutableControl(control).progress = std::move(progress);
}

void Screen::setDue(std::string_view control, std::optional<int> due)
{
    mutableControl(control).due = due;
}

void Screen::showPicture(std::string_view control, std::string file)
{
    Control& c = mutableControl(control);
    c.picture = std::move(file);
    ++c.pictureLoads;
}

void Screen::say(Speaker who, std::string text)
{
    setText(kConversationBox, text);
    conversation_.add(who, std::move(text));
}

void Screen::noteAnswer(int question, int answer, std::string_view caption,
                        std::optional<bool> right)
{
    logAnswer(caption, right);
    host_.answered({name_, question, answer, right});
}

void Screen::logAnswer(std::string_view caption, std::optional<bool> right)
{
    conversation_.addAnswer(caption, right);
}

void Screen::greet(Speaker who, std::string greeting)
{
    clearConversation();
    say(who, std::move(greeting));
}

bool Screen::applySharedEffect(const Effect& effect, std::string_view pictureBox, Speaker who)
{
    switch (effect.kind) {
    case EffectKind::SetText:
        say(who, effect.text());
        return true;
    case EffectKind::WriteLines:
        say(who, writeLinesText(effect.lines));
        return true;
    case EffectKind::ShowPicture:
        showPicture(pictureBox, effect.text());
        return true;
    case EffectKind::ShowForm:
        host_.showForm(effect.text());
        return true;
    case EffectKind::HideForm:
        host_.hideForm(effect.text());
        return true;
    default:
        return false;
    }
}

bool Screen::sharedEffectChanges(const Effect& effect, std::string_view pictureBox) const
{
    const Control* box = textBox();
    switch (effect.kind) {
    case EffectKind::SetText:
        return box == nullptr || box->text != effect.text();
    case EffectKind::WriteLines:
        return box == nullptr || box->text != writeLinesText(effect.lines);
    case EffectKind::ShowPicture: {
        const Control* picture = find(pictureBox);
        return picture != nullptr && picture->picture != effect.text();
    }
    case EffectKind::ShowForm:
    case EffectKind::HideForm:
        return true;
    default:
        return false;
    }
}

Control& Screen::add(Control control)
{
    if (find(control.name) != nullptr)
        throw std::logic_error(name_ + " already has a control " + control.name);
    controls_.push_back(std::move(control));
    return controls_.back();
}

std::string Screen::keyTarget(Key key) const
{
    const bool even = step().value_or(0) % 2 == 0;
    for (const KeyBinding& b : keys_) {
        if (b.key != key)
            continue;
        if (b.when != KeyBinding::When::Always && (b.when == KeyBinding::When::EvenStep) != even)
            continue;
        if (b.ifLive && !live(b.button))
            continue;
        return b.button;
    }
    return {};
}

bool Screen::live(std::string_view control) const
{
    const Control* c = find(control);
    return c != nullptr && c->kind == ControlKind::Button && c->visible && acts(control);
}

std::vector<Key> Screen::keysOf(std::string_view button) const
{
    std::vector<Key> keys;
    for (const KeyBinding& b : keys_) {
        if (b.button == button)
            keys.push_back(b.key);
    }
    return keys;
}

void Screen::bindKey(Key key, std::string button, KeyBinding::When when, bool ifLive)
{
    keys_.push_back({key, std::move(button), when, ifLive});
}

Control makeButton(std::string name, std::string caption, Rect rect, bool visible)
{
    Control c;
    c.name = std::move(name);
    c.kind = ControlKind::Button;
    c.text = std::move(caption);
    c.rect = rect;
    c.visible = visible;
    return c;
}

Control makeText(std::string name, std::string role, Rect rect, bool scrollbar,
                 std::optional<Rgb> background)
{
    Control c;
    c.name = std::move(name);
    c.kind = ControlKind::Text;
    c.role = std::move(role);
    c.rect = rect;
    c.scrollbar = scrollbar;
    c.background = background;
    return c;
}

Control makeLabel(std::string name, std::string text, Rect rect, Rgb background)
{
    Control c;
    c.name = std::move(name);
    c.kind = ControlKind::Label;
    c.text = std::move(text);
    c.rect = rect;
    c.background = background;
    return c;
}

Control makePicture(std::string name, Rect rect)
{
    Control c;
    c.name = std::move(name);
    c.kind = ControlKind::Picture;
    c.rect = rect;
    return c;
}

std::string writeLinesText(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += "\r\n";
        text += lines[i];
    }
    return text;
}

} // namespace quillory
