#include "quotefree.h"

#include "editorlogic.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>
#include <memory>

namespace editor {
namespace {

// The key less its quotes, or nothing when only quotes were typed: the key
// is then taken as handled, so that it travels on to the window neither.
std::unique_ptr<QKeyEvent> keyWithoutQuotes(QKeyEvent* event) {
  const QString rest = withoutQuotes(event->text());
  if (rest.isEmpty()) {
    event->accept();
    return nullptr;
  }
  return std::make_unique<QKeyEvent>(event->type(), event->key(), event->modifiers(), rest, event->isAutoRepeat(),
                                     static_cast<ushort>(event->count()));
}

// The input-method event less the quotes of its committed text. It is still
// passed on when nothing is left, as it also ends the composition on show.
std::unique_ptr<QInputMethodEvent> compositionWithoutQuotes(const QInputMethodEvent* event) {
  auto filtered = std::make_unique<QInputMethodEvent>(event->preeditString(), event->attributes());
  filtered->setCommitString(withoutQuotes(event->commitString()), event->replacementStart(),
                            event->replacementLength());
  return filtered;
}

}  // namespace

QValidator::State QuoteFreeValidator::validate(QString& input, int& pos) const {
  if (input.contains(u'"')) {
    pos -= static_cast<int>(QStringView(input).left(pos).count(u'"'));
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

void QuoteFreeLineEdit::keyPressEvent(QKeyEvent* event) {
  if (!event->text().contains(u'"')) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (const auto filtered = keyWithoutQuotes(event)) {
    QLineEdit::keyPressEvent(filtered.get());
    event->setAccepted(filtered->isAccepted());
  }
}

void QuoteFreeLineEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().contains(u'"')) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  const auto filtered = compositionWithoutQuotes(event);
  QLineEdit::inputMethodEvent(filtered.get());
  event->setAccepted(filtered->isAccepted());
}

QuoteFreeTextEdit::QuoteFreeTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    const QString text = document()->toRawText();
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
  if (const auto filtered = keyWithoutQuotes(event)) {
    QPlainTextEdit::keyPressEvent(filtered.get());
    event->setAccepted(filtered->isAccepted());
  }
}

void QuoteFreeTextEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().contains(u'"')) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  const auto filtered = compositionWithoutQuotes(event);
  QPlainTextEdit::inputMethodEvent(filtered.get());
  event->setAccepted(filtered->isAccepted());
}

void QuoteFreeTextEdit::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText() || !source->text().contains(u'"')) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  // Like any paste, it replaces the selection, also when only quotes came.
  const QString rest = withoutQuotes(source->text());
  if (rest.isEmpty()) {
    textCursor().removeSelectedText();
    return;
  }
  QMimeData filtered;
  filtered.setText(rest);
  QPlainTextEdit::insertFromMimeData(&filtered);
}

}  // namespace editor
