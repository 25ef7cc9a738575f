// Where the program's files live: the one place that knows it.
//
// Run from its build folder, or from a folder copied anywhere, the program
// keeps every file in its own folder. Installed (the install step leaves the
// marker lotwise.installed beside the executable), it never writes there:
// each user's files live in their own data folder, $XDG_DATA_HOME/lotwise
// (~/.local/share/lotwise), which gets a copy of each data file shipped
// beside the executable that it lacks. Without a home, or when that folder
// cannot be stocked, the run reads the shipped files and writes nothing at
// all. The choice is made once, at start-up.
#pragma once

#include "platform/error.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace data {

inline const QString kInstalledMarker = QStringLiteral("lotwise.installed");

// The folder of the program's files: the one set by setAppPath, else the
// one chosen at start-up, else the program's folder. "" when there is none
// the program could find: then every file is missing and nothing is written.
QString appPath();

// The full path of one of the program's files: appPath(), "/", name; "" when
// appPath() is.
QString appFile(const QString& name);

// Every file of the program resolves in dir from now on, whatever the
// layout; an empty dir undoes it. The program itself never calls this; it
// reads no command line or settings.
void setAppPath(const QString& dir);

// Called once at start-up, before any window, with the folder of the
// executable (platform::programPath()) and the names of the data files
// shipped in it. Installed, the user's data folder becomes the home of every
// file, and each shipped file it lacks is copied in. A file already there is
// never replaced: it may hold the user's edits. The data folder follows the
// XDG rules: $XDG_DATA_HOME when it is an absolute path, else
// $HOME/.local/share. With no program folder, no usable home, or when the
// folder cannot be made or stocked, the run falls back on the shipped files,
// read only (see readOnlyNotice).
void chooseFileHome(const QString& programFolder, const QStringList& shippedFiles);

// Why this run reads the shipped files and writes nothing, in words for the
// user with the cause and the folder: "Lotwise found no home folder ...",
// "Lotwise could not copy ... : No space left on device". Empty in an
// ordinary run.
QString readOnlyNotice();

// The failure every write of the program's files meets in a run that writes
// nothing, naming its cause; nothing otherwise.
std::optional<platform::Error> writeRefusal();

// Writes one of the program's files whole (platform::writeWholeFile), unless
// this run writes nothing.
std::optional<platform::Error> writeFile(const QString& path, QByteArrayView bytes);

// The folder of the data files the program was installed with, when the
// files in use are copies of them; empty when they are the only copies (the
// program's own folder, or a folder set by setAppPath).
QString shippedFolder();

}  // namespace data
