#include "editorlogic.h"

#include "platform/textfile.h"
#include "platform/wholefile.h"
#include "util/binvalue.h"
#include "util/fileexists.h"
#include "util/numbers.h"
#include "util/text.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace editor {

namespace {

// Reads records one by one into fill(index, fields) until the file ends or
// count records are in. A failure stops the reading; what was read stays,
// and the failure is returned when something is there at the path: a file
// the editor could not read must not be saved over later.
template <typename Fill>
std::optional<platform::Error> readRecords(const QString& path, int fields, int count, QByteArray& fingerprint,
                                           Fill fill) {
  if (!util::FileExists(path)) {
    if (!QFileInfo::exists(path))
      return std::nullopt;  // missing: nothing to lose
    return platform::Error(platform::PathFileAccessError, QStringLiteral("Path/File access error"));
  }
  try {
    // One reading gives both the rows and their fingerprint, so that the two
    // can never come from different saves.
    const QByteArray bytes = platform::readWholeFile(path);
    fingerprint = data::fingerprintOf(bytes);
    data::RecordReader reader(platform::decodeText(bytes));
    for (int k = 0; k < count && !reader.atEnd(); ++k) {
      const QStringList values = reader.readRecord(fields);
      fill(k, [&](int f) { return util::trimSpaces(values.value(f)).toString(); });
    }
  } catch (const platform::Error& failure) {
    return failure;
  } catch (const std::exception&) {
    return platform::Error(platform::PathFileAccessError, QStringLiteral("Path/File access error"));
  }
  return std::nullopt;
}

}  // namespace

WordList readWordList(const QString& path) {
  WordList list;
  list.unread = readRecords(path, data::kWordFields, kWordRows, list.fingerprint, [&](int k, auto value) {
    list.codes[k] = value(0);
    list.words[k] = value(1);
  });
  return list;
}

Dictionary readDictionary(const QString& path) {
  Dictionary dictionary;
  dictionary.unread =
      readRecords(path, data::kDictionaryFields, kDictionaryRows, dictionary.fingerprint, [&](int r, auto value) {
        dictionary.code1[r] = value(0);
        dictionary.code2[r] = value(1);
        dictionary.words[r] = value(2);
        dictionary.meaning[r] = value(3);
      });
  return dictionary;
}

QList<QStringList> wordRecords(const WordColumn& codes, const WordColumn& words) {
  QList<QStringList> records;
  records.reserve(kWordRows);
  for (int k = 0; k < kWordRows; ++k)
    records.append({codes[k], words[k]});
  return records;
}

QList<QStringList> dictionaryRecords(const DictColumn& code1, const DictColumn& code2, const DictColumn& words,
                                     const DictColumn& meaning) {
  QList<QStringList> records;
  records.reserve(kDictionaryRows);
  for (int r = 0; r < kDictionaryRows; ++r)
    records.append({code1[r], code2[r], words[r], meaning[r]});
  return records;
}

QString wordOfCode(const WordColumn& words, const QString& code) {
  try {
    const qint32 row = util::BinValue(code);
    if (row >= 0 && row < kWordRows)
      return words[row];
  } catch (const std::exception&) {
    // a value too large for the computation names no word row either
  }
  return QString();
}

QString composeWords(const WordColumn& words, const QString& code1, const QString& code2) {
  return wordOfCode(words, code1) + QStringLiteral(" - ") + wordOfCode(words, code2);
}

std::optional<int> gotoRow(const QString& answer) {
  try {
    const qint32 row = util::toLong(util::Val(answer));
    if (row >= 1 && row <= kDictionaryRows)
      return row;
  } catch (const std::exception&) {
    // too large for a 32-bit row number: no row
  }
  return std::nullopt;
}

QString frameCaption(int row) { return QStringLiteral("Dictionary : Row %1 of %2").arg(row).arg(kDictionaryRows); }

QString withFileLineBreaks(const QString& text) {
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
  QString result = text;
  return result.replace(lineBreak, QStringLiteral("\r\n"));
}

QString withoutQuotes(QString text) { return text.remove(u'"'); }

}  // namespace editor
