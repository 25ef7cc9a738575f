// The lookups of one run or one report, from one reading of the data files:
// however many words and meanings it looks up, each file is opened at most
// once, and a file changed on disk counts from the next reading on.
#pragma once

#include "data/datafile.h"
#include "engine/meanings.h"
#include "engine/wordlookup.h"

#include <optional>

namespace engine {

class Reading {
public:
  Reading(QString wordsPath, QString dictionaryPath);

  // The word of a code, and the dictionary entry of a pair of codes, from
  // the reading: a file that could not be read gives nothing and sets
  // *troubled, so that the caller can tell the user once.
  QString word(const QString& code, bool* troubled);
  std::optional<DictionaryEntry> entry(const QString& code1, const QString& code2, bool* troubled);

  data::DataFiles& files() { return m_files; }

private:
  data::DataFiles m_files;
  std::optional<WordList> m_words;
};

}  // namespace engine
