// The words of the results box as gWords holds them. A long run lists
// hundreds of millions of words there; cutting all of them into strings would
// take many times the memory of the text, and the meanings report needs only
// the few it shows. So the text is cut only as far as the words wanted, and
// the number of words is counted, or taken from the enumeration that counted
// the separators while it listed them.
#pragma once

#include <QString>
#include <QStringList>

namespace app {

// As SplitFields gives it for the text with its blanks turned into commas,
// split at ",": element 0 the number of words as decimal text, elements 1..
// the words, but only the first `wanted` of them. Raises an overflow when
// the words are too many to count in 32 bits, as SplitFields does.
QStringList resultWords(const QString& text, qint64 wanted);

// The enumeration vouches for the number of separators (blanks and commas)
// of the one text it has handed to the results box, from then until it
// withdraws, which it does before it changes or lets go of that text.
void vouchSeparators(const QString& text, qsizetype separators);
void withdrawSeparators();

// Separators in a piece of text: blanks and commas.
inline qsizetype separatorsIn(QStringView text) {
  qsizetype n = 0;
  for (const QChar c : text)
    n += c == u' ' || c == u',';
  return n;
}

}  // namespace app
