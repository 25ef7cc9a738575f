// The word of a word code, looked up in the word list's text (a run reads
// the file once, through a Reading).
#pragma once

#include <QHash>
#include <QString>

namespace engine {

// The words of a word list's text by their codes: fields trimmed of spaces,
// the last record of a code winning.
class WordList {
public:
  explicit WordList(const QString& text);
  // The word of the code, compared exactly; "" for a code of no record.
  QString word(const QString& code) const { return m_words.value(code); }

private:
  QHash<QString, QString> m_words;
};

}  // namespace engine
