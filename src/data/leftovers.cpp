#include "leftovers.h"

#include "records.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace data {
namespace {

// The names whose temporary files are the program's own. The page and the
// results keep their names in the main window; they are written nowhere
// else.
const QRegularExpression& temporaryName() {
  static const QRegularExpression pattern(QStringLiteral(
      "^(words\\.wdb|dictionary\\.wdb|words\\.wdb\\.bak|dictionary\\.wdb\\.bak|meanings_tmp\\.htm|results\\.txt)"
      "\\.(?=[A-Za-z0-9]{0,5}[A-Z])[A-Za-z0-9]{6}$"));
  return pattern;
}

const QRegularExpression& unsavedName() {
  static const QRegularExpression pattern(QStringLiteral("^(words|dictionary)\\.wdb\\.unsaved([2-9]|[1-9][0-9]+)?$"));
  return pattern;
}

// True when no running copy of the program holds the file open for
// writing: its writers lock their temporary files while they live.
bool unused(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0)
    return false;
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

QByteArray bytesOr(const QString& path, const QByteArray& otherwise) {
  try {
    return platform::readWholeFile(path);
  } catch (const platform::Error&) {
    return otherwise;
  }
}

// A data file's temporary file goes only when it holds nothing that is not
// already kept: empty, or the same as the file or as edits kept before.
void keepOrRemove(const QString& leftover, const QString& dataFile) {
  const QByteArray bytes = bytesOr(leftover, QByteArray());
  bool kept = bytes.isEmpty() || bytes == bytesOr(dataFile, QByteArray());
  const QString folder = QFileInfo(dataFile).absolutePath();
  const QString name = QFileInfo(dataFile).fileName();
  for (const QString& unsaved : unsavedFiles(folder))
    kept = kept || (QFileInfo(unsaved).fileName().startsWith(name) && bytesOr(unsaved, QByteArray()) == bytes);
  if (kept)
    QFile::remove(leftover);
  else
    QFile::rename(leftover, unsavedPath(dataFile));
}

}  // namespace

void tidyLeftovers(const QString& folder) {
  const platform::FolderLock lock(folder, platform::FolderLock::Mode::Try);
  if (!lock.held())
    return;  // a save is under way: its files are not left over
  const QDir dir(folder);
  const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QFileInfo& entry : entries) {
    const QRegularExpressionMatch match = temporaryName().match(entry.fileName());
    if (!match.hasMatch() || entry.isSymLink() || !unused(entry.filePath()))
      continue;
    const QString base = match.captured(1);
    if (base == kWordsFile || base == kDictionaryFile)
      keepOrRemove(entry.filePath(), dir.filePath(base));
    else
      QFile::remove(entry.filePath());
  }
}

QStringList unsavedFiles(const QString& folder) {
  const QDir dir(folder);
  QStringList files;
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
    if (unsavedName().match(name).hasMatch())
      files << dir.filePath(name);
  return files;
}

QString unsavedNotice(const QStringList& files) {
  QStringList lines;
  for (const QString& file : files) {
    const QString dataFile = QFileInfo(file).fileName().section(u'.', 0, 1);
    lines << QStringLiteral("%1 holds edits to %2 that were never saved: Lotwise was stopped while saving them.")
                 .arg(QDir::toNativeSeparators(file), dataFile);
  }
  if (lines.isEmpty())
    return QString();
  lines << QStringLiteral(
      "Copy what you need from it into the editor, or put it in the place of the file, then delete it. "
      "Lotwise never deletes it.");
  return lines.join(QStringLiteral("\n\n"));
}

QString unsavedPath(const QString& path) {
  QString candidate = path + QStringLiteral(".unsaved");
  for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
    candidate = path + QStringLiteral(".unsaved%1").arg(n);
  return candidate;
}

std::optional<platform::Error> keepUnsaved(const QString& path, const QList<QStringList>& records, QString* writtenTo) {
  const QString target = unsavedPath(path);
  if (std::optional<platform::Error> failure = platform::writeWholeFile(target, fileBytes(records)))
    return failure;
  if (writtenTo)
    *writtenTo = target;
  return std::nullopt;
}

}  // namespace data
