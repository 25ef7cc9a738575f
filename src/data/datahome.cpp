#include "datahome.h"

#include "datafile.h"
#include "platform/programpath.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace data {
namespace {

struct FileHome {
  QString folder;         // where every file is read and written; "" when none was found
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
  if (const std::optional<platform::Error> failure = platform::makePrivateFolder(path))
    return StockFailure{
        QStringLiteral("could not make the folder %1, where its data folder %2 goes").arg(path, dataFolder),
        failure->reason()};
  return std::nullopt;
}

// Copies into the data folder each shipped file it lacks. A file already
// there, even a link that points nowhere, is the user's and stays; so does
// one that another start copies in meanwhile. A failure leaves the copies
// already made: the next start copies the rest.
std::optional<StockFailure> stock(const QString& folder, const QString& programFolder, const QStringList& files) {
  if (std::optional<StockFailure> failure = makeFolders(folder, folder))
    return failure;
  for (const QString& name : files) {
    const QString target = QDir(folder).filePath(name);
    const QFileInfo there(target);
    if (there.exists() || there.isSymLink())
      continue;
    const QString shipped = QDir(programFolder).filePath(name);
    std::optional<platform::Error> failure;
    try {
      const std::optional<QByteArray> bytes = platform::readWholeFile(shipped, kMaxDictionaryBytes);
      failure = bytes ? platform::writeNewFile(target, *bytes) : platform::fileError(EFBIG);
    } catch (const platform::Error& error) {
      failure = error;
    }
    if (failure && !QFileInfo::exists(target))
      return StockFailure{QStringLiteral("could not copy %1 into its data folder %2").arg(shipped, folder),
                          failure->reason()};
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

QString appPath() {
  if (!overridePath().isEmpty())
    return overridePath();
  if (const std::optional<FileHome>& home = chosenHome())
    return home->folder;
  return platform::programPath();
}

QString appFile(const QString& name) {
  const QString folder = appPath();
  return folder.isEmpty() ? QString() : folder + QDir::separator() + name;
}

void setAppPath(const QString& dir) { overridePath() = dir.isEmpty() ? QString() : QDir::cleanPath(dir); }

void chooseFileHome(const QString& programFolder, const QStringList& shippedFiles) {
  // An earlier choice that writes nothing must not refuse the copies below.
  chosenHome().reset();
  if (programFolder.isEmpty()) {
    // Never the current folder nor the root instead: those are not ours.
    chosenHome() = FileHome{QString(), QString(), QStringLiteral("no program folder"),
                            QStringLiteral("Lotwise could not tell which folder it was started from, so it cannot "
                                           "find its data files, and writes nothing this time.")};
    return;
  }
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
    chosenHome() = readOnlyHome(
        program, failure->cause,
        QStringLiteral("Lotwise %1: %2. Its next start copies what is missing.").arg(failure->what, failure->cause));
    return;
  }
  chosenHome() = FileHome{folder, program, QString(), QString()};
}

QString shippedFolder() {
  const std::optional<FileHome>& home = chosenHome();
  if (!overridePath().isEmpty() || !home)
    return QString();
  return home->shipped;
}

QString readOnlyNotice() {
  const std::optional<FileHome>& home = chosenHome();
  if (!overridePath().isEmpty() || !home)
    return QString();
  return home->notice;
}

std::optional<platform::Error> writeRefusal() {
  const std::optional<FileHome>& home = chosenHome();
  if (!overridePath().isEmpty() || !home || home->readOnlyCause.isEmpty())
    return std::nullopt;
  const QString reason =
      QStringLiteral("Lotwise writes nothing this time, as it has no data folder of yours to write in (%1)")
          .arg(home->readOnlyCause);
  return platform::Error(platform::PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(reason),
                         reason);
}

std::optional<platform::Error> writeFile(const QString& path, QByteArrayView bytes) {
  if (std::optional<platform::Error> refusal = writeRefusal())
    return refusal;
  return platform::writeWholeFile(path, bytes);
}

}  // namespace data
