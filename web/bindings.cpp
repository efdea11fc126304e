// The core for the web page: start, click, key and the visible screen's state as
// one JSON line, with the fields of the replay driver that the core knows.
#include "app/learning.h"
#include "app/navigator.h"
#include "app/review_screens.h"
#include "app/screens.h"
#include "record/record_file.h"
#include "record/record_store.h"
#include "ui/conversation.h"
#include "ui/file_exchange.h"
#include "ui/json.h"
#include "ui/picture_descriptions.h"
#include "ui/read_aloud.h"
#include "ui/screen.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillory {

namespace {

// The record as the page keeps it: in memory, and handed to the browser's
// storage as one record file's text after each change.
class PageStore : public MemoryStore {
public:
    bool write(const RecordChange& change) override { return changed(MemoryStore::write(change)); }
    bool clear() override { return changed(MemoryStore::clear()); }
    bool replace(const RecordData& data) override { return changed(MemoryStore::replace(data)); }
    std::string takeNotice() override { return std::exchange(notice_, {}); }

    // A line for the menu's notice, each told once.
    void tell(const std::string& line)
    {
        if (told_.insert(line).second)
            notice_ += notice_.empty() ? line : "　" + line;
    }
    int changes() const { return changes_; }

private:
    bool changed(bool kept)
    {
        changes_ += kept ? 1 : 0;
        return kept;
    }

