// The one scale factor of every window: its default for the display, the largest
// that fits, and the zoom steps between.
#pragma once

#include <QtGlobal>

namespace quillory {

// Zoom moves by this much, and scales are kept to its multiples.
inline constexpr qreal kScaleStep = 0.25;

// The scale at which a lesson is about half the display's height, within the
// display and never below 1.
qreal defaultScale();
// The largest scale whose windows fit the display, never below 1.
qreal largestScale();

// The scale after Ctrl++ (+1), Ctrl+- (-1) or Ctrl+0 (0, back to `start`): a step
// in or out, never above the largest that fits (or `start`, if that is larger).
qreal zoomed(qreal scale, int direction, qreal start);

} // namespace quillory
