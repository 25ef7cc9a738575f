// Boxes answered for as long as a test needs: closing the editor can ask two
// questions in a row, and a test must also see that nothing was asked.
#pragma once

#include "support/modal.h"

#include <QApplication>
#include <QInputDialog>
#include <QList>
#include <QMessageBox>
#include <QTimer>

namespace lotwise::test {

// Answers every message box that opens while it lives, one after another,
// and keeps what each showed.
class MessageBoxes {
public:
  // Boxes beyond the given answers are answered No (or OK).
  explicit MessageBoxes(QList<QMessageBox::StandardButton> answers = {}) : m_answers(std::move(answers)) {
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
    m_timer.start(5);
  }

  QList<SeenBox> seen;
  QStringList texts() const {
    QStringList result;
    for (const SeenBox& box : seen)
      result << box.text;
    return result;
  }

private:
  void poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
      return;
    SeenBox s;
    s.shown = true;
    s.title = box->windowTitle();
    s.text = box->text();
    s.icon = box->icon();
    for (QAbstractButton* b : box->buttons())
      s.buttons << box->standardButton(b);
    seen << s;
    QMessageBox::StandardButton press = m_answers.isEmpty() ? QMessageBox::No : m_answers.takeFirst();
    if (!s.buttons.contains(press))
      press = s.buttons.value(0, QMessageBox::Ok);
    box->done(press);
  }

  QList<QMessageBox::StandardButton> m_answers;
  QTimer m_timer;
};

// Types the given answers into the input boxes that open while it lives and
// presses OK. Unlike answerInputBox it waits for an input box in particular,
// so it also serves when the editor itself is the modal window at first.
class InputBoxes {
public:
  explicit InputBoxes(QStringList answers) : m_answers(std::move(answers)) {
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
      auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible() || m_answers.isEmpty())
        return;
      dialog->setTextValue(m_answers.takeFirst());
      dialog->accept();
    });
    m_timer.start(5);
  }

private:
  QStringList m_answers;
  QTimer m_timer;
};

}  // namespace lotwise::test
