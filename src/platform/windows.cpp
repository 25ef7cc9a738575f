#include "windows.h"

#include "error.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMargins>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

Answer messageBox(QWidget* parent, const QString& text, const QString& title, Icon icon, Buttons buttons) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setText(text);
  switch (icon) {
    case Icon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case Icon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case Icon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case Icon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  switch (buttons) {
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case Buttons::OverwriteReloadCancel:
      box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
      box.button(QMessageBox::Save)->setText(QStringLiteral("&Overwrite"));
      box.button(QMessageBox::Discard)->setText(QStringLiteral("&Reload"));
      box.setDefaultButton(QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  const int pressed = box.exec();
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
    case Buttons::OverwriteReloadCancel:
      // A box closed any other way (the program ending) saves nothing.
      if (pressed == QMessageBox::Save)
        return Answer::Overwrite;
      return pressed == QMessageBox::Discard ? Answer::Reload : Answer::Cancel;
  }
  return Answer::No;
}

void showFailure(QWidget* parent, const Error& error) {
  messageBox(parent, error.description(), QStringLiteral("Error %1").arg(error.number()), Icon::Critical, Buttons::Ok);
}

QMessageBox* showNotice(QWidget* parent, const QString& text, const QString& title) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box->setWindowModality(Qt::NonModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  // Shown over the middle of its window, and active: Return and Escape close it.
  // Closed, it hands the keys back to that window, with or without a window
  // manager to do it.
  if (parent)
    QObject::connect(box, &QMessageBox::finished, parent->window(),
                     [owner = parent->window()] { owner->activateWindow(); });
  box->show();
  box->activateWindow();
  return box;
}

QString inputBox(QWidget* parent, const QString& prompt, const QString& title) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(title);
  dialog.setLabelText(prompt);
  dialog.setTextValue(QString());
  dialog.setInputMode(QInputDialog::TextInput);
  if (dialog.exec() != QDialog::Accepted)
    return {};
  return dialog.textValue();
}

void yield() { QCoreApplication::processEvents(); }

QString multiLineText(const QPlainTextEdit* box) {
  return box->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

int twipsToPixels(double twips) {
  // Beyond this Qt clamps widget sizes anyway; clamping first keeps the
  // conversion defined for any value a rule can compute.
  constexpr double kMaxPixels = QWIDGETSIZE_MAX;
  return static_cast<int>(std::lround(std::clamp(twips / kTwipsPerPixel, -kMaxPixels, kMaxPixels)));
}

float pixelsToTwips(int pixels) { return static_cast<float>(pixels * kTwipsPerPixel); }

float widthTwips(const QWidget* widget) { return pixelsToTwips(widget->width()); }

float heightTwips(const QWidget* widget) { return pixelsToTwips(widget->height()); }

void setWidthTwips(QWidget* widget, float twips) {
  if (!(twips >= 0))
    throw Error(InvalidProcedureCall, QStringLiteral("Invalid property value"));
  widget->resize(twipsToPixels(twips), widget->height());
}

void setHeightTwips(QWidget* widget, float twips) {
  if (!(twips >= 0))
    throw Error(InvalidProcedureCall, QStringLiteral("Invalid property value"));
  widget->resize(widget->width(), twipsToPixels(twips));
}

void placeTwips(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void showWholeRows(QListView* list) {
  // The height the list's delegate gives any line of text in the list's
  // font, asked of the style as the delegate asks it: the list may be empty.
  QStyleOptionViewItem line;
  line.initFrom(list);
  line.font = list->font();
  line.fontMetrics = QFontMetrics(line.font);
  line.features = QStyleOptionViewItem::HasDisplay;
  line.text = QStringLiteral("0");
  const int row = list->style()->sizeFromContents(QStyle::CT_ItemViewItem, &line, QSize(), list).height();
  const int view = list->contentsRect().height();
  if (row <= 0 || view < row)
    return;
  list->resize(list->width(), list->height() - view % row);
}

}  // namespace platform

namespace platform {

namespace {

// What a window manager's frame typically takes, in device-independent
// pixels, for a window not framed yet: a title bar and thin borders.
constexpr QMargins kTypicalFrame(4, 32, 4, 4);

QMargins frameOf(const QWidget* window) {
  const QWindow* handle = window->windowHandle();
  return handle ? handle->frameMargins() : QMargins();
}

// Brings the window's size, and its frame's top left corner when place is
// set, within the available area of its screen.
void fit(QWidget* window, const QMargins& frame, bool place) {
  const QScreen* screen = window->screen();
  if (screen == nullptr)
    return;
  const QRect available = screen->availableGeometry();
  // At a fractional scale each edge is rounded to the screen's pixels on its
  // own: a pixel of slack keeps the rounded frame inside.
  const qreal ratio = screen->devicePixelRatio();
  const int slack = ratio == std::floor(ratio) ? 0 : 1;
  const QSize border(frame.left() + frame.right() + slack, frame.top() + frame.bottom() + slack);
  const QSize size = window->size().boundedTo(available.size() - border);
  if (size != window->size())
    window->resize(size);
  if (!place)
    return;
  const QSize outer = size + border;
  const QPoint inside(std::clamp(window->x(), available.left(), available.right() + 1 - outer.width()),
                      std::clamp(window->y(), available.top(), available.bottom() + 1 - outer.height()));
  if (inside != window->pos())
    window->move(inside);
}

// Fits the window again once its frame is known, and on every change of
// screen. A maximised, full-screen or minimised window is the window
// manager's to place.
class KeepOnScreen : public QObject {
public:
  // wanted: the size asked for before the typical frame was allowed for.
  KeepOnScreen(QWidget* window, QSize wanted) : QObject(window), m_window(window), m_wanted(wanted) {
    window->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Show:
        if (!m_screenWatched && m_window->windowHandle()) {
          m_screenWatched = true;
          // Queued: the window manager may still be moving it there.
          connect(m_window->windowHandle(), &QWindow::screenChanged, this,
                  [this] { QTimer::singleShot(0, this, [this] { refit(false); }); });
        }
        [[fallthrough]];
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::WindowActivate:
        if (!m_framed && m_window->isVisible() && !frameOf(m_window).isNull()) {
          m_framed = true;
          refit(true);
        }
        break;
      default:
        break;
    }
    return false;
  }

private:
  // regrow: back to the size first asked for, as the real frame may leave
  // more room than the typical one took (framed just after its first show,
  // the window still has the size it was given).
  void refit(bool regrow) {
    if (!m_window->isVisible() ||
        (m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
      return;
    if (regrow)
      m_window->resize(m_wanted);
    fit(m_window, frameOf(m_window), true);
  }

  QWidget* m_window;
  QSize m_wanted;
  bool m_framed = false;
  bool m_screenWatched = false;
};

}  // namespace

void fitOnScreen(QWidget* window) {
  const QSize wanted = window->size();
  const bool placed = window->testAttribute(Qt::WA_Moved);
  fit(window, kTypicalFrame, placed);
  if (!placed && window->screen()) {
    const QRect available = window->screen()->availableGeometry();
    const QSize outer = window->size() + QSize(kTypicalFrame.left() + kTypicalFrame.right(),
                                               kTypicalFrame.top() + kTypicalFrame.bottom());
    window->move(available.topLeft() +
                 QPoint((available.width() - outer.width()) / 2, (available.height() - outer.height()) / 2));
  }
  new KeepOnScreen(window, wanted);
}

}  // namespace platform
