#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

#ifdef LOTWISE_FAULT_HOOKS
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

namespace testing {

void failWriteStep(const QString& fileName, WriteStep step, int systemError) {
  faults().append(Fault{fileName, step, systemError});
}

void clearWriteFaults() { faults().clear(); }

void setStepHook(std::function<void(const QString& fileName, WriteStep step)> hook) { stepHook() = std::move(hook); }

}  // namespace testing
#endif

std::optional<QByteArray> readWholeFile(const QString& path, qint64 limit) {
  if (const QFileInfo info(path); info.isFile() && info.size() > limit)
    return std::nullopt;
  // Without O_NONBLOCK, opening a pipe waits for a writer that never comes.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    throw fileError(errno);
  const auto closeFile = qScopeGuard([fd] { ::close(fd); });
  // The file opened, not the path: the path may name something else by now.
  struct stat info = {};
  if (::fstat(fd, &info) != 0)
    throw fileError(errno);
  if (S_ISDIR(info.st_mode))
    throw fileError(EISDIR);
  if (!S_ISREG(info.st_mode))
    throw Error(PathFileAccessError, QStringLiteral("Path/File access error: not a regular file"),
                QStringLiteral("not a regular file"));

  QByteArray bytes;
  bytes.reserve(qsizetype(std::clamp<qint64>(info.st_size, 0, limit) + 1));
  // Whole chunks only: some files under /proc read in multiples of 8 bytes.
  constexpr qsizetype kChunk = qsizetype(64) * 1024;
  while (bytes.size() <= limit) {
    const qsizetype at = bytes.size();
    bytes.resize(at + kChunk);
    const ssize_t got = ::read(fd, bytes.data() + at, size_t(kChunk));
    if (got < 0) {
      const int error = errno;
      bytes.resize(at);
      if (error == EINTR)
        continue;
      throw fileError(error);
    }
    bytes.resize(at + got);
    if (got == 0)
      break;
    // A file that reads on well past what it reports is made up as it is
    // read (/proc/self/pagemap reports 0 and reads for gigabytes): it is no
    // data file, and reading it on to the limit would only cost memory.
    if (bytes.size() > info.st_size + kChunk)
      throw Error(PathFileAccessError, QStringLiteral("Path/File access error: it reads on past the size it reports"),
                  QStringLiteral("it reads on past the size it reports"));
  }
  if (bytes.size() > limit)
    return std::nullopt;
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

std::optional<Error> makePrivateFolder(const QString& path) {
  if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0)
    return std::nullopt;
  const int error = errno;
  if (error == EEXIST && QFileInfo(path).isDir())
    return std::nullopt;
  return fileError(error);
}

std::optional<Error> writeNewFile(const QString& path, QByteArrayView bytes) {
  if (const int fault = reachStep(path, WriteStep::Create))
    return fileError(fault);
  QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
  errno = 0;
  if (!file.open())
    return fileError(errno, file.errorString());
  if (const int fault = reachStep(path, WriteStep::Write))
    return fileError(fault);
  errno = 0;
  if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
    return fileError(errno, file.errorString());
  if (const int fault = reachStep(path, WriteStep::Commit))
    return fileError(fault);
  // The file has had no name so far (O_TMPFILE); renaming it links it in,
  // which never replaces what stands there.
  errno = 0;
  if (!file.rename(path)) {
    const QFileInfo there(path);
    return fileError(there.exists() || there.isSymLink() ? EEXIST : errno, file.errorString());
  }
  file.setAutoRemove(false);
  return std::nullopt;
}

}  // namespace platform
