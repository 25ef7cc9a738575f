#include "records.h"

#include "platform/wholefile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <unistd.h>

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

// The earlier backup, kept under a second name while a save is under way so
// that a save that fails after replacing the backup can put it back. The
// second name is a hard link: it needs no room on the disk, and the backup
// itself stays in place, whole, at every moment. Where the file system has
// no hard links, a copy takes its place.
class EarlierBackup {
public:
  explicit EarlierBackup(QString backup) : m_backup(std::move(backup)) {}
  ~EarlierBackup() {
    if (!m_aside.isEmpty())
      QFile::remove(m_aside);
  }
  EarlierBackup(const EarlierBackup&) = delete;
  EarlierBackup& operator=(const EarlierBackup&) = delete;

  std::optional<platform::Error> keepAside() {
    const QFileInfo info(m_backup);
    if (!info.exists() && !info.isSymLink())
      return std::nullopt;
    if (info.isDir() && !info.isSymLink())
      return platform::fileError(EISDIR);
    if (const int fault = platform::reachStep(m_backup, platform::WriteStep::Aside))
      return platform::fileError(fault);
    const QByteArray from = QFile::encodeName(m_backup);
    for (;;) {
      const QString aside = asideName();
      errno = 0;
      // Flags 0: a link in the backup's place is kept as the link it is.
      if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, QFile::encodeName(aside).constData(), 0) == 0) {
        m_aside = aside;
        return std::nullopt;
      }
      if (errno == EEXIST)
        continue;
      if (errno != EPERM && errno != EXDEV && errno != EMLINK && errno != ENOTSUP && errno != ENOSYS)
        return platform::fileError(errno);
      if (std::optional<platform::Error> failure = platform::copyFile(m_backup, aside))
        return failure;
      m_aside = aside;
      return std::nullopt;
    }
  }

  // The backup as it was before the save: the earlier one back in its
  // place, or none at all when there was none.
  void restore() {
    if (m_aside.isEmpty()) {
      QFile::remove(m_backup);
    } else if (renameFile(m_aside, m_backup)) {
      // Where the backup was not replaced yet, both names are links to one
      // file and the rename left both: the second name goes.
      QFile::remove(m_aside);
      m_aside.clear();
    }
  }

private:
  // A name of the pattern every temporary file of the program has, the
  // file's own name and six letters, which the start-up tidying knows.
  QString asideName() const {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    QString name = m_backup + u'.';
    for (int i = 0; i < 6; ++i)
      name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(52)]);
    return name;
  }

  QString m_backup;
  QString m_aside;
};

SaveOutcome save(const QString& path, const QList<QStringList>& records, const QByteArray* expected) {
  SaveOutcome outcome;
  const QString backup = path + QStringLiteral(".bak");
  // Another copy of the program saving this file waits until this save is
  // done, and then finds the file changed rather than half replaced.
  const platform::FolderLock lock(QFileInfo(path).absolutePath(), platform::FolderLock::Mode::Wait);

  // The new content goes to disk first, beside the file, so that a full
  // disk stops the save before anything has changed.
  QByteArray current;
  platform::FileWriter file(path);
  try {
    current = platform::readWholeFile(path);
    outcome.found = fingerprintOf(current);
    if (expected && *expected != outcome.found) {
      outcome.changedOnDisk = true;
      return outcome;
    }
    const QByteArray bytes = fileBytes(records);
    outcome.written = fingerprintOf(bytes);
    if ((outcome.failure = file.write(bytes)))
      return outcome;
  } catch (const std::exception& failure) {
    outcome.failure = asError(failure);
    return outcome;
  }

  // The backup is replaced by a rename, so that it is at every moment
  // either the earlier backup or this content, and whole.
  EarlierBackup earlier(backup);
  if ((outcome.failure = earlier.keepAside()))
    return outcome;
  if ((outcome.failure = platform::writeWholeFile(backup, current))) {
    earlier.restore();
    return outcome;
  }
  if ((outcome.failure = file.commit()))
    earlier.restore();
  return outcome;
}

}  // namespace

QByteArray fingerprintOf(QByteArrayView bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256); }

std::optional<platform::Error> saveFile(const QString& path, const QList<QStringList>& records) {
  return save(path, records, nullptr).failure;
}

SaveOutcome saveFileIfUnchanged(const QString& path, const QList<QStringList>& records, const QByteArray& expected) {
  return save(path, records, &expected);
}

}  // namespace data
