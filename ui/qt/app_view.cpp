#include "ui/qt/app_view.h"

#include "app/screens.h"

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

AppView::AppView(const std::filesystem::path& programFolder, std::optional<qreal> scale)
    : navigator_(std::make_unique<Navigator>(programFolder)),
      defaultScale_(scale.value_or(defaultScale())), scale_(defaultScale_)
{
    defineScreens(*navigator_);
    navigator_->start("Form1");
    sync();
}

AppView::~AppView() = default;

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
