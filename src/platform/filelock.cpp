#include "filelock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace platform {

FileLock::FileLock(const QString& path) : m_path(path + QStringLiteral(".lotwise-lock")), m_lock(m_path) {
  // Age makes no lock stale: only the end of the process that holds it.
  m_lock.setStaleLockTime(0);
}

bool FileLock::tryLock(std::chrono::milliseconds wait) {
  const QDeadlineTimer deadline(wait);
  while (!m_lock.tryLock(0)) {
    if (m_lock.error() != QLockFile::LockFailedError || deadline.hasExpired())
      return false;
    // No input and no socket notifiers: nothing the user does, and no
    // request to quit, may run in the middle of a save.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    QThread::msleep(10);
  }
  return true;
}

}  // namespace platform
