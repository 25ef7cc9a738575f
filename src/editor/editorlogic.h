// What the dictionary editor works out without its window: the files read
// into rows, the Words of a row, the row a Goto answer names, the records it
// saves. The window only moves these values in and out of its boxes.
#pragma once

#include "data/records.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace editor {

inline constexpr int kWordRows = data::kWordRecords;
inline constexpr int kDictionaryRows = data::kDictionaryRows;

using WordColumn = std::array<QString, kWordRows>;
using DictColumn = std::array<QString, kDictionaryRows>;

// What was read from a file, and, when the file is there but could not be
// read, why not. The rows are then empty, and saving them would replace
// whatever the file holds. fingerprint tells a later save whether the file
// still holds what was read (data::fingerprintOf; empty when nothing was).
struct WordList {
  WordColumn codes, words;
  std::optional<platform::Error> unread;
  // Why the file was refused for its size, in words that follow its path.
  std::optional<QString> refusedForSize;
  QByteArray fingerprint;
};

struct Dictionary {
  DictColumn code1, code2, words, meaning;
  std::optional<platform::Error> unread;
  std::optional<QString> refusedForSize;
  QByteArray fingerprint;
};

// The first 16 word records and the first 256 dictionary rows of a file,
// every value trimmed of spaces; later records are ignored. Rows the file
// does not reach stay empty, and so does everything when the file is missing
// or cannot be read: the editor opens without a message either way.
WordList readWordList(const QString& path);
Dictionary readDictionary(const QString& path);

// What saving writes: always 16 word records and 256 dictionary rows.
QList<QStringList> wordRecords(const WordColumn& codes, const WordColumn& words);
QList<QStringList> dictionaryRecords(const DictColumn& code1, const DictColumn& code2, const DictColumn& words,
                                     const DictColumn& meaning);

// The word of a code: the word row at its BinValue. A code that names no
// word row (a value of 16 or more, or one too large to compute) has no word,
// rather than reaching past the list.
QString wordOfCode(const WordColumn& words, const QString& code);

// The Words of a dictionary row: the word of Code 1, " - ", the word of
// Code 2, the words exactly as given (spaces kept).
QString composeWords(const WordColumn& words, const QString& code1, const QString& code2);

// The row a Goto answer names: its leading number, rounded half to even.
// Anything outside 1..256 (Cancel and non-numbers read as 0) names no row.
std::optional<int> gotoRow(const QString& answer);

// "Dictionary : Row 5 of 256".
QString frameCaption(int row);

// A meaning as the files keep it: every line break (CR LF, a lone CR or LF,
// or the paragraph and line separators of a text document) as CR LF.
QString withFileLineBreaks(const QString& text);

// The text less every double quote: the files have no escape for one, so a
// quote inside a field would shift every later field of the file.
QString withoutQuotes(QString text);

}  // namespace editor
