// Whether a window can open at all, asked before Qt's platform plugin is
// loaded: Qt ends the process with an abort when it finds no display.
#pragma once

#include <QString>

namespace app {

// Empty when a display answers, or when the platform was chosen on purpose
// (QT_QPA_PLATFORM or -platform), which Qt is left to open. Otherwise one
// line that says what was tried: the DISPLAY and WAYLAND_DISPLAY found, or
// that they are unset.
QString displayTrouble(bool platformChosen);

// The same line, for when Qt could not open the display it was given.
QString noDisplayMessage();

}  // namespace app
