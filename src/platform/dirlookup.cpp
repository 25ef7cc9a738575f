#include "dirlookup.h"

#include "error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace platform {
namespace {

bool hasWildcard(QStringView text) { return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?')); }

bool kindAllowed(const QFileInfo& entry, int attributes) {
  const bool hidden = entry.fileName().startsWith(QLatin1Char('.'));
  if (hidden && !(attributes & AttrHidden))
    return false;
  if (entry.isDir() && !(attributes & AttrDirectory))
    return false;
  return true;
}

}  // namespace

bool matchesWildcard(QStringView name, QStringView pattern) {
  // Iterative matcher with one backtrack point: linear in practice and
  // free of the recursion blow-up of "a*a*a*..." patterns.
  qsizetype n = 0, p = 0, starP = -1, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
      starP = p++;
      starN = n;
    } else if (starP >= 0) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
    ++p;
  return p == pattern.size();
}

QString findFirstEntry(const QString& path, int attributes) {
  // An empty path names no entry at all, not the current folder.
  if (path.isEmpty() || path.contains(QChar(0)))
    throw Error(BadFileName, QStringLiteral("Bad file name or number"));

  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const QString folder = slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : path.left(slash));
  // Only the last part is a pattern. The folder part is a real folder's name
  // and is taken as it stands: * and ? are legal in Linux folder names, and
  // the program's own folder may well carry one.
  QString pattern = path.mid(slash + 1);

  const QFileInfo folderInfo(folder);
  if (!folderInfo.isDir())
    throw Error(PathNotFound, QStringLiteral("Path not found"));

  if (pattern.isEmpty())
    pattern = QStringLiteral("*");

  if (!hasWildcard(pattern)) {
    if (pattern == QLatin1String(".") || pattern == QLatin1String(".."))
      return {};
    const QFileInfo entry(QDir(folder).filePath(pattern));
    return entry.exists() && kindAllowed(entry, attributes) ? entry.fileName() : QString();
  }

  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (matchesWildcard(entry.fileName(), pattern) && kindAllowed(entry, attributes))
      return entry.fileName();
  }
  return {};
}

bool canSee(const QString& path) {
  struct stat status = {};
  return ::stat(QFile::encodeName(path).constData(), &status) == 0;
}

}  // namespace platform
