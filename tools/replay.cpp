#include "tools/replay.h"

#include "app/screens.h"
#include "ui/json.h"

#include "ui/qt/accessibility.h"
#include "ui/qt/caption_button.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/text_box.h"
#include "ui/qt/text_label.h"

#include <QCoreApplication>
#include <QMetaEnum>
#include <QPixmapCache>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <system_error>

namespace quillory {

namespace {

std::string_view trim(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string error(std::string_view reason)
{
    return "{\"error\": " + jsonString(reason) + "}";
}

std::string rgb(const QColor& colour)
{
    return "[" + std::to_string(colour.red()) + ", " + std::to_string(colour.green()) + ", " +
           std::to_string(colour.blue()) + "]";
}

std::string controlState(const Control& control, QWidget& widget, const ScreenWindow& window)
{
    std::string out = "{\"name\": " + jsonString(control.name) +
                      ", \"kind\": " + jsonString(controlKindName(control.kind));
    switch (control.kind) {
    case ControlKind::Button:
        out += ", \"caption\": " +
               jsonString(modelCaption(static_cast<const QPushButton&>(widget).text()));
        break;
    case ControlKind::Text: {
        const auto& text = static_cast<const QPlainTextEdit&>(widget);
        out += ", \"text\": " + jsonString(modelText(text.toPlainText()));
        out += ", \"scrollbar\": " +
               jsonBoolean(text.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        out += ", \"fits\": " + jsonBoolean(static_cast<const TextBox&>(widget).fits());
        break;
    }
    case ControlKind::Label: {
        const auto& label = static_cast<const TextLabel&>(widget);
        out += ", \"text\": " + jsonString(label.text().toStdString());
        out += ", \"background\": " +
               rgb(label.background().isValid()
                       ? label.background()
                       : label.parentWidget()->palette().color(QPalette::Window));
        break;
    }
    case ControlKind::Picture: {
        const auto& picture = static_cast<const PictureBox&>(widget);
        out +=
            ", \"file\": " + (picture.file().isEmpty() ? std::string("null")
                                                       : jsonString(picture.file().toStdString()));
        out += ", \"loaded\": " + jsonBoolean(picture.loaded());
        out += ", \"accessibleDescription\": " +
               jsonString(accessibleDescriptionOf(&widget).toStdString());
        break;
    }
    }
    const QRect geometry = widget.geometry();
    out += ", \"left\": " + std::to_string(window.toTwips(geometry.x()));
    out += ", \"top\": " + std::to_string(window.toTwips(geometry.y()));
    out += ", \"width\": " + std::to_string(window.toTwips(geometry.width()));
    out += ", \"height\": " + std::to_string(window.toTwips(geometry.height()));
    out += ", \"visible\": " + jsonBoolean(!widget.isHidden());
    out += ", \"accessibleName\": " + jsonString(accessibleNameOf(&widget).toStdString());
    if (control.kind == ControlKind::Button)
        out += ", \"live\": " + jsonBoolean(static_cast<const CaptionButton&>(widget).live());
    out += recordFields(control);
    return out + "}";
}

// The driver runs without a person to hear: it has no voice.
class NoVoice : public SpeechOutput {
public:
    bool available() const override { return false; }
    bool speaking() const override { return false; }
    void speak(const std::vector<std::string>&) override {}
    void stop() override {}
};

} // namespace

std::string jsonString(std::string_view raw)
{
    // Bytes that are not UTF-8 become U+FFFD, so every line stays valid JSON.
    const std::string text =
        QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size())).toStdString();
    return jsonQuoted(text);
}

std::unique_ptr<Learning> learningFromArguments(const QStringList& arguments)
{
    std::string file;
    std::string today;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--record"))
            file = arguments[i + 1].toStdString();
        else if (arguments[i] == QLatin1String("--today"))
            today = arguments[i + 1].toStdString();
    }
    return std::make_unique<Learning>([file] { return openRecordStore(file); }, today);
}

