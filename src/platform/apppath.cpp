#include "apppath.h"

#include "wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace platform {
namespace {

struct FileHome {
  QString folder;   // where every file is read and written
  QString shipped;  // where the shipped data files lie, when folder holds copies
};

QString& overridePath() {
  static QString path;
  return path;
}

std::optional<FileHome>& chosenHome() {
  static std::optional<FileHome> home;
  return home;
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
  // The marker, never whether the folder can be written: root can write
  // anywhere, and must not write into an installed program either.
  if (!QFileInfo::exists(QDir(programFolder).filePath(kInstalledMarker))) {
    chosenHome() = FileHome{QDir::cleanPath(programFolder), QString()};
    return;
  }
  const QString folder = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                         QStringLiteral("/lotwise"));
  QDir().mkpath(folder);
  for (const QString& name : shippedFiles) {
    const QFileInfo copy(QDir(folder).filePath(name));
    // A dangling link is there too: it is the user's, and stays.
    if (!copy.exists() && !copy.isSymLink())
      copyFile(QDir(programFolder).filePath(name), copy.filePath());
  }
  // What could not be made or copied shows as a missing file in the
  // warning about the data files, which names its path.
  chosenHome() = FileHome{folder, QDir::cleanPath(programFolder)};
}

QString shippedFolder() {
  if (!overridePath().isEmpty() || !chosenHome())
    return QString();
  return chosenHome()->shipped;
}

}  // namespace platform
