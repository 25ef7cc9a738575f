#include "apppath.h"

#include "wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

struct FileHome {
  QString folder;         // where every file is read and written
  QString shipped;        // where the shipped data files lie, when folder holds copies
  QString readOnlyCause;  // why this run writes nothing; empty in an ordinary run
  QString notice;         // the same, in full, for the user
};

QString& overridePath() {
  static QString path;
  return path;
}

std::optional<FileHome>& chosenHome() {
  static std::optional<FileHome> home;
  return home;
}

// A step of stocking the data folder that failed: what was being done, in
// words that the cause follows, and the cause.
struct StockFailure {
  QString what;
  QString cause;
};

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

QString systemCause(int error) { return fileError(error).reason(); }

// The base of the user's data folder by the XDG Base Directory rules, or
// empty when there is no usable home, with why. A relative XDG_DATA_HOME is
// ignored, as the rules say. A home that is unset, relative or the root
// folder is none: root without HOME must not get a /.local/share.
QString dataHome(QString& noHome) {
  const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
  if (xdg.startsWith(u'/'))
    return QDir::cleanPath(xdg);
  const QString home = qEnvironmentVariable("HOME");
  if (!qEnvironmentVariableIsSet("HOME"))
    noHome = QStringLiteral("HOME is not set");
  else if (home.isEmpty())
    noHome = QStringLiteral("HOME is empty");
  else if (!home.startsWith(u'/'))
    noHome = QStringLiteral("HOME is %1, not an absolute path").arg(home);
  else if (QDir::cleanPath(home) == QStringLiteral("/"))
    noHome = QStringLiteral("HOME is the root folder");
  else
    return QDir::cleanPath(home) + QStringLiteral("/.local/share");
  return QString();
}

// Makes path and each missing folder above it, private to the user as the
// XDG rules ask for folders they make.
std::optional<StockFailure> makeFolders(const QString& path, const QString& dataFolder) {
  if (QFileInfo(path).isDir())
    return std::nullopt;
  const QString parent = QFileInfo(path).path();
  if (parent != path)
    if (std::optional<StockFailure> failure = makeFolders(parent, dataFolder))
      return failure;
  if (::mkdir(encoded(path).constData(), 0700) != 0 && errno != EEXIST) {
    const int error = errno;
    return StockFailure{
        QStringLiteral("could not make the folder %1, where its data folder %2 goes").arg(path, dataFolder),
        systemCause(error)};
  }
  return std::nullopt;
}

// Moves a file in without replacing one that appeared there meanwhile: 0, or
// the system's error (EEXIST when something stands there).
int moveInFresh(const QString& from, const QString& to) {
  if (::renameat2(AT_FDCWD, encoded(from).constData(), AT_FDCWD, encoded(to).constData(), RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS)
    return errno;
  // A file system that cannot refuse to replace: look first.
  if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
    return EEXIST;
  return std::rename(encoded(from).constData(), encoded(to).constData()) == 0 ? 0 : errno;
}

constexpr QLatin1StringView kStagingPrefix(".lotwise-seed-");

// Holds a lock on a staging folder for as long as it lives, so that another
// start can tell a folder in use from one left by a start that was killed.
// The lock goes with the process, however it ends.
class StagingLock {
public:
  explicit StagingLock(const QString& folder)
      : m_fd(::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)) {}
  ~StagingLock() {
    if (m_fd >= 0)
      ::close(m_fd);
  }
  StagingLock(const StagingLock&) = delete;
  StagingLock& operator=(const StagingLock&) = delete;

  bool take(bool wait) { return m_fd >= 0 && ::flock(m_fd, LOCK_EX | (wait ? 0 : LOCK_NB)) == 0; }

private:
  int m_fd;
};

