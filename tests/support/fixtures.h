// Small data files for tests: a word list whose word of each code is easy
// to predict ("w" followed by the code), and a matching dictionary.
#pragma once

#include <QByteArray>
#include <QString>

namespace lotwise::test {

inline QString codeOf(int value) { return QString::number(value, 2).rightJustified(4, '0'); }

inline QString wordOf(const QString& code) { return "w" + code; }

// 16 records, record k carrying the code of value k; skip leaves one out.
inline QByteArray wordsFile(int skip = -1) {
  QByteArray bytes;
  for (int k = 0; k < 16; ++k) {
    if (k == skip)
      continue;
    const QString code = codeOf(k);
    bytes += QString("\"%1\",\"%2\"\r\n").arg(code, wordOf(code)).toLatin1();
  }
  return bytes;
}

// 256 rows in code order; the meaning names its pair ("m0101-0011").
inline QByteArray dictionaryFile() {
  QByteArray bytes;
  for (int a = 0; a < 16; ++a) {
    for (int b = 0; b < 16; ++b) {
      const QString c1 = codeOf(a), c2 = codeOf(b);
      bytes += QString("\"%1\",\"%2\",\"%3 - %4\",\"m%1-%2\"\r\n").arg(c1, c2, wordOf(c1), wordOf(c2)).toLatin1();
    }
  }
  return bytes;
}

// One dictionary row with the given meaning.
inline QByteArray entryRow(const QString& c1, const QString& c2, const QString& meaning) {
  return QString("\"%1\",\"%2\",\"%3 - %4\",\"%5\"\r\n").arg(c1, c2, wordOf(c1), wordOf(c2), meaning).toLatin1();
}

}  // namespace lotwise::test
