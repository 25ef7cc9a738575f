#include "records.h"

#include "platform/textfile.h"

#include <QFileInfo>
#include <new>

namespace data {
namespace {

platform::Error asError(const std::exception& failure) {
  if (const auto* error = dynamic_cast<const platform::Error*>(&failure))
    return *error;
  if (dynamic_cast<const std::bad_alloc*>(&failure))
    return platform::Error(platform::OutOfMemory, QStringLiteral("Out of memory"));
  return platform::Error(platform::PathFileAccessError, QStringLiteral("Path/File access error"));
}

}  // namespace

std::optional<platform::Error> saveFile(const QString& path, const QList<QStringList>& records) {
  const QString backup = path + QStringLiteral(".bak");
  try {
    platform::copyFile(path, backup);
  } catch (const std::exception& failure) {
    return asError(failure);
  }

  bool created = false;
  try {
    platform::TextWriter out(path);
    created = true;
    for (const QStringList& record : records)
      out.write(recordText(record));
    out.close();
    return std::nullopt;
  } catch (const std::exception& failure) {
    // The writer is closed by now (it lived in the try block), so nothing it
    // still held can land on top of the restored content.
    const platform::Error error = asError(failure);
    try {
      platform::copyFile(backup, path);
    } catch (const std::exception&) {
      // The file may now be cut short; say where the old content still is.
      if (created) {
        const QString kept = QStringLiteral(". The previous content is kept in %1.").arg(QFileInfo(backup).fileName());
        return platform::Error(error.number(), error.description() + kept);
      }
    }
    return error;
  }
}

}  // namespace data
