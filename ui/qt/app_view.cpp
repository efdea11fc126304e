#include "ui/qt/app_view.h"

#include "ui/qt/file_dialogs.h"
#include "ui/qt/keys.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/scale_policy.h"
#include "ui/qt/speech.h"

#include "ui/qt/accessibility.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace quillory {

namespace {

const char* const kZoomKey = "window/zoom";
const char* const kGeometryKey = "window/geometry";

// What the close box does on a screen: its way-back button, or nothing to click
// (the title and the menu end the program).
std::string wayBack(const std::string& screen)
{
    if (screen == "Form1" || screen == kMenuScreen)
        return {};
    if (screen == "Form18")
        return "Command7";
    if (screen == "Form2")
        return "Command1";
    return "Command3";
}

} // namespace

AppView::AppView(std::unique_ptr<Navigator> navigator, ViewOptions options)
    : navigator_(std::move(navigator)), main_(std::make_unique<MainWindow>(options.headless)),
      headless_(options.headless), remember_(options.remember && !options.headless),
      defaultScale_(options.scale.value_or(defaultScale())), scale_(defaultScale_)
{
    if (remember_ && !options.scale) {
        const QSettings settings;
        scale_ = std::clamp(settings.value(kZoomKey, scale_).toDouble(), 1.0,
                            std::max(largestScale(), defaultScale_));
    }
    connect(&reading_, &ReadAloudControl::voiceLost, this,
            [this](const QString& notice) { tellNoVoice(visibleWindow(), notice); });
    connect(main_.get(), &MainWindow::closeRequested, this, &AppView::closeBox);
    connect(main_.get(), &MainWindow::fitted, this, [this](qreal scale) { scale_ = scale; });
    main_->zoomTo(scale_);
    // No one is there to answer a dialog when headless.
    if (!headless_)
        dialogs_ = std::make_unique<FileDialogs>(main_.get());
    navigator_->setFileExchange(dialogs_.get());
    navigator_->onEnd([this] {
        remember();
        hideAll();
        emit programEnded();
    });
    sync();
}

AppView::~AppView()
{
    reading_.stop();
    if (!navigator_->ended())
        remember();
}

void AppView::remember()
{
    if (!remember_ || shown_ == nullptr)
        return;
    QSettings settings;
    settings.setValue(kZoomKey, scale_);
    settings.setValue(kGeometryKey, main_->saveGeometry());
}

void AppView::restorePlace()
{
    if (remember_) {
        const QByteArray geometry = QSettings().value(kGeometryKey).toByteArray();
        if (!geometry.isEmpty() && main_->restoreGeometry(geometry))
            return;
    }
    main_->zoomTo(scale_);
    if (headless_)
        return;
    // The first run: the middle of the display.
    if (const QScreen* display = QGuiApplication::primaryScreen(); display != nullptr) {
        QRect frame(QPoint(), main_->size());
        frame.moveCenter(display->availableGeometry().center());
        main_->move(frame.topLeft());
    }
}

void AppView::closeBox()
{
    ScreenWindow* window = visibleWindow();
    if (window == nullptr)
        return;
    const std::string back = wayBack(window->model().name());
    if (!back.empty()) {
        clicked(window, QString::fromStdString(back));
        return;
    }
    navigator_->endProgram();
    sync();
}

void AppView::setSpeechOutput(std::unique_ptr<SpeechOutput> output)
{
    reading_.setSpeechOutput(std::move(output));
}

void AppView::setFileExchange(FileExchange* files)
{
    navigator_->setFileExchange(files);
}

void AppView::readAloud(ScreenWindow* window)
{
    qCDebug(lcSpeech) << "R on" << window->objectName();
    if (navigator_->ended() || &window->model() != navigator_->visibleScreen())
        return;
    const Control* text = window->model().textBox();
    if (text == nullptr)
        return;
    const ReadAloud::Result result = reading_.press(text->text);
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
    main_->pictureView()->dismiss();
    try {
        navigator_->click(control.toStdString());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillory: %s: %s\n", control.toLocal8Bit().constData(), error.what());
    }
    sync();
}

void AppView::hideAll()
{
    main_->setScreen(nullptr, {});
    main_->hide();
    for (const auto& window : windows_)
        window->hide();
    shown_ = nullptr;
}

void AppView::sync()
{
    for (const auto& screen : navigator_->screens()) {
        if (window(screen->name()) != nullptr)
            continue;
        auto created = std::make_unique<ScreenWindow>(*screen, scale_, main_->stage());
        ScreenWindow* raw = created.get();
        raw->hide();
        raw->setHeadless(headless_);
        raw->setCaptionsLeft(screen->name() == kMenuScreen);
        connect(raw, &ScreenWindow::pictureClicked, this, [this, raw](const QString& name) {
            auto* picture = qobject_cast<PictureBox*>(raw->controlWidget(name.toStdString()));
            if (picture != nullptr && raw == shown_)
                main_->enlarge(picture->image(), accessibleDescriptionOf(picture));
        });
        connect(raw, &ScreenWindow::controlClicked, this,
                [this, raw](const QString& control) { clicked(raw, control); });
        connect(raw, &ScreenWindow::zoomRequested, this, &AppView::zoom);
        connect(raw, &ScreenWindow::readAloudRequested, this, [this, raw] { readAloud(raw); });
        if (!voiceMissing_.isEmpty())
            raw->keepNote(voiceMissing_);
        connect(raw, &ScreenWindow::closeRequested, this, &AppView::closeBox);
        windows_.push_back(std::move(created));
    }
    for (const auto& window : windows_)
        window->sync();

    if (navigator_->ended()) {
        hideAll();
        return;
    }

    ScreenWindow* next = visibleWindow();
    // A reading belongs to the screen whose text it reads.
    if (next != shown_)
        reading_.stop();
    const bool first = shown_ == nullptr && !main_->isVisible();
    if (next != nullptr)
        main_->setScreen(next, keyStrip(next->model()));
    if (first && next != nullptr) {
        restorePlace();
        main_->show();
        if (!headless_) {
            main_->raise();
            main_->activateWindow();
            next->setFocus();
        }
    }
    if (next != nullptr)
        main_->setWindowTitle(next->windowTitle());
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
    main_->zoomTo(scale_);
}

void AppView::zoom(int direction)
{
    setScale(zoomed(scale_, direction, defaultScale_));
}

} // namespace quillory
