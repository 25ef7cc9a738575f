#include "datafile.h"

#include "platform/error.h"
#include "platform/textfile.h"
#include "platform/wholefile.h"
#include "records.h"

#include <QFileInfo>
#include <QLocale>

namespace data {
namespace {

QLocale numbers() {
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::DefaultNumberOptions);  // with its thousands separators
  return c;
}

// size: what the file system reports; a file that reads on past the limit
// may report less, even nothing.
QString tooLarge(qint64 size, qint64 maxBytes) {
  const QLocale c = numbers();
  const QString most = c.formattedDataSize(maxBytes, 0, QLocale::DataSizeTraditionalFormat);
  if (size <= maxBytes)
    return QStringLiteral("is too large to read: it reads on past %1, the most a sound one holds").arg(most);
  return QStringLiteral("is too large to read: %1 bytes (%2), where a sound one holds at most %3")
      .arg(c.toString(size), c.formattedDataSize(size, 1, QLocale::DataSizeTraditionalFormat), most);
}

// The first record with a field longer than any sound one: such a field is
// never handed to a text box or the page's view.
std::optional<QString> oversizeRecord(const QString& text, int fields) {
  RecordReader reader(text);
  for (int record = 1; !reader.atEnd(); ++record) {
    const QStringList values = reader.readRecord(fields);
    for (const QString& value : values)
      if (value.size() > kMaxFieldChars)
        return QStringLiteral(
                   "has a record too large to be sound: record %1 holds a field of %2 characters, where a sound "
                   "one holds at most %3")
            .arg(record)
            .arg(numbers().toString(value.size()), numbers().toString(kMaxFieldChars));
  }
  return std::nullopt;
}

DataFile readDataFile(const QString& path, qint64 maxBytes, int fields) {
  DataFile file;
  file.path = path;
  try {
    const std::optional<QByteArray> bytes = platform::readWholeFile(path, maxBytes);
    if (!bytes) {
      file.problem = tooLarge(QFileInfo(path).size(), maxBytes);
    } else {
      file.text = platform::decodeText(*bytes);
      file.fingerprint = fingerprintOf(*bytes);
      file.problem = oversizeRecord(file.text, fields);
    }
    file.tooLarge = file.problem.has_value();
    if (file.tooLarge) {
      file.text.clear();
      file.fingerprint.clear();
    }
  } catch (const platform::Error& failure) {
    if (failure.number() == platform::FileNotFound)
      file.problem = QStringLiteral("is missing");
    else if (failure.reason() == QStringLiteral("not a regular file"))
      file.problem = QStringLiteral("is not a regular file");
    else if (QFileInfo(path).isDir())
      file.problem = QStringLiteral("is a folder, not a file");
    else
      file.problem = QStringLiteral("cannot be read: %1").arg(failure.reason());
    file.refused = failure.number() == platform::PermissionDenied;
  } catch (const std::bad_alloc&) {
    file.problem = QStringLiteral("cannot be read: Out of memory");
  }
  return file;
}

}  // namespace

DataFile readWordListFile(const QString& path) { return readDataFile(path, kMaxWordListBytes, kWordFields); }

DataFile readDictionaryFile(const QString& path) { return readDataFile(path, kMaxDictionaryBytes, kDictionaryFields); }

DataFiles::DataFiles(QString wordsPath, QString dictionaryPath)
    : m_wordsPath(std::move(wordsPath)), m_dictionaryPath(std::move(dictionaryPath)) {}

const DataFile& DataFiles::words() {
  if (!m_words)
    m_words = readWordListFile(m_wordsPath);
  return *m_words;
}

const DataFile& DataFiles::dictionary() {
  if (!m_dictionary)
    m_dictionary = readDictionaryFile(m_dictionaryPath);
  return *m_dictionary;
}

}  // namespace data
