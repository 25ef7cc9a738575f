// The program keeps all its files in its own folder.
#pragma once

#include <QString>

namespace platform {

// The folder that holds the executable, or the folder set by setAppPath.
QString appPath();

// The full path of one of the program's files: appPath(), "/", name.
QString appFile(const QString& name);

// Test seam: every file of the program resolves in dir from now on. The
// program itself never calls this; it reads no command line or settings.
void setAppPath(const QString& dir);

}  // namespace platform
