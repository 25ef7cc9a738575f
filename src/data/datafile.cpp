#include "datafile.h"

#include "platform/error.h"
#include "platform/textfile.h"
#include "platform/wholefile.h"

#include <QFileInfo>
#include <QLocale>

namespace data {
namespace {

QString tooLarge(qint64 size, qint64 maxBytes) {
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::DefaultNumberOptions);  // with its thousands separators
  return QStringLiteral("is too large to read: %1 bytes (%2), where a sound one holds at most %3")
      .arg(c.toString(size), c.formattedDataSize(size, 1, QLocale::DataSizeTraditionalFormat),
           c.formattedDataSize(maxBytes, 0, QLocale::DataSizeTraditionalFormat));
}

}  // namespace

DataFile readDataFile(const QString& path, qint64 maxBytes) {
  DataFile file{path, QString(), std::nullopt};
  const QFileInfo info(path);
  if (info.isDir()) {
    file.problem = QStringLiteral("is a folder, not a file");
  } else if (info.exists() && !info.isFile()) {
    file.problem = QStringLiteral("is not a regular file");
  } else if (info.exists() && info.size() > maxBytes) {
    file.problem = tooLarge(info.size(), maxBytes);
  } else {
    try {
      const QByteArray bytes = platform::readWholeFile(path);
      // It may have grown since it was looked at.
      if (bytes.size() > maxBytes)
        file.problem = tooLarge(bytes.size(), maxBytes);
      else
        file.text = platform::decodeText(bytes);
    } catch (const platform::Error& failure) {
      if (failure.number() == platform::FileNotFound)
        file.problem = QStringLiteral("is missing");
      else
        file.problem = QStringLiteral("cannot be read: %1").arg(failure.reason());
      file.refused = failure.number() == platform::PermissionDenied;
    } catch (const std::bad_alloc&) {
      file.problem = QStringLiteral("cannot be read: Out of memory");
    }
  }
  return file;
}

DataFiles::DataFiles(QString wordsPath, QString dictionaryPath)
    : m_wordsPath(std::move(wordsPath)), m_dictionaryPath(std::move(dictionaryPath)) {}

const DataFile& DataFiles::words() {
  if (!m_words)
    m_words = readDataFile(m_wordsPath, kMaxWordListBytes);
  return *m_words;
}

const DataFile& DataFiles::dictionary() {
  if (!m_dictionary)
    m_dictionary = readDataFile(m_dictionaryPath, kMaxDictionaryBytes);
  return *m_dictionary;
}

}  // namespace data
