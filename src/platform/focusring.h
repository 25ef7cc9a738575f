// A keyboard focus that shows on the designs' strong colours, where the
// style's own hint (a thin tinted edge, or nothing at all on a bare panel)
// is lost.
#pragma once

#include <QColor>

class QWidget;

namespace platform {

// How wide the ring is, in device-independent pixels.
inline constexpr int kFocusRingWidth = 2;

// Rings whichever control of the window holds the keyboard focus with a
// band kFocusRingWidth wide just outside its edges, on the container's
// background, through every move and resize of the control and its window.
// Where the band would leave the container (a docked bar) or come within a
// pixel of another control, it lies just inside the control's edge
// instead, in two stripes: one that stands out from what lies outside, then
// one that stands out from the control itself. Nothing is drawn while no
// control of the window has the focus, so an unfocused window looks
// exactly as designed.
void showFocusRing(QWidget* window);

// Of black and the design's yellow, the one that stands out more on the
// background.
QColor ringColourOn(const QColor& background);

// WCAG's relative luminance, and the contrast ratio of two colours (1 to 21).
double luminance(const QColor& colour);
double contrast(const QColor& a, const QColor& b);

}  // namespace platform
