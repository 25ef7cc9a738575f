#include "quotefree.h"

#include "editorlogic.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace editor {

QValidator::State QuoteFreeValidator::validate(QString& input, int& pos) const {
  if (input.contains(u'"')) {
    pos -= static_cast<int>(input.left(pos).count(u'"'));
    input = withoutQuotes(input);
  }
  return Acceptable;
}

QuoteFreeLineEdit::QuoteFreeLineEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new QuoteFreeValidator(this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (text == m_reported)
      return;
    m_reported = text;
    emit changed();
  });
}

void QuoteFreeTextEdit::keyPressEvent(QKeyEvent* event) {
  if (!event->text().contains(u'"')) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  const QString rest = withoutQuotes(event->text());
  if (rest.isEmpty()) {
    event->accept();  // swallowed, so that it does not travel to the window either
    return;
  }
  QKeyEvent filtered(event->type(), event->key(), event->modifiers(), rest, event->isAutoRepeat(),
                     static_cast<ushort>(event->count()));
  QPlainTextEdit::keyPressEvent(&filtered);
  event->setAccepted(filtered.isAccepted());
}

void QuoteFreeTextEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().contains(u'"')) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent filtered(event->preeditString(), event->attributes());
  filtered.setCommitString(withoutQuotes(event->commitString()), event->replacementStart(), event->replacementLength());
  QPlainTextEdit::inputMethodEvent(&filtered);
  event->setAccepted(filtered.isAccepted());
}

void QuoteFreeTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText() || !source->text().contains(u'"')) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  const QString rest = withoutQuotes(source->text());
  if (rest.isEmpty())
    return;
  QMimeData filtered;
  filtered.setText(rest);
  QPlainTextEdit::insertFromMimeData(&filtered);
}

}  // namespace editor
