// A screen: a window with a caption, a fixed inner size, a background and fixed
// controls, plus the handlers of its own class.
#pragma once

#include "ui/control.h"
#include "ui/conversation.h"
#include "ui/effect.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

class Navigator;
class ScreenHost;

// The text box whose texts make a screen's conversation (lessons, quiz, game).
inline constexpr std::string_view kConversationBox = "T1";

// Keys a learner may press instead of clicking a button.
enum class Key { Digit1, Digit2, Digit3, Digit4, Digit5, Return, Escape };

// A key and the button it presses, at any StepNo or only at an even or odd one;
// with `ifLive`, only while a click on the button would act, else the next
// binding of the key is tried.
struct KeyBinding {
    enum class When { Always, EvenStep, OddStep };
    Key key = Key::Return;
    std::string button;
    When when = When::Always;
    bool ifLive = false;
};

class Screen {
public:
    Screen(ScreenHost& host, std::string name, std::string caption, int width, int height,
           Rgb background);
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb background() const { return background_; }
    bool visible() const { return visible_; }

    const std::deque<Control>& controls() const { return controls_; }
    const Control* find(std::string_view control) const;
    // The named control; throws std::out_of_range when the screen has none of that name.
    const Control& control(std::string_view name) const;

    // The screen's text box (T1, or the explanation's Text1), or nullptr.
    const Control* textBox() const;

    // What the text box T1 has shown since the screen was last entered.
    const Conversation& conversation() const { return conversation_; }

    // The button the key presses at the screen's StepNo, or an empty name when the
    // key does nothing here.
    std::string keyTarget(Key key) const;

    // Whether a click on the named control now would do anything at all: run a
    // rule, show or hide a control, change the screen or end the program. False
    // for a hidden control and for anything but a button.
    bool live(std::string_view control) const;
    // The keys that may press the button, in the order they were bound.
    std::vector<Key> keysOf(std::string_view button) const;

    // The screen's StepNo, on screens that have one.
    virtual std::optional<int> step() const { return std::nullopt; }

    // The step that counts as progress (none at a game over), the last step, and
    // whether the screen's last turn has come, on screens with steps.
    virtual std::optional<int> progressStep() const { return step(); }
    virtual int lastStep() const { return 0; }
    virtual bool finished() const { return false; }

    // Form_Load: runs once, when the navigator creates the screen.
    virtual void load() {}
    // Each time the screen is shown.
    virtual void shown() {}

    // A click on the named control. Controls without a handler ignore it; so does
    // a hidden control, which a person cannot click.
    void click(std::string_view control);

    void setText(std::string_view control, std::string text);
    void setVisible(std::string_view control, bool visible);
    void setProgress(std::string_view control, std::optional<Progress> progress);
    void setDue(std::string_view control, std::optional<int> due);
    void showPicture(std::string_view control, std::string file);

protected:
    virtual void onClick(std::string_view control) = 0;
    // Whether a click on this visible button would act; every button of a screen
    // without steps does.
    virtual bool acts(std::string_view /*button*/) const { return true; }

    // The effect words every scripted screen applies alike: SetText and WriteLines
    // on the text box T1, logged as said by `who`, ShowPicture on the given
    // picture box, ShowForm and HideForm through the navigator. False for any
    // other word.
    bool applySharedEffect(const Effect& effect, std::string_view pictureBox, Speaker who);
    // Whether one of those words would change what the screen shows now: a new
    // text or picture, or another screen. False for any other word.
    bool sharedEffectChanges(const Effect& effect, std::string_view pictureBox) const;

    // The learner's answer `answer` (its button captioned `caption`) to the
    // question awaited at `question`: logged, and told to the host.
    void noteAnswer(int question, int answer, std::string_view caption, std::optional<bool> right);
    // The answer logged in the conversation only.
    void logAnswer(std::string_view caption, std::optional<bool> right);

    // Replaces the text of T1 and logs it as said by `who`.
    void say(Speaker who, std::string text);
    // The screen's reset or first load: the log starts again with this greeting.
    void greet(Speaker who, std::string greeting);
    void clearConversation() { conversation_.clear(); }

    void bindKey(Key key, std::string button, KeyBinding::When when = KeyBinding::When::Always,
                 bool ifLive = false);

    Control& add(Control control);
    Control& mutableControl(std::string_view name);
    ScreenHost& host() { return host_; }

private:
    friend class Navigator;

    ScreenHost& host_;
    std::string name_;
    std::string caption_;
    int width_;
    int height_;
    Rgb background_;
    bool visible_ = false;
    std::deque<Control> controls_;
    std::vector<KeyBinding> keys_;
    Conversation conversation_;
};

// Control builders for screen layouts (geometry in twips).
Control makeButton(std::string name, std::string caption, Rect rect, bool visible = true);
Control makeText(std::string name, std::string role, Rect rect, bool scrollbar,
                 std::optional<Rgb> background = std::nullopt);
Control makeLabel(std::string name, std::string text, Rect rect, Rgb background);
Control makePicture(std::string name, Rect rect);

// The WriteLines layout: CR LF before each line and one empty line between lines,
// with no trailing line break. No line is trimmed or wrapped.
std::string writeLinesText(const std::vector<std::string>& lines);

} // namespace quillory
