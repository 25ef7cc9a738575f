// What assistive tools (a screen reader over AT-SPI) are told about a few
// controls whose Qt defaults would mislead them. Each call marks one
// control; the interfaces are made only when a tool asks, so a session
// without one pays nothing.
#pragma once

class QLabel;
class QLineEdit;
class QWidget;

namespace platform {

// The label is read as a text under its own accessible name: a king is
// "King A" whose text is its word, where Qt would offer only the word as the
// label's name, with nothing to tell which column it belongs to.
void readCaptionAsText(QLabel* label);

// The box echoes nothing so that long texts are never laid out, not to keep
// a secret: it is offered as a read-only text, never as a password field.
void readAsPlainText(QLineEdit* box);

// A drawing that means nothing (a frame around a button) is offered as a
// filler, which screen readers pass over, not as a frame: on AT-SPI a frame
// is a window.
void markDecorative(QWidget* widget);

}  // namespace platform
