// The one lock of the program: Qt's QLockFile, a small file beside the file
// it guards that names the process holding it. A lock left by a process that
// has ended (killed, say) is taken over at once; one held by a process that
// still runs never is, however long it holds it: a copy stopped in the
// middle of a save keeps its lock.
#pragma once

#include <QLockFile>
#include <QString>
#include <chrono>

namespace platform {

class FileLock {
public:
  // Guards the file at path, through the lock file path + ".lotwise-lock".
  explicit FileLock(const QString& path);

  // True once this process holds the lock; false when it could not be had
  // within wait (see error()). Meanwhile the window keeps painting and its
  // timers run; input waits.
  bool tryLock(std::chrono::milliseconds wait);

  // Why tryLock failed: LockFailedError when another process holds the
  // lock, PermissionError when the lock file cannot be made.
  QLockFile::LockError error() const { return m_lock.error(); }
  const QString& lockPath() const { return m_path; }

private:
  QString m_path;
  QLockFile m_lock;
};

}  // namespace platform
