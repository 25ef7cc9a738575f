// Edits that could not reach their file: kept beside it when the program is
// ended from outside with the editor's edits unsaved, and named to the user
// at the next start.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/error.h"

namespace data {

// Where edits to the file at path that could not reach it are kept: the
// first free name of path + ".unsaved", ".unsaved2", ".unsaved3", ...
QString unsavedPath(const QString& path);

// Writes records in the text form to unsavedPath(path); the path written,
// or the failure.
std::optional<platform::Error> keepUnsaved(const QString& path, const QList<QStringList>& records,
                                           QString* writtenTo = nullptr);

// Every file of kept edits in folder ("dictionary.wdb.unsaved", ...), by
// full path, in name order. Nothing is done with them but naming them.
QStringList unsavedFiles(const QString& folder);

// The words that name them to the user; "" when there are none.
QString unsavedNotice(const QStringList& files);

}  // namespace data
