#include "wholefile.h"

#include "apppath.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

struct Fault {
  QString fileName;
  WriteStep step;
  int systemError;
};

QList<Fault>& faults() {
  static QList<Fault> waiting;
  return waiting;
}

std::function<void(const QString&, WriteStep)>& stepHook() {
  static std::function<void(const QString&, WriteStep)> hook;
  return hook;
}

}  // namespace

int reachStep(const QString& path, WriteStep step) {
  QList<Fault>& waiting = faults();
  if (waiting.isEmpty() && !stepHook())
    return 0;
  const QString name = QFileInfo(path).fileName();
  if (stepHook())
    stepHook()(name, step);
  for (qsizetype i = 0; i < waiting.size(); ++i) {
    if (waiting[i].fileName == name && waiting[i].step == step) {
      const int error = waiting[i].systemError;
      waiting.removeAt(i);
      return error;
    }
  }
  return 0;
}

FolderLock::FolderLock(const QString& folder, Mode mode) {
  m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_fd < 0) {
    m_held = true;  // nothing to lock with: go on unlocked
    return;
  }
  // A copy stopped in the middle of a save (a debugger, SIGSTOP) must not
  // freeze this one for good: after a while it goes on without the lock,
  // which is what every save did before there was one.
  constexpr int kTries = 500;
  for (int tries = 0;; ++tries) {
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
      m_held = true;
      return;
    }
    // A file system without locks, or a wait long enough: go on unlocked.
    const bool busy = errno == EWOULDBLOCK || errno == EINTR;
    if (!busy || tries == kTries) {
      m_held = true;
      return;
    }
    if (mode == Mode::Try)
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

FolderLock::~FolderLock() {
  if (m_fd >= 0)
    ::close(m_fd);  // releases the lock
}

QByteArray readWholeFile(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir())
    throw fileError(EISDIR);
  if (info.exists() && !info.isFile())
    throw Error(PathFileAccessError, QStringLiteral("Path/File access error: not a regular file"),
                QStringLiteral("not a regular file"));
  QFile file(path);
  errno = 0;
  if (!file.open(QIODevice::ReadOnly))
    throw fileError(errno, file.errorString());
  errno = 0;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw fileError(errno, file.errorString());
  return bytes;
}

FileWriter::FileWriter(QString path) : m_path(std::move(path)) {}

FileWriter::~FileWriter() {
  if (!m_done)
    m_file.cancelWriting();  // QSaveFile drops its temporary file
  if (!m_staging.isEmpty())
    QFile::remove(m_staging);
}

std::optional<Error> FileWriter::fail(const Error& error) {
  m_file.cancelWriting();
  m_failure = error;
  return error;
}

std::optional<Error> FileWriter::open() {
  if (std::optional<Error> refusal = writeRefusal())
    return fail(*refusal);
  if (const int fault = reachStep(m_path, WriteStep::Create))
    return fail(fileError(fault));
  const QFileInfo target(m_path);
  QString writeTo = m_path;
  if (target.isSymLink()) {
    // QSaveFile would write through the link to the file it points to. The
    // file is written under a name of its own and then renamed over the
    // link, which replaces the link alone.
    QTemporaryFile staging(m_path + QStringLiteral(".XXXXXX"));
    staging.setAutoRemove(false);
    errno = 0;
    if (!staging.open())
      return fail(fileError(errno, staging.errorString()));
    m_staging = staging.fileName();
    writeTo = m_staging;
  } else if (target.isDir()) {
    return fail(fileError(EISDIR));
  }
  m_file.setFileName(writeTo);
  m_file.setDirectWriteFallback(false);  // never write into the file itself
  errno = 0;
  if (!m_file.open(QIODevice::WriteOnly)) {
    const int error = errno;
    return fail(fileError(error, m_file.errorString()));
  }
  // Marks the temporary file as in use for as long as it is open: the
  // start-up tidying of another copy leaves a locked one alone.
  ::flock(m_file.handle(), LOCK_SH | LOCK_NB);
  return std::nullopt;
}

std::optional<Error> FileWriter::write(QByteArrayView bytes) {
  if (m_failure)
    return m_failure;
  if (!m_file.isOpen())
    if (std::optional<Error> failure = open())
      return failure;
  if (const int fault = reachStep(m_path, WriteStep::Write))
    return fail(fileError(fault));
  // Flushed at once, so that a full disk shows here rather than at the
  // commit, before the caller has gone on to anything else.
  errno = 0;
  if (m_file.write(bytes.data(), bytes.size()) != bytes.size() || !m_file.flush()) {
    const int error = errno;
    return fail(fileError(error, m_file.errorString()));
  }
  return std::nullopt;
}

std::optional<Error> FileWriter::commit() {
  if (m_failure)
    return m_failure;
  if (!m_file.isOpen())
    if (std::optional<Error> failure = open())
      return failure;
  if (const int fault = reachStep(m_path, WriteStep::Commit))
    return fail(fileError(fault));
  errno = 0;
  if (!m_file.commit()) {
    const int error = errno;
    m_failure = fileError(error, m_file.errorString());
    return m_failure;
  }
  m_done = true;
  if (!m_staging.isEmpty()) {
    errno = 0;
    if (std::rename(QFile::encodeName(m_staging).constData(), QFile::encodeName(m_path).constData()) != 0) {
      m_failure = fileError(errno);
      return m_failure;  // the destructor removes the staging file
    }
    m_staging.clear();
  }
  return std::nullopt;
}

std::optional<Error> writeWholeFile(const QString& path, QByteArrayView bytes) {
  FileWriter file(path);
  if (std::optional<Error> failure = file.write(bytes))
    return failure;
  return file.commit();
}

std::optional<Error> copyFile(const QString& source, const QString& target) {
  QByteArray bytes;
  try {
    bytes = readWholeFile(source);
  } catch (const Error& failure) {
    return failure;
  }
  return writeWholeFile(target, bytes);
}

namespace testing {

void failWriteStep(const QString& fileName, WriteStep step, int systemError) {
  faults().append(Fault{fileName, step, systemError});
}

void clearWriteFaults() { faults().clear(); }

void setStepHook(std::function<void(const QString& fileName, WriteStep step)> hook) { stepHook() = std::move(hook); }

}  // namespace testing

}  // namespace platform
