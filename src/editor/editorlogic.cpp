#include "editorlogic.h"

#include "data/datafile.h"
#include "util/binvalue.h"
#include "util/numbers.h"
#include "util/text.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace editor {

namespace {

// Fills fill(index, fields) from the file's records until it ends or count
// records are in. A file that is there but could not be read, or is refused
// for its size, fills nothing and is reported: a file the editor could not
// read must not be saved over later.
template <typename Fill>
std::optional<platform::Error> readRecords(const data::DataFile& file, int fields, int count, QByteArray& fingerprint,
                                           Fill fill) {
  if (file.problem) {
    const QFileInfo there(file.path);
    if (!there.exists() && !there.isSymLink())
      return std::nullopt;  // missing: nothing to lose
    return platform::Error(platform::PathFileAccessError,
                           QStringLiteral("Path/File access error: the file %1").arg(*file.problem));
  }
  // One reading gives both the rows and their fingerprint, so that the two
  // can never come from different saves.
  fingerprint = file.fingerprint;
  data::RecordReader reader(file.text);
  for (int k = 0; k < count && !reader.atEnd(); ++k) {
    const QStringList values = reader.readRecord(fields);
    fill(k, [&](int f) { return util::trimSpaces(values.value(f)).toString(); });
  }
  return std::nullopt;
}

}  // namespace

WordList readWordList(const QString& path) {
  WordList list;
  const data::DataFile file = data::readWordListFile(path);
  if (file.tooLarge)
    list.refusedForSize = file.problem;
  list.unread = readRecords(file, data::kWordFields, kWordRows, list.fingerprint, [&](int k, auto value) {
    list.codes[k] = value(0);
    list.words[k] = value(1);
  });
  return list;
}

Dictionary readDictionary(const QString& path) {
  Dictionary dictionary;
  const data::DataFile file = data::readDictionaryFile(path);
  if (file.tooLarge)
    dictionary.refusedForSize = file.problem;
  dictionary.unread =
      readRecords(file, data::kDictionaryFields, kDictionaryRows, dictionary.fingerprint, [&](int r, auto value) {
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
    return QString();  // a value too large for the computation names no word row either
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
    return std::nullopt;  // too large for a 32-bit row number: no row
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
