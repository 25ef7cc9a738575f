#include "records.h"

#include "platform/error.h"

namespace data {
namespace {

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

}  // namespace

RecordReader::RecordReader(QString text) : m_text(std::move(text)) {}

// Only spaces and line ends left: no record starts here. This keeps a final
// CR LF, blank lines at the end and a file of blanks from yielding a record
// of empty fields.
bool RecordReader::atEnd() const {
  for (qsizetype i = m_pos; i < m_text.size(); ++i) {
    const QChar c = m_text.at(i);
    if (c != u' ' && !isLineEnd(c))
      return false;
  }
  return true;
}

qsizetype RecordReader::position() const { return m_pos; }

void RecordReader::skipSpaces() {
  while (m_pos < m_text.size() && m_text.at(m_pos) == u' ')
    ++m_pos;
}

// Moves past the next comma or line end (CR LF counting as one), dropping
// whatever stands before it.
bool RecordReader::skipSeparator() {
  while (m_pos < m_text.size()) {
    const QChar c = m_text.at(m_pos++);
    if (c == u',' || c == u'\n')
      return true;
    if (c == u'\r') {
      if (m_pos < m_text.size() && m_text.at(m_pos) == u'\n')
        ++m_pos;
      return true;
    }
  }
  return false;
}

QString RecordReader::readField() {
  skipSpaces();
  if (m_pos < m_text.size() && m_text.at(m_pos) == u'"') {
    // No escape exists for a quote, so the first one closes the field; text
    // between it and the separator is dropped. Without a closing quote the
    // field takes the rest of the text.
    const qsizetype start = m_pos + 1;
    qsizetype close = m_text.indexOf(u'"', start);
    if (close < 0) {
      close = m_text.size();
      if (m_flaw == Flaw::None)
        m_flaw = Flaw::UnclosedQuote;
    }
    QString value = m_text.mid(start, close - start);
    m_pos = close < m_text.size() ? close + 1 : close;
    skipSpaces();
    if (m_pos < m_text.size() && m_text.at(m_pos) != u',' && !isLineEnd(m_text.at(m_pos)) && m_flaw == Flaw::None)
      m_flaw = Flaw::TextAfterQuote;
    m_endedWithText = !skipSeparator();
    return value;
  }
  const qsizetype start = m_pos;
  while (m_pos < m_text.size() && m_text.at(m_pos) != u',' && !isLineEnd(m_text.at(m_pos)))
    ++m_pos;
  qsizetype end = m_pos;
  while (end > start && m_text.at(end - 1) == u' ')
    --end;
  m_endedWithText = !skipSeparator();
  return m_text.mid(start, end - start);
}

QStringList RecordReader::readRecord(int fields) {
  if (fields < 1)
    platform::raiseInvalidCall();
  // Blank lines between records carry nothing: skip them, so that a stray
  // empty line in a hand-edited file does not shift every later field. A
  // blank line inside a record still stands for an empty field.
  while (m_pos < m_text.size() && (m_text.at(m_pos) == u' ' || isLineEnd(m_text.at(m_pos))))
    ++m_pos;
  m_flaw = Flaw::None;
  QStringList record;
  record.reserve(fields);
  for (int i = 0; i < fields; ++i) {
    if (i > 0 && m_endedWithText && m_flaw == Flaw::None)
      m_flaw = Flaw::CutShort;
    record << readField();
  }
  return record;
}

}  // namespace data
