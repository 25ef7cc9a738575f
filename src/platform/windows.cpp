#include "windows.h"

#include "error.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
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

namespace {

// Hands the activation a freshly shown notice took straight back to the
// window it is about, once.
class GiveActivationBack : public QObject {
public:
  GiveActivationBack(QWidget* box, QWidget* owner) : QObject(box), m_owner(owner) { box->installEventFilter(this); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate) {
      watched->removeEventFilter(this);
      if (m_owner)
        m_owner->activateWindow();
      deleteLater();
    }
    return false;
  }

private:
  QPointer<QWidget> m_owner;
};

}  // namespace

QMessageBox* showNotice(QWidget* parent, const QString& text, const QString& title) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box->setWindowModality(Qt::NonModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setAttribute(Qt::WA_ShowWithoutActivating);
  // Without a window manager (the offscreen platform of headless runs and
  // widget tests) every window shown is activated, whatever it asks; the
  // keys would then go to the notice instead of the window under it.
  const QString platform = QGuiApplication::platformName();
  if (parent && (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")))
    new GiveActivationBack(box, parent->window());
  box->show();
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

void fitOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr)
    return;
  const QRect available = screen->availableGeometry();
  // The frame is known only for a window shown before; a new one has none yet.
  const QSize frame = window->frameGeometry().size() - window->size();
  const QSize size = window->size().boundedTo(available.size() - frame);
  if (size != window->size())
    window->resize(size);
  // A window nobody placed is placed by the window manager, inside the area.
  if (!window->testAttribute(Qt::WA_Moved))
    return;
  const QSize outer = size + frame;
  const QPoint inside(std::clamp(window->x(), available.left(), available.right() + 1 - outer.width()),
                      std::clamp(window->y(), available.top(), available.bottom() + 1 - outer.height()));
  if (inside != window->pos())
    window->move(inside);
}

}  // namespace platform
