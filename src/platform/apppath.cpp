#include "apppath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {

QString& overridePath() {
  static QString path;
  return path;
}

QString executableFolder() {
  if (QCoreApplication::instance())
    return QCoreApplication::applicationDirPath();
  // Without an application object (plain unit tests) ask the kernel.
  return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

}  // namespace

QString appPath() {
  const QString& path = overridePath();
  return path.isEmpty() ? executableFolder() : path;
}

QString appFile(const QString& name) { return appPath() + QDir::separator() + name; }

void setAppPath(const QString& dir) {
  QString path = QDir::cleanPath(dir);
  overridePath() = path;
}

}  // namespace platform
