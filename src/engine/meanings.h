// The meanings report: a pair of codes looked up in the dictionary, and the
// two lines of the meanings page for each entry found.
#pragma once

#include <QString>
#include <optional>

namespace engine {

struct DictionaryEntry {
  QString code1, code2, words, meaning;
};

// The first row whose Code 1 and Code 2 equal the codes, compared as read,
// in the dictionary's text.
std::optional<DictionaryEntry> findEntryIn(const QString& dictionaryText, const QString& code1, const QString& code2);

// The page's heading line. A row whose two codes are equal ends it with
// "</></b><br>", leaving the italics open: pages have always been written
// that way, and must keep looking the same.
QString headingLine(const QString& heading, bool equalCodes);
QString meaningLine(const QString& meaning);

}  // namespace engine
