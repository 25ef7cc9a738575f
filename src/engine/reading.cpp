#include "reading.h"

namespace engine {

Reading::Reading(QString wordsPath, QString dictionaryPath)
    : m_files(std::move(wordsPath), std::move(dictionaryPath)) {}

QString Reading::word(const QString& code, bool* troubled) {
  const data::DataFile& file = m_files.words();
  if (file.problem) {
    if (troubled)
      *troubled = true;
    return QString();
  }
  if (!m_words)
    m_words.emplace(file.text);
  return m_words->word(code);
}

std::optional<DictionaryEntry> Reading::entry(const QString& code1, const QString& code2, bool* troubled) {
  const data::DataFile& file = m_files.dictionary();
  if (file.problem) {
    if (troubled)
      *troubled = true;
    return std::nullopt;
  }
  return findEntryIn(file.text, code1, code2);
}

}  // namespace engine
