// Answers modal boxes from a scheduled callback, so that no test ever waits
// on a human. The callback receives the active modal widget once it is up.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace lotwise::test {

// Runs handle(widget) on the next modal widget that opens (polling, up to
// 10 s), then returns. Schedule it before the call that opens the box.
inline void whenModal(std::function<void(QWidget*)> handle) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, handle] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && clock->elapsed() < 10000)
      return;
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (modal)
      handle(modal);
  });
  timer->start(5);
}

// What a message box showed, and the button pressed to close it.
struct SeenBox {
  bool shown = false;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> buttons;
};

inline void answerMessageBox(SeenBox* seen, QMessageBox::StandardButton press = QMessageBox::Ok) {
  whenModal([seen, press](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box)
      return;
    seen->shown = true;
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    for (QAbstractButton* b : box->buttons())
      seen->buttons << box->standardButton(b);
    box->done(press);
  });
}

// Types answer into the next input box and presses OK, or Cancel when
// cancel is set.
inline void answerInputBox(const QString& answer, bool cancel = false, QString* seenPrompt = nullptr,
                           QString* seenTitle = nullptr) {
  whenModal([=](QWidget* w) {
    auto* dialog = qobject_cast<QInputDialog*>(w);
    if (!dialog)
      return;
    if (seenPrompt)
      *seenPrompt = dialog->labelText();
    if (seenTitle)
      *seenTitle = dialog->windowTitle();
    if (cancel) {
      dialog->reject();
    } else {
      dialog->setTextValue(answer);
      dialog->accept();
    }
  });
}

}  // namespace lotwise::test
