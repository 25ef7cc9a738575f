#include "enumerationoutput.h"

#include "engine/outcome.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

EnumerationOutput::EnumerationOutput(QLineEdit* results, QLabel* outcomes)
    : m_results(results), m_outcomes(outcomes), m_text(results->text()) {
  // A handler that writes the results box while the enumeration waits sets
  // the text that later combinations are appended to.
  connect(m_results, &QLineEdit::textChanged, this, [this] {
    if (!m_flushing) {
      m_text = m_results->text();
      m_dirty = false;
    }
  });
  QCoreApplication::instance()->installEventFilter(this);
}

EnumerationOutput::~EnumerationOutput() {
  QCoreApplication::instance()->removeEventFilter(this);
  flush();
}

void EnumerationOutput::reserve(qsizetype characters) {
  if (characters > m_text.capacity())
    m_text.reserve(characters);
}

void EnumerationOutput::flush() {
  if (!m_dirty || m_flushing)
    return;
  m_flushing = true;
  m_dirty = false;
  if (m_total)
    m_outcomes->setText(engine::outcomeText(m_count, *m_total));
  m_total = nullptr;
  // The box shares the buffer: no copy, however long the text.
  m_results->setText(m_text);
  m_flushing = false;
}

void EnumerationOutput::takeTextBack() {
  // Between events nothing reads the box, so it lets go of the shared text
  // and the buffer grows in place; the next flush shares it again.
  // (Not clear(): that records the removal of every character for undo.)
  m_flushing = true;
  m_results->setText(QString());
  m_flushing = false;
  m_dirty = true;
}

bool EnumerationOutput::eventFilter(QObject* watched, QEvent* event) {
  if (m_dirty)
    flush();
  return QObject::eventFilter(watched, event);
}
