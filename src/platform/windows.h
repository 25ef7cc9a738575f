// Window services: message and input boxes, the yield, sizes in twips.
#pragma once

#include <QString>
#include <cstdint>

class QListView;
class QMessageBox;
class QPlainTextEdit;
class QWidget;

namespace platform {

class Error;

enum class Icon : std::uint8_t { None, Information, Question, Critical };
// OverwriteReloadCancel: the standard buttons Save, Discard and Cancel,
// captioned "Overwrite", "Reload" and "Cancel"; Cancel is the default and
// the answer of Escape.
enum class Buttons : std::uint8_t { Ok, YesNo, OverwriteReloadCancel };
enum class Answer : std::uint8_t { Ok, Yes, No, Overwrite, Reload, Cancel };

// A QMessageBox, modal, that blocks until closed.
Answer messageBox(QWidget* parent, const QString& text, const QString& title, Icon icon, Buttons buttons = Buttons::Ok);

// The message for a failure the user has to know about: its description,
// titled "Error " and its number, with a critical icon and OK.
void showFailure(QWidget* parent, const Error& error);

// A warning to read without being stopped by it: a QMessageBox with a
// warning icon and OK, centred over its window, that is not modal but takes
// the keyboard, and goes when closed, or with its parent.
QMessageBox* showNotice(QWidget* parent, const QString& text, const QString& title);

// A QInputDialog with an empty answer field; "" on Cancel.
QString inputBox(QWidget* parent, const QString& prompt, const QString& title);

// Handles every pending event, nested, then returns to the caller.
void yield();

// The text of a multi-line box with its lines joined by CR LF, the line end
// of the program's files (the box itself keeps bare line breaks).
QString multiLineText(const QPlainTextEdit* box);

// Geometry of the design is in twips; 15 twips make one device-independent
// pixel, so high-DPI screens scale the design as a whole.
constexpr int kTwipsPerPixel = 15;
int twipsToPixels(double twips);
float pixelsToTwips(int pixels);

// Sizes in twips. A negative size is refused with platform::Error and the
// widget keeps its size.
float widthTwips(const QWidget* widget);
float heightTwips(const QWidget* widget);
void setWidthTwips(QWidget* widget, float twips);
void setHeightTwips(QWidget* widget, float twips);
// Places a widget at its design rectangle (twips, relative to its parent).
void placeTwips(QWidget* widget, int left, int top, int width, int height);

// Shortens a list of one-line text rows to its frame and the whole rows that
// fit its height, so that no row is cut by its lower edge. A list too low
// for one row keeps its height.
void showWholeRows(QListView* list);

}  // namespace platform

namespace platform {

// Keeps a top-level window, its frame included, within the available area
// of its screen. Before the first show it allows for a typical frame, and a
// window nobody placed is placed in the middle of the area, so that a box
// shown over it at once is centred over where it will be. Once the window
// manager has framed it, and whenever it moves to another screen, its size
// and place are brought within the area again where they do not fit. A
// window that fits is left as it is.
void fitOnScreen(QWidget* window);

}  // namespace platform
