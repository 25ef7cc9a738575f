#include "unsaved.h"

#include "datahome.h"
#include "records.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace data {

QString unsavedPath(const QString& path) {
  QString candidate = path + QStringLiteral(".unsaved");
  for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
    candidate = path + QStringLiteral(".unsaved%1").arg(n);
  return candidate;
}

std::optional<platform::Error> keepUnsaved(const QString& path, const QList<QStringList>& records, QString* writtenTo) {
  const QString target = unsavedPath(path);
  if (std::optional<platform::Error> failure = writeFile(target, fileBytes(records)))
    return failure;
  if (writtenTo)
    *writtenTo = target;
  return std::nullopt;
}

QStringList unsavedFiles(const QString& folder) {
  static const QRegularExpression unsavedName(
      QRegularExpression::anchoredPattern(QStringLiteral("(words|dictionary)\\.wdb\\.unsaved([2-9]|[1-9][0-9]+)?")));
  QStringList files;
  if (folder.isEmpty())
    return files;  // QDir would take the current folder, which is not ours
  const QDir dir(folder);
  const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString& name : names)
    if (unsavedName.match(name).hasMatch())
      files << dir.filePath(name);
  return files;
}

QString unsavedNotice(const QStringList& files) {
  QStringList lines;
  for (const QString& file : files) {
    const QString dataFile = QFileInfo(file).fileName().section(u'.', 0, 1);
    lines << QStringLiteral(
                 "%1 holds edits to %2 that were never saved: Lotwise was ended from outside (a logout, or a "
                 "signal such as SIGTERM) while they were unsaved in the editor.")
                 .arg(QDir::toNativeSeparators(file), dataFile);
  }
  if (lines.isEmpty())
    return QString();
  lines << QStringLiteral(
      "Copy what you need from it into the editor, or put it in the place of the file, then delete it. "
      "Lotwise never deletes it.");
  return lines.join(QStringLiteral("\n\n"));
}

}  // namespace data
