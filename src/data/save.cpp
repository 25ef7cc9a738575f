#include "records.h"

#include "platform/textfile.h"
#include "platform/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <new>

namespace data {
namespace {

platform::Error asError(const std::exception& failure) {
  if (const auto* error = dynamic_cast<const platform::Error*>(&failure))
    return *error;
  if (dynamic_cast<const std::bad_alloc*>(&failure))
    return platform::Error(platform::OutOfMemory, QStringLiteral("Out of memory"));
  return platform::Error(platform::PathFileAccessError, QStringLiteral("Path/File access error"));
}

bool renameFile(const QString& from, const QString& to) {
  return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// The earlier backup, moved aside while a save is under way so that a save
// that fails after writing the new backup can put it back. A rename needs no
// room on the disk, where a copy might find none.
class EarlierBackup {
public:
  explicit EarlierBackup(QString backup) : m_backup(std::move(backup)) {}
  ~EarlierBackup() {
    if (!m_aside.isEmpty())
      QFile::remove(m_aside);
  }
  EarlierBackup(const EarlierBackup&) = delete;
  EarlierBackup& operator=(const EarlierBackup&) = delete;

  std::optional<platform::Error> moveAside() {
    const QFileInfo info(m_backup);
    if (!info.exists() && !info.isSymLink())
      return std::nullopt;
    if (info.isDir() && !info.isSymLink())
      return platform::fileError(EISDIR);
    QString aside;
    do
      aside = m_backup + QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
    while (QFileInfo(aside).exists() || QFileInfo(aside).isSymLink());
    errno = 0;
    if (!renameFile(m_backup, aside))
      return platform::fileError(errno);
    m_aside = aside;
    return std::nullopt;
  }

  // The backup as it was before the save: the earlier one back in its
  // place, or none at all when there was none.
  void restore() {
    if (m_aside.isEmpty()) {
      QFile::remove(m_backup);
    } else if (renameFile(m_aside, m_backup)) {
      m_aside.clear();
    }
  }

private:
  QString m_backup;
  QString m_aside;
};

}  // namespace

std::optional<platform::Error> saveFile(const QString& path, const QList<QStringList>& records) {
  const QString backup = path + QStringLiteral(".bak");

  // The new content goes to disk first, beside the file, so that a full
  // disk stops the save before anything has changed.
  QByteArray current;
  platform::FileWriter file(path);
  try {
    current = platform::readWholeFile(path);
    QString text;
    for (const QStringList& record : records)
      text += recordText(record);
    if (std::optional<platform::Error> failure = file.write(platform::encodeText(text)))
      return failure;
  } catch (const std::exception& failure) {
    return asError(failure);
  }

  EarlierBackup earlier(backup);
  if (std::optional<platform::Error> failure = earlier.moveAside())
    return failure;
  if (std::optional<platform::Error> failure = platform::writeWholeFile(backup, current)) {
    earlier.restore();
    return failure;
  }
  if (std::optional<platform::Error> failure = file.commit()) {
    earlier.restore();
    return failure;
  }
  return std::nullopt;
}

}  // namespace data
