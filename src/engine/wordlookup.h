// The word of a word code, looked up in the word list file.
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

// Reads the whole file at every call, so that a change saved by the editor
// counts at once; a run or a report that makes many lookups reads it once
// through a Reading instead. A missing file gives "" and is not created; a
// file that cannot be read, or is too large to be a word list, gives "" too.
// Both set *troubled, if given, so that the caller can tell the user once.
QString lookupWord(const QString& wordsPath, const QString& code, bool* troubled = nullptr);

}  // namespace engine
