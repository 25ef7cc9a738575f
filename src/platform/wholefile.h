// Whole files, read and written at once. A file is written to a temporary
// file in its own folder, which takes its place only once complete and on
// disk: a failed write leaves the file as it was and nothing beside it.
#pragma once

#include "error.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <functional>
#include <optional>

namespace platform {

// The bytes of a regular file, or of the file a link points to. Throws
// platform::Error when it cannot be read. A folder, a pipe or a device in
// the file's place is refused before it is opened, so that it can neither
// hang the program nor feed it without end.
QByteArray readWholeFile(const QString& path);

// A file being written: write() as often as needed, then commit(). Until
// the commit the file is untouched; a writer that is not committed (it
// failed, or was dropped) leaves no trace. A symbolic link in the file's
// place is replaced by the file, never written through. After a failure,
// every later call returns the same failure. In a run that writes nothing
// (writeRefusal) every write fails, naming why.
class FileWriter {
public:
  explicit FileWriter(QString path);
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  std::optional<Error> write(QByteArrayView bytes);
  // The file holds what was written, flushed to disk, once this succeeds.
  std::optional<Error> commit();

private:
  std::optional<Error> open();
  std::optional<Error> fail(const Error& error);

  QString m_path;
  QString m_staging;  // when a link stands at m_path: the file that replaces it
  QSaveFile m_file;
  std::optional<Error> m_failure;
  bool m_done = false;
};

// One whole file in one go, through a FileWriter; the failure, if any.
std::optional<Error> writeWholeFile(const QString& path, QByteArrayView bytes);

// Replaces target by a byte-for-byte copy of source, written whole.
std::optional<Error> copyFile(const QString& source, const QString& target);

// The steps of writing a file, where a test can make one fail or stop the
// program: creating, filling and committing a file, and keeping an earlier
// backup aside while a save is under way.
enum class WriteStep { Create, Write, Commit, Aside };

// Called by the writers as they reach each step of writing the file at path:
// the system error a test has put in the step's way, or 0.
int reachStep(const QString& path, WriteStep step);

// While it lives, this process holds the lock of a folder of the program's
// files. Saves of the data files take it in turn, so that one copy of the
// program never writes between another's reading of a file and its writing;
// the start-up tidying only tries it, and leaves a folder where a save is
// under way alone. A folder that cannot be locked (it cannot be opened, or
// the file system has no locks) is used unlocked.
class FolderLock {
public:
  enum class Mode { Wait, Try };
  FolderLock(const QString& folder, Mode mode);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // False when another process holds the lock (Try, or Wait in vain).
  bool held() const { return m_held; }

private:
  int m_fd = -1;
  bool m_held = false;
};

namespace testing {
// The given step of the next write of a file with this name (the name
// alone, without its folder) fails with the system error given (ENOSPC,
// EACCES, ...), once. Clearing drops every fault still waiting.
void failWriteStep(const QString& fileName, WriteStep step, int systemError);
void clearWriteFaults();
// Called with the file's name at every step of every write; a test may
// stop the process there. An empty hook removes it.
void setStepHook(std::function<void(const QString& fileName, WriteStep step)> hook);
}  // namespace testing

}  // namespace platform
