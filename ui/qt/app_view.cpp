#include "ui/qt/app_view.h"

#include "ui/qt/speech.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

namespace quillory {

namespace {

// The design size of the largest window and of a lesson, in twips.
constexpr int kLargestWidth = 7155;
constexpr int kLargestHeight = 4380;
constexpr int kLessonHeight = 4305;
// Room for the window frame and title bar, in pixels.
constexpr int kFrameRoom = 48;

qreal toStep(qreal scale)
{
    return std::floor(scale / AppView::kScaleStep + 0.5) * AppView::kScaleStep;
}

} // namespace

qreal AppView::largestScale()
{
    QScreen* display = QGuiApplication::primaryScreen();
    if (display == nullptr)
        return 1;
    const QRect area = display->availableGeometry();
    const qreal wide = (area.width() - kFrameRoom) * 15.0 / kLargestWidth;
    const qreal high = (area.height() - kFrameRoom) * 15.0 / kLargestHeight;
    const qreal fit = std::floor(std::min(wide, high) / kScaleStep) * kScaleStep;
    return std::max<qreal>(1, fit);
}

qreal AppView::defaultScale()
{
    QScreen* display = QGuiApplication::primaryScreen();
    if (display == nullptr)
        return 1;
    const qreal half = display->availableGeometry().height() / 2.0 * 15.0 / kLessonHeight;
    return std::clamp<qreal>(toStep(half), 1, largestScale());
}

AppView::AppView(std::unique_ptr<Navigator> navigator, std::optional<qreal> scale)
    : navigator_(std::move(navigator)), defaultScale_(scale.value_or(defaultScale())),
      scale_(defaultScale_)
{
    sync();
}

AppView::~AppView()
{
    if (reader_ != nullptr)
        reader_->stop();
}

namespace {

// The offscreen platform drives the program without a person: it has no voice.
class NoVoice : public SpeechOutput {
public:
    bool available() const override { return false; }
    bool speaking() const override { return false; }
    void speak(const std::vector<std::string>&) override {}
    void stop() override {}
};

} // namespace

void AppView::setSpeechOutput(std::unique_ptr<SpeechOutput> output)
{
    if (reader_ != nullptr)
        reader_->stop();
    speech_ = std::move(output);
    reader_ = std::make_unique<ReadAloud>(*speech_);
}

void AppView::readAloud(ScreenWindow* window)
{
    qCDebug(lcSpeech) << "R on" << window->objectName();
    if (navigator_->ended() || &window->model() != navigator_->visibleScreen())
        return;
    if (reader_ == nullptr) {
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            setSpeechOutput(std::make_unique<NoVoice>());
        } else {
            auto speech = std::make_unique<QtSpeech>();
            connect(speech.get(), &QtSpeech::failed, this, [this] {
                const std::string notice = reader_->voiceLost();
                if (!notice.empty())
                    tellNoVoice(visibleWindow(), QString::fromStdString(notice));
            });
            setSpeechOutput(std::move(speech));
        }
    }
    const Control* text = nullptr;
    for (const Control& control : window->model().controls()) {
        if (control.kind == ControlKind::Text)
            text = &control;
    }
    if (text == nullptr)
        return;
    const ReadAloud::Result result = reader_->press(text->text);
    qCDebug(lcSpeech) << "read aloud on" << window->objectName() << "outcome"
                      << static_cast<int>(result.outcome);
    if (result.notice.empty())
        return;
    const QString notice = QString::fromStdString(result.notice);
    if (result.outcome == ReadAloud::Outcome::NoVoice)
        tellNoVoice(window, notice);
    else
        window->showNotice(notice, false);
}

void AppView::tellNoVoice(ScreenWindow* window, const QString& notice)
{
    // Said once on the screen in view, and kept in every text box's tooltip.
    voiceMissing_ = notice;
    for (const auto& each : windows_) {
        if (each.get() != window)
            each->keepNote(notice);
    }
    if (window != nullptr)
        window->showNotice(notice, true);
}

ScreenWindow* AppView::window(const std::string& screen) const
{
    for (const auto& window : windows_) {
        if (window->model().name() == screen)
            return window.get();
    }
    return nullptr;
}

ScreenWindow* AppView::visibleWindow() const
{
    if (navigator_->ended())
        return nullptr;
    const Screen* screen = navigator_->visibleScreen();
    return screen ? window(screen->name()) : nullptr;
}

void AppView::clicked(ScreenWindow* window, const QString& control)
{
    // A click can only reach the screen on show; a late event for a window just
    // hidden is dropped.
    if (navigator_->ended() || &window->model() != navigator_->visibleScreen())
        return;
    try {
        navigator_->click(control.toStdString());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillory: %s: %s\n", control.toLocal8Bit().constData(), error.what());
    }
    sync();
}

void AppView::sync()
{
    for (const auto& screen : navigator_->screens()) {
        if (window(screen->name()) != nullptr)
            continue;
        auto created = std::make_unique<ScreenWindow>(*screen, scale_);
        ScreenWindow* raw = created.get();
        connect(raw, &ScreenWindow::controlClicked, this,
                [this, raw](const QString& control) { clicked(raw, control); });
        connect(raw, &ScreenWindow::zoomRequested, this, &AppView::zoom);
        connect(raw, &ScreenWindow::readAloudRequested, this, [this, raw] { readAloud(raw); });
        if (!voiceMissing_.isEmpty())
            raw->keepNote(voiceMissing_);
        connect(raw, &ScreenWindow::closeRequested, this, [this] {
            navigator_->endProgram();
            sync();
        });
        windows_.push_back(std::move(created));
    }
    for (const auto& window : windows_)
        window->sync();

    if (navigator_->ended()) {
        for (const auto& window : windows_)
            window->hide();
        shown_ = nullptr;
        if (!endSignalled_) {
            endSignalled_ = true;
            emit programEnded();
        }
        return;
    }

    ScreenWindow* next = visibleWindow();
    // A reading belongs to the screen whose text it reads.
    if (next != shown_ && reader_ != nullptr)
        reader_->stop();
    if (next != shown_ && next != nullptr) {
        place(*next, shown_);
        next->show();
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            next->raise();
            next->activateWindow();
        }
    }
    for (const auto& window : windows_) {
        if (window.get() != next && window->isVisible())
            window->hide();
    }
    shown_ = next;
}

void AppView::setScale(qreal scale)
{
    scale = std::max<qreal>(1, scale);
    if (scale == scale_)
        return;
    scale_ = scale;
    for (const auto& window : windows_)
        window->setScale(scale_);
    if (shown_ != nullptr)
        place(*shown_, shown_);
}

void AppView::zoom(int direction)
{
    if (direction == 0)
        setScale(defaultScale_);
    else
        setScale(std::min(std::max(largestScale(), defaultScale_),
                          toStep(scale_) + direction * kScaleStep));
}

void AppView::place(ScreenWindow& window, const ScreenWindow* previous)
{
    QScreen* display = previous ? previous->screen() : QGuiApplication::primaryScreen();
    if (display == nullptr)
        return;
    const QRect area = display->availableGeometry();
    QPoint centre = previous ? previous->frameGeometry().center() : area.center();
    QRect frame = window.frameGeometry();
    if (!window.testAttribute(Qt::WA_WState_Created) || frame.size() == QSize(0, 0))
        frame.setSize(window.size());
    frame.moveCenter(centre);
    // Keep the whole window on the display.
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    if (frame.left() < area.left())
        frame.moveLeft(area.left());
    if (frame.top() < area.top())
        frame.moveTop(area.top());
    window.move(frame.topLeft());
}

} // namespace quillory
