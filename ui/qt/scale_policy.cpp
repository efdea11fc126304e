#include "ui/qt/scale_policy.h"

#include "ui/control.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

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
    return std::floor(scale / kScaleStep + 0.5) * kScaleStep;
}

} // namespace

qreal largestScale()
{
    QScreen* display = QGuiApplication::primaryScreen();
    if (display == nullptr)
        return 1;
    const QRect area = display->availableGeometry();
    const qreal wide = (area.width() - kFrameRoom) * qreal(kTwipsPerPixel) / kLargestWidth;
    const qreal high = (area.height() - kFrameRoom) * qreal(kTwipsPerPixel) / kLargestHeight;
    const qreal fit = std::floor(std::min(wide, high) / kScaleStep) * kScaleStep;
    return std::max<qreal>(1, fit);
}

qreal defaultScale()
{
    QScreen* display = QGuiApplication::primaryScreen();
    if (display == nullptr)
        return 1;
    const qreal half =
        display->availableGeometry().height() / 2.0 * qreal(kTwipsPerPixel) / kLessonHeight;
    return std::clamp<qreal>(toStep(half), 1, largestScale());
}

qreal zoomed(qreal scale, int direction, qreal start)
{
    if (direction == 0)
        return start;
    return std::min(std::max(largestScale(), start), toStep(scale) + direction * kScaleStep);
}

} // namespace quillory
