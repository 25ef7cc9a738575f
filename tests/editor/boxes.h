// Answers every message box that opens while it lives, one after another,
// and keeps what each showed: closing the editor can ask two questions in a
// row, and a test must also see that nothing was asked at all.
#pragma once

#include "support/modal.h"

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QTimer>

namespace lotwise::test {

class MessageBoxes {
public:
  // Boxes beyond the given answers are answered No (or OK).
  explicit MessageBoxes(QList<QMessageBox::StandardButton> answers = {}) : m_answers(std::move(answers)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
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

}  // namespace lotwise::test
