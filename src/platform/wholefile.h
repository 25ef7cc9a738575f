// Whole files, read and written at once. A file is written through Qt's
// QSaveFile, to an unnamed temporary file in its own folder that takes the
// file's place only once complete and on disk: a failed or killed write
// leaves the file as it was and, on Linux, nothing beside it.
#pragma once

#include "error.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

// The bytes of a regular file, or of the file a link points to; nothing
// when it holds more than limit bytes. A file that reports more is not even
// opened; one that reports less is not trusted either: reading stops a byte
// past the limit, or, with an error, once the file has read on well past
// the size it reports (a file under /proc reports 0 and reads without end).
// The file is opened without blocking and the open file is checked, so that
// a folder, a pipe or a device in its place is refused before anything is
// read from it. Throws platform::Error when it cannot be read.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 limit);

// A file being written: write() as often as needed, then commit(). Until
// the commit the file is untouched; a writer that is not committed (it
// failed, or was dropped) leaves no trace. A symbolic link in the file's
// place is replaced by the file, never written through. After a failure,
// every later call returns the same failure.
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

// A new file, whole, at a path where nothing stands yet. It is written
// under no name and given its name only when complete, and never replaces
// anything: "File exists" when something appeared there meanwhile.
std::optional<Error> writeNewFile(const QString& path, QByteArrayView bytes);

// A folder only its owner may use, unless one is there already; its parent
// must exist.
std::optional<Error> makePrivateFolder(const QString& path);

// The steps of writing a file, where a test can make one fail or stop the
// program: creating, filling and committing a file, and keeping the earlier
// backup aside while a save is under way.
enum class WriteStep : std::uint8_t { Create, Write, Commit, Aside };

#ifdef LOTWISE_FAULT_HOOKS
// Called by the writers as they reach each step of writing the file at path:
// the system error a test has put in the step's way, or 0.
int reachStep(const QString& path, WriteStep step);

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
#else
// The shipped program has no faults to inject.
inline int reachStep(const QString&, WriteStep) { return 0; }
#endif

}  // namespace platform