    std::string notice_;
    std::set<std::string> told_;
    int changes_ = 0;
};

// Files through the page: a download to save, a file picked to open. The page
// answers an open later, through fileOpened().
class PageExchange : public FileExchange {
public:
    void save(const std::string& suggestedName, const std::string& contents, Saved done) override
    {
        const emscripten::val files = emscripten::val::global("quilloryFiles");
        const bool saved =
            !files.isUndefined() && files.call<bool>("save", suggestedName, contents);
        done(saved ? FileOutcome::Done : FileOutcome::Failed);
    }
    void open(std::size_t limit, Opened done) override
    {
        const emscripten::val files = emscripten::val::global("quilloryFiles");
        if (files.isUndefined())
            return done(FileOutcome::Failed, {});
        pending_ = std::move(done);
        files.call<void>("open", static_cast<double>(limit));
    }
    // The page's answer to the last open; none awaited: nothing happens.
    void opened(FileOutcome outcome, const std::string& contents)
    {
        if (Opened done = std::exchange(pending_, {}))
            done(outcome, contents);
    }

private:
    Opened pending_;
};

std::unique_ptr<Learning> learning;
PageStore* store = nullptr;
PageExchange files;
std::unique_ptr<Navigator> navigator;

// Bytes that are not UTF-8 become U+FFFD, so that the line stays valid JSON.
std::string validUtf8(std::string_view raw)
{
    std::string out;
    std::size_t i = 0;
    while (i < raw.size()) {
        const auto c = static_cast<unsigned char>(raw[i]);
        const std::size_t length = c < 0x80           ? 1
                                   : (c >> 5) == 0x6  ? 2
                                   : (c >> 4) == 0xe  ? 3
                                   : (c >> 3) == 0x1e ? 4
                                                      : 0;
        bool good = length > 0 && i + length <= raw.size();
        for (std::size_t k = 1; good && k < length; ++k)
            good = (static_cast<unsigned char>(raw[i + k]) >> 6) == 0x2;
        if (good) {
            out.append(raw.substr(i, length));
            i += length;
        } else {
            out += "\xef\xbf\xbd";
            ++i;
        }
    }
    return out;
}

std::string jsonString(std::string_view raw)
{
    return jsonQuoted(validUtf8(raw));
}

std::string error(std::string_view reason)
{
    return "{\"error\": " + jsonString(reason) + "}";
}

std::string rgb(Rgb colour)
{
    return "[" + std::to_string(colour.r) + ", " + std::to_string(colour.g) + ", " +
           std::to_string(colour.b) + "]";
}

const char* keyName(Key key)
{
    switch (key) {
    case Key::Return:
        return "Return";
    case Key::Escape:
        return "Escape";
    case Key::Digit1:
        return "1";
    case Key::Digit2:
        return "2";
    case Key::Digit3:
        return "3";
    case Key::Digit4:
        return "4";
    case Key::Digit5:
        return "5";
    }
    return "";
}

std::optional<Key> learnerKey(std::string_view name)
{
    if (name.size() == 1 && name[0] >= '1' && name[0] <= '5')
        return static_cast<Key>(static_cast<int>(Key::Digit1) + (name[0] - '1'));
    if (name == "Return" || name == "Enter")
        return Key::Return;
    if (name == "Escape")
        return Key::Escape;
    return std::nullopt;
}

// Keys that are known but are not the core's: the page's own, or nothing.
bool otherKey(std::string_view name)
{
    if (name.size() == 1 &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return true;
    return name == "Space" || name == "Tab" || name == "Backspace";
}

std::string controlState(const Screen& screen, const Control& control)
{
    std::string out = "{\"name\": " + jsonString(control.name) +
                      ", \"kind\": " + jsonString(controlKindName(control.kind));
    switch (control.kind) {
    case ControlKind::Button:
        out += ", \"caption\": " + jsonString(control.text);
        break;
    case ControlKind::Text:
        out += ", \"text\": " + jsonString(control.text);
        out += ", \"scrollbar\": " + jsonBoolean(control.scrollbar);
        break;
    case ControlKind::Label:
        out += ", \"text\": " + jsonString(control.text);
        out += ", \"background\": " + rgb(control.background.value_or(screen.background()));
        break;
    case ControlKind::Picture:
        out += ", \"file\": " +
               (control.picture.empty() ? std::string("null") : jsonString(control.picture));
        break;
    }
    out += ", \"left\": " + std::to_string(control.rect.left);
    out += ", \"top\": " + std::to_string(control.rect.top);
    out += ", \"width\": " + std::to_string(control.rect.width);
    out += ", \"height\": " + std::to_string(control.rect.height);
    out += ", \"visible\": " + jsonBoolean(control.visible);
    if (control.kind == ControlKind::Button)
        out += ", \"live\": " + jsonBoolean(screen.live(control.name));
    out += recordFields(control);

    // What only the page needs: not part of the driver's line.
    out += ", \"page\": {";
    std::string page;
    if (control.kind == ControlKind::Text) {
        page += "\"role\": " + jsonString(control.role);
        if (control.background)
            page += ", \"background\": " + rgb(*control.background);
    }
    if (control.kind == ControlKind::Picture) {
        page += "\"loads\": " + std::to_string(control.pictureLoads);
        if (!control.picture.empty()) {
            const PictureDescription picture = describePicture(control.picture);
            page += ", \"name\": " + jsonString(picture.name) +
                    ", \"description\": " + jsonString(picture.description);
        }
    }
    if (control.kind == ControlKind::Button) {
        page += "\"keys\": [";
        bool first = true;
        for (Key key : screen.keysOf(control.name)) {
            page += (first ? "\"" : ", \"") + std::string(keyName(key)) + "\"";
            first = false;
        }
        page += "]";
        if (control.progress && !control.progress->summary.empty())
            page += ", \"summary\": " + jsonString(control.progress->summary);
    }
    return out + page + "}}";
}

} // namespace

// The program at start-up, with a record that lives as long as the page; `today`
// ("YYYY-MM-DD", empty: the real date) is taken when the record is first made.
void startOn(const std::string& today)
{
    navigator.reset();
    if (!learning) {
        auto kept = std::make_unique<PageStore>();
        store = kept.get();
        learning = std::make_unique<Learning>(std::move(kept), today);
    }
    navigator = startProgram("/", learning.get());
    navigator->setFileExchange(&files);
}

void start()
{
    startOn({});
}

// Start-up with what the browser kept: `stored`, a record file's text ("" when
// none), and whether the browser keeps anything at all. Returns "read", "none",
// or "unreadable" (a fresh record has started; the page keeps the text aside).
std::string startWith(const std::string& today, const std::string& stored, bool storage)
{
    navigator.reset();
    learning.reset();
    startOn(today);
    if (!storage) {
        store->tell("このブラウザーでは記録を保存できないため、記録せずに続けます。");
        return "none";
    }
    if (stored.empty())
        return "none";
    const RecordImport read = learning->record().importText(stored);
    if (read.outcome == RecordImport::Outcome::Imported)
        return "read";
    store->tell(
        "保存されていた記録を読めませんでした。元のデータは別に残し、新しい記録を始めました。");
    return "unreadable";
}

// How many changes the record has had: the page saves when this moves.
int recordChanges()
{
    return store ? store->changes() : 0;
}

// The whole record as a record file's text, for the browser's storage.
std::string recordText()
{
    const std::optional<RecordData> all = store ? store->readAll() : std::nullopt;
    return all ? writeRecordFile(*all) : std::string();
}

// The browser stopped keeping the record: the menu says so, once.
void storageFailed()
{
    if (store)
        store->tell("記録を保存できなくなったため、ここからは記録せずに続けます。");
}

std::string state()
{
    if (!navigator || navigator->ended() || navigator->visibleScreen() == nullptr)
        return "{\"ended\": true}";
    const Screen& screen = *navigator->visibleScreen();
    std::string out = "{\"ended\": false";
    out += ", \"screen\": " + jsonString(screen.name());
    out += ", \"caption\": " + jsonString(screen.caption());
    out += ", \"width\": " + std::to_string(screen.width());
    out += ", \"height\": " + std::to_string(screen.height());
    out += ", \"background\": " + rgb(screen.background());
    const std::optional<int> step = screen.step();
    out += ", \"step\": " + (step ? std::to_string(*step) : std::string("null"));
    out += ", \"created\": [";
    bool first = true;
    for (const std::string& created : navigator->created()) {
        out += (first ? "" : ", ") + jsonString(created);
        first = false;
    }
    out += "], \"controls\": [";
    first = true;
    for (const Control& control : screen.controls()) {
        out += (first ? "" : ", ") + controlState(screen, control);
        first = false;
    }
    return out + "]}";
}

// A click on a control of the visible screen, as a person could make it.
std::string click(const std::string& name)
{
    if (!navigator || navigator->ended() || navigator->visibleScreen() == nullptr)
        return error("no screen is visible: the program has ended");
    const Screen& screen = *navigator->visibleScreen();
    const Control* control = screen.find(name);
    if (control == nullptr)
        return error(screen.name() + " has no control " + name);
    if (!control->visible)
        return error(name + " on " + screen.name() + " is hidden");
    navigator->click(name);
    return state();
}

// A key by its Qt name without Key_: the button it presses, if any.
std::string key(const std::string& name)
{
    const std::optional<Key> learner = learnerKey(name);
    if (!learner && !otherKey(name))
        return error("unknown key: " + name);
    if (!navigator || navigator->ended() || navigator->visibleScreen() == nullptr)
        return error("no screen is visible: the program has ended");
    if (learner) {
        const std::string button = navigator->visibleScreen()->keyTarget(*learner);
        if (!button.empty())
            navigator->click(button);
    }
    return state();
}

// Builds the script tables of the `index`th recorded screen (a lesson, the quiz or
// the game) ahead of the menu, which reads them all when first shown; false when
// there is none left. The page calls it while the title waits for the learner.
bool prepare(int index)
{
    const std::vector<std::string>& screens = recordedScreens();
    if (index < 0 || static_cast<std::size_t>(index) >= screens.size())
        return false;
    lastStepOf(screens[static_cast<std::size_t>(index)]);
    return true;
}

// The English of the visible screen's text box, as utterances (JSON array).
std::string readAloud()
{
    const Screen* screen = navigator ? navigator->visibleScreen() : nullptr;
    const Control* box = screen ? screen->textBox() : nullptr;
    std::string out = "[";
    if (box != nullptr) {
        bool first = true;
        for (const std::string& utterance : englishToRead(box->text)) {
            out += (first ? "" : ", ") + jsonString(utterance);
            first = false;
        }
    }
    return out + "]";
}

// The visible screen's conversation, oldest first (JSON array of label and text).
std::string history()
{
    const Screen* screen = navigator ? navigator->visibleScreen() : nullptr;
    std::string out = "[";
    if (screen != nullptr) {
        bool first = true;
        for (const Said& said : screen->conversation().said()) {
            out += std::string(first ? "" : ", ") +
                   "{\"who\": " + jsonString(speakerLabel(said.who)) +
                   ", \"text\": " + jsonString(said.text) + "}";
            first = false;
        }
    }
    return out + "]";
}

// The file the learner picked for an open ("done", "cancelled" or "failed").
std::string fileOpened(const std::string& outcome, const std::string& contents)
{
    files.opened(outcome == "done"        ? FileOutcome::Done
                 : outcome == "cancelled" ? FileOutcome::Cancelled
                                          : FileOutcome::Failed,
                 contents);
    return state();
}

} // namespace quillory

EMSCRIPTEN_BINDINGS(quillory)
{
    emscripten::function("start", &quillory::start);
    emscripten::function("startOn", &quillory::startOn);
    emscripten::function("state", &quillory::state);
    emscripten::function("click", &quillory::click);
    emscripten::function("key", &quillory::key);
    emscripten::function("readAloud", &quillory::readAloud);
    emscripten::function("history", &quillory::history);
    emscripten::function("prepare", &quillory::prepare);
    emscripten::function("startWith", &quillory::startWith);
    emscripten::function("recordChanges", &quillory::recordChanges);
    emscripten::function("recordText", &quillory::recordText);
    emscripten::function("storageFailed", &quillory::storageFailed);
    emscripten::function("fileOpened", &quillory::fileOpened);
}
