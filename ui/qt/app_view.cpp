#include "ui/qt/app_view.h"

#include "ui/qt/scale_policy.h"
#include "ui/qt/speech.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <exception>

namespace quillory {

AppView::AppView(std::unique_ptr<Navigator> navigator, ViewOptions options)
    : navigator_(std::move(navigator)), headless_(options.headless),
      defaultScale_(options.scale.value_or(defaultScale())), scale_(defaultScale_)
{
    connect(&reading_, &ReadAloudControl::voiceLost, this,
            [this](const QString& notice) { tellNoVoice(visibleWindow(), notice); });
    navigator_->onEnd([this] {
        hideAll();
        emit programEnded();
    });
    sync();
}

AppView::~AppView()
{
    reading_.stop();
}

void AppView::setSpeechOutput(std::unique_ptr<SpeechOutput> output)
{
    reading_.setSpeechOutput(std::move(output));
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
    try {
        navigator_->click(control.toStdString());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillory: %s: %s\n", control.toLocal8Bit().constData(), error.what());
    }
    sync();
}

void AppView::hideAll()
{
    for (const auto& window : windows_)
        window->hide();
    shown_ = nullptr;
}

void AppView::sync()
{
    for (const auto& screen : navigator_->screens()) {
        if (window(screen->name()) != nullptr)
            continue;
        auto created = std::make_unique<ScreenWindow>(*screen, scale_);
        ScreenWindow* raw = created.get();
        raw->setHeadless(headless_);
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
        hideAll();
        return;
    }

    ScreenWindow* next = visibleWindow();
    // A reading belongs to the screen whose text it reads.
    if (next != shown_)
        reading_.stop();
    if (next != shown_ && next != nullptr) {
        place(*next, shown_);
        next->show();
        if (!headless_) {
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
    setScale(zoomed(scale_, direction, defaultScale_));
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