// Removes the staging folders in parent that a killed start left behind:
// they only ever hold copies of shipped files. One that another start still
// holds locked is in use, and stays.
void sweepStaging(const QString& parent) {
  const QFileInfoList found = QDir(parent).entryInfoList({kStagingPrefix + QLatin1StringView("??????")},
                                                         QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
  for (const QFileInfo& folder : found)
    if (StagingLock(folder.filePath()).take(false))
      QDir(folder.filePath()).removeRecursively();
}

// Copies the shipped files that the data folder lacks into it, all or none.
// The copies are made in a folder of their own beside the data folder, on
// its file system, and moved in only once every one is whole: a new data
// folder by one rename of that folder, else each file by a rename. A file
// already there, even a link that points nowhere, is the user's and stays.
std::optional<StockFailure> stock(const QString& folder, const QString& programFolder, const QStringList& files) {
  QStringList missing;
  for (const QString& name : files) {
    const QFileInfo copy(QDir(folder).filePath(name));
    if (!copy.exists() && !copy.isSymLink())
      missing << name;
  }
  if (missing.isEmpty())
    return std::nullopt;

  const QFileInfo where(folder);
  const bool whole = !where.exists() && !where.isSymLink();
  const QString canonical = where.canonicalFilePath();
  const QString parent = QFileInfo(canonical.isEmpty() ? folder : canonical).path();
  if (whole)
    if (std::optional<StockFailure> failure = makeFolders(parent, folder))
      return failure;
  sweepStaging(parent);
  QByteArray stagingName = encoded(parent + QLatin1Char('/') + kStagingPrefix + QLatin1StringView("XXXXXX"));
  if (!::mkdtemp(stagingName.data())) {
    const int error = errno;
    return StockFailure{
        QStringLiteral("could not make a folder in %1 to copy its data files into, for its data folder %2")
            .arg(parent, folder),
        systemCause(error)};
  }
  const QString staging = QFile::decodeName(stagingName);
  StagingLock lock(staging);
  lock.take(true);
  const auto dropStaging = qScopeGuard([&staging] { QDir(staging).removeRecursively(); });

  for (const QString& name : missing) {
    const QString shipped = QDir(programFolder).filePath(name);
    if (std::optional<Error> failure = copyFile(shipped, QDir(staging).filePath(name)))
      return StockFailure{QStringLiteral("could not copy %1 into its data folder %2").arg(shipped, folder),
                          failure->reason()};
  }

  if (whole) {
    if (std::rename(stagingName.constData(), encoded(folder).constData()) == 0)
      return std::nullopt;
    const int error = errno;
    // Another copy of the program made the folder meanwhile: stock that one.
    if (error == EEXIST || error == ENOTEMPTY)
      return stock(folder, programFolder, files);
    return StockFailure{QStringLiteral("could not move its data files into its data folder %1").arg(folder),
                        systemCause(error)};
  }
  QStringList movedIn;
  for (const QString& name : missing) {
    const QString target = QDir(folder).filePath(name);
    const int error = moveInFresh(QDir(staging).filePath(name), target);
    if (error == 0) {
      movedIn << target;
    } else if (error != EEXIST) {  // one that appeared meanwhile is the user's, and stays
      for (const QString& moved : std::as_const(movedIn))
        QFile::remove(moved);
      return StockFailure{QStringLiteral("could not move its data files into its data folder %1").arg(folder),
                          systemCause(error)};
    }
  }
  return std::nullopt;
}

// A run on the shipped files that writes nothing, and the words that tell
// the user so: why (begun with "Lotwise ..."), then what it does instead.
FileHome readOnlyHome(const QString& programFolder, const QString& cause, const QString& why) {
  const QString notice =
      why + QStringLiteral(
                " This time it reads the data files it was installed with, from %1, and writes nothing: "
                "no meanings page, no results and no saves from the editor.")
                .arg(programFolder);
  return FileHome{programFolder, QString(), cause, notice};
}

}  // namespace

QString programPath() {
  if (QCoreApplication::instance())
    return QCoreApplication::applicationDirPath();
  // Without an application object (plain unit tests) ask the kernel.
  return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

QString appPath() {
  if (!overridePath().isEmpty())
    return overridePath();
  if (chosenHome())
    return chosenHome()->folder;
  return programPath();
}

QString appFile(const QString& name) { return appPath() + QDir::separator() + name; }

void setAppPath(const QString& dir) { overridePath() = dir.isEmpty() ? QString() : QDir::cleanPath(dir); }

void chooseFileHome(const QString& programFolder, const QStringList& shippedFiles) {
  // An earlier choice that writes nothing must not refuse the copies below.
  chosenHome().reset();
  const QString program = QDir::cleanPath(programFolder);
  // The marker, never whether the folder can be written: root can write
  // anywhere, and must not write into an installed program either.
  if (!QFileInfo::exists(QDir(program).filePath(kInstalledMarker))) {
    chosenHome() = FileHome{program, QString(), QString(), QString()};
    return;
  }
  QString noHome;
  const QString base = dataHome(noHome);
  if (base.isEmpty()) {
    chosenHome() = readOnlyHome(
        program, QStringLiteral("no home folder"),
        QStringLiteral("Lotwise found no home folder (%1), so it has no data folder of yours to keep its files in.")
            .arg(noHome));
    return;
  }
  const QString folder = base + QStringLiteral("/lotwise");
  if (std::optional<StockFailure> failure = stock(folder, program, shippedFiles)) {
    chosenHome() =
        readOnlyHome(program, failure->cause,
                     QStringLiteral("Lotwise %1: %2. Nothing was copied there.").arg(failure->what, failure->cause));
    return;
  }
  chosenHome() = FileHome{folder, program, QString(), QString()};
}

QString shippedFolder() {
  if (!overridePath().isEmpty() || !chosenHome())
    return QString();
  return chosenHome()->shipped;
}

QString readOnlyNotice() {
  if (!overridePath().isEmpty() || !chosenHome())
    return QString();
  return chosenHome()->notice;
}

std::optional<Error> writeRefusal() {
  if (!overridePath().isEmpty() || !chosenHome() || chosenHome()->readOnlyCause.isEmpty())
    return std::nullopt;
  const QString reason =
      QStringLiteral("Lotwise writes nothing this time, as it has no data folder of yours to write in (%1)")
          .arg(chosenHome()->readOnlyCause);
  return Error(PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(reason), reason);
}

}  // namespace platform