Replay::Replay(std::filesystem::path programFolder, qreal scale, bool headless,
               std::unique_ptr<Learning> learning)
    : programFolder_(std::move(programFolder)), scale_(scale), headless_(headless),
      learning_(learning ? std::move(learning)
                         : std::make_unique<Learning>(std::make_unique<MemoryStore>()))
{
    // Each restart makes new widgets, and the style keys its cached pixmaps by
    // their palettes, which are new too. The pixmap cache keeps every key it was
    // ever given, even through clear(), so restarts would pile them up for good;
    // without the cache, painting gives the same pixels, only not memoised.
    QPixmapCache::setCacheLimit(0);
    std::error_code failure;
    startFolder_ = std::filesystem::current_path(failure);
    start();
}

void Replay::start()
{
    view_ = std::make_unique<AppView>(startProgram(programFolder_, learning_.get()),
                                      ViewOptions{.scale = scale_, .headless = headless_});
    if (headless_)
        view_->setSpeechOutput(std::make_unique<NoVoice>());
    view_->setFileExchange(&files_);
    QCoreApplication::processEvents();
}

Replay::~Replay() = default;

std::optional<std::string> Replay::execute(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() == '#')
        return std::nullopt;

    const std::size_t gap = line.find_first_of(" \t");
    const std::string_view command = line.substr(0, gap);
    const std::string_view argument =
        gap == std::string_view::npos ? std::string_view{} : trim(line.substr(gap));

    if (command == "click") {
        if (argument.empty())
            return error("click needs the name of a control");
        return click(argument);
    }
    if (command == "key") {
        if (argument.empty())
            return error("key needs the name of a key");
        return key(argument);
    }
    if (command == "dump" || command == "restart") {
        if (!argument.empty())
            return error(std::string(command) + " takes no argument");
        if (command == "restart")
            restart();
        return state();
    }
    return error("unknown command: " + std::string(command));
}

std::string Replay::click(std::string_view control)
{
    ScreenWindow* window = view_->visibleWindow();
    if (window == nullptr)
        return error("no screen is visible: the program has ended");
    const std::string name(control);
    QWidget* widget = window->controlWidget(name);
    if (widget == nullptr)
        return error(window->model().name() + " has no control " + name);
    if (widget->isHidden())
        return error(name + " on " + window->model().name() + " is hidden");
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    QCoreApplication::processEvents();
    return state();
}

std::string Replay::key(std::string_view name)
{
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    bool known = false;
    const int code = keys.keyToValue(("Key_" + std::string(name)).c_str(), &known);
    if (!known)
        return error("unknown key: " + std::string(name));
    ScreenWindow* window = view_->visibleWindow();
    if (window == nullptr)
        return error("no screen is visible: the program has ended");
    // The key goes where a real one would: to the control with the focus, if any.
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, static_cast<Qt::Key>(code));
    QCoreApplication::processEvents();
    return state();
}

void Replay::restart()
{
    view_.reset();
    QCoreApplication::processEvents();
    // What the old windows left to deleteLater goes now, before the new ones come.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // A fresh start: the folder the driver was started in is current again.
    std::error_code failure;
    if (!startFolder_.empty())
        std::filesystem::current_path(startFolder_, failure);
    start();
}

std::string Replay::state() const
{
    ScreenWindow* window = view_->visibleWindow();
    if (view_->ended() || window == nullptr)
        return "{\"ended\": true}";
    const Screen& screen = window->model();

    std::string out = "{\"ended\": false";
    out += ", \"screen\": " + jsonString(screen.name());
    out += ", \"caption\": " + jsonString(window->windowTitle().toStdString());
    out += ", \"width\": " + std::to_string(window->toTwips(window->width()));
    out += ", \"height\": " + std::to_string(window->toTwips(window->height()));
    out += ", \"background\": " + rgb(window->palette().color(QPalette::Window));
    const std::optional<int> step = screen.step();
    out += ", \"step\": " + (step ? std::to_string(*step) : std::string("null"));
    out += ", \"created\": [";
    bool first = true;
    for (const std::string& created : view_->navigator().created()) {
        out += (first ? "" : ", ") + jsonString(created);
        first = false;
    }
    out += "], \"controls\": [";
    first = true;
    for (const Control& control : screen.controls()) {
        QWidget* widget = window->controlWidget(control.name);
        if (widget == nullptr)
            continue;
        out += (first ? "" : ", ") + controlState(control, *widget, *window);
        first = false;
    }
    return out + "]}";
}

} // namespace quillory
