#include "datafile.h"
#include "datahome.h"
#include "records.h"

#include "platform/filelock.h"
#include "platform/wholefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <new>

namespace data {
namespace {

using namespace std::chrono_literals;

// Long enough for another copy's save of the largest sound file to end;
// short enough that a copy stopped in the middle of a save (a debugger,
// Ctrl+Z) costs the user a moment and a message, not a frozen window.
constexpr auto kLockWait = 3s;

platform::Error asError(const std::exception& failure) {
  if (const auto* error = dynamic_cast<const platform::Error*>(&failure))
    return *error;
  if (dynamic_cast<const std::bad_alloc*>(&failure))
    return platform::Error(platform::OutOfMemory, QStringLiteral("Out of memory"));
  return platform::Error(platform::PathFileAccessError, QStringLiteral("Path/File access error"));
}

platform::Error lockFailure(const QString& path, const platform::FileLock& lock) {
  switch (lock.error()) {
    case QLockFile::LockFailedError:
      return platform::Error(
          platform::PermissionDenied,
          QStringLiteral("Permission denied: another copy of Lotwise is saving %1. Nothing was saved; try again "
                         "once it has finished.")
              .arg(QDir::toNativeSeparators(path)),
          QStringLiteral("another copy of Lotwise is saving it"));
    case QLockFile::PermissionError:
      return platform::fileError(EACCES);
    default:
      if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        return platform::fileError(ENOENT);
      // What Qt reports for a lock file it could not write: no room for it.
      return platform::fileError(ENOSPC);
  }
}

// The whole file, or what keeps it from being read; more than any data file
// may hold is not read.
QByteArray contentOf(const QString& path) {
  std::optional<QByteArray> bytes = platform::readWholeFile(path, kMaxDictionaryBytes);
  if (!bytes)
    throw platform::Error(
        platform::PathFileAccessError,
        QStringLiteral("Path/File access error: %1 is too large to be a data file").arg(QDir::toNativeSeparators(path)),
        QStringLiteral("too large to be a data file"));
  return *bytes;
}

SaveOutcome save(const QString& path, const QList<QStringList>& records, const QByteArray* expected) {
  SaveOutcome outcome;
  outcome.failure = writeRefusal();
  if (outcome.failure)
    return outcome;
  // Copies of the program saving this file take turns, so that none writes
  // between another's check below and its save.
  platform::FileLock lock(path);
  if (!lock.tryLock(kLockWait)) {
    outcome.failure = lockFailure(path, lock);
    return outcome;
  }

  const QString backup = path + QStringLiteral(".bak");
  platform::FileWriter file(path);
  QByteArray current;
  std::optional<QByteArray> earlier;
  try {
    current = contentOf(path);
    outcome.found = fingerprintOf(current);
    if (expected && *expected != outcome.found) {
      outcome.changedOnDisk = true;
      return outcome;
    }
    // The new content goes to disk first, under no name, so that a full
    // disk stops the save before anything has changed.
    const QByteArray bytes = fileBytes(records);
    outcome.written = fingerprintOf(bytes);
    outcome.failure = file.write(bytes);
    if (outcome.failure)
      return outcome;
    // The earlier backup, kept in memory, goes back in its place should the
    // file itself fail to be replaced below.
    const QFileInfo earlierBackup(backup);
    if (earlierBackup.isDir())
      throw platform::fileError(EISDIR);
    if (const int fault = platform::reachStep(backup, platform::WriteStep::Aside))
      throw platform::fileError(fault);
    if (earlierBackup.exists())
      earlier = contentOf(backup);
  } catch (const std::exception& failure) {
    outcome.failure = asError(failure);
    return outcome;
  }

  // Each of the two is replaced whole, by a rename: at every moment the
  // backup is the earlier one or the file's content before this save.
  outcome.failure = platform::writeWholeFile(backup, current);
  if (outcome.failure)
    return outcome;
  outcome.failure = file.commit();
  if (outcome.failure) {
    if (earlier)
      platform::writeWholeFile(backup, *earlier);
    else
      QFile::remove(backup);
  }
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
