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
// background; a control that fills its container (a docked bar) is ringed
// just inside instead. Nothing is drawn while no control of the window has
// the focus, so an unfocused window looks exactly as designed.
void showFocusRing(QWidget* window);

// Of black and the design's yellow, the one that stands out more on the
// background.
QColor ringColourOn(const QColor& background);

// WCAG's relative luminance, and the contrast ratio of two colours (1 to 21).
double luminance(const QColor& colour);
double contrast(const QColor& a, const QColor& b);

}  // namespace platform
