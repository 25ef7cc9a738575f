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
    if (!m_flushing)
      adoptResultsText();
  });
  QCoreApplication::instance()->installEventFilter(this);
}

EnumerationOutput::~EnumerationOutput() { finish(); }

void EnumerationOutput::finish() {
  QCoreApplication::instance()->removeEventFilter(this);
  if (!m_dirty)
    return;
  m_flushing = true;
  m_dirty = false;
  if (m_total)
    m_outcomes->setText(engine::outcomeText(m_count, *m_total));
  m_results->setText(std::move(m_text));
  m_text = QString();
  m_flushing = false;
}

void EnumerationOutput::reserve(qsizetype characters) {
  if (characters > m_text.capacity())
    m_text.reserve(characters);
}

void EnumerationOutput::adoptResultsText() {
  m_text = m_results->text();
  m_dirty = false;
}

void EnumerationOutput::flush() {
  if (!m_dirty || m_flushing)
    return;
  m_flushing = true;
  m_dirty = false;
  if (m_total)
    m_outcomes->setText(engine::outcomeText(m_count, *m_total));
  m_total = nullptr;
  // Let the box drop its old copy before it takes the new one, and give it
  // a copy of its own, so that the buffer keeps growing in place.
  m_results->clear();
  m_results->setText(QString(m_text.constData(), m_text.size()));
  m_flushing = false;
}

bool EnumerationOutput::eventFilter(QObject* watched, QEvent* event) {
  if (m_dirty)
    flush();
  return QObject::eventFilter(watched, event);
}
