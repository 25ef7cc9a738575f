// What a save or a page write cut short (the program killed, the machine
// off) can leave beside the program's files, and the tidying at start-up
// that clears it without losing an edit.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/error.h"

namespace data {

// Clears from folder the temporary files the program makes while writing
// its own files: the file's name, a dot and six random letters or digits
// (QSaveFile's pattern, which the backup's second name follows too), for
// words.wdb, dictionary.wdb, their .bak, meanings_tmp.htm and results.txt.
// Only regular files whose six characters hold a capital letter are taken,
// so that a copy the user named "words.wdb.backup" is never one; a file
// that a running copy of the program is still writing is left alone, and so
// is the whole folder while a save is under way in it.
//
// A temporary file of words.wdb or dictionary.wdb may hold edits saved
// nowhere else: one with content of its own is moved to unsavedPath()
// rather than deleted.
void tidyLeftovers(const QString& folder);

// Every file of unsaved edits in folder ("dictionary.wdb.unsaved", ...), by
// full path, in name order.
QStringList unsavedFiles(const QString& folder);

// The words that name them to the user; "" when there are none.
QString unsavedNotice(const QStringList& files);

// Where edits to the file at path that could not reach it are kept: the
// first free name of path + ".unsaved", ".unsaved2", ".unsaved3", ...
QString unsavedPath(const QString& path);

// Writes records in the text form to unsavedPath(path); the path written,
// or the failure.
std::optional<platform::Error> keepUnsaved(const QString& path, const QList<QStringList>& records,
                                           QString* writtenTo = nullptr);

}  // namespace data
