// The fonts the window designs name, and what stands in for them here.
#pragma once

#include <QFont>

namespace platform {

inline constexpr const char* kTimes = "Times New Roman";
inline constexpr const char* kCourier = "Courier New";
inline constexpr const char* kSans = "MS Sans Serif";

// The designs name fonts of the platform they were made on; the first
// metric-compatible face installed (Liberation, Tinos/Arimo/Cousine, Nimbus)
// stands in for them so that a layout in twips still fits. Safe to call from every window: it installs once.
void installFontSubstitutions();

// A font of the design: family, size in points, weight. The style hint keeps
// the fixed-pitch face fixed-pitch where no substitute is installed.
QFont designFont(const char* family, qreal points, bool bold = false);

}  // namespace platform
