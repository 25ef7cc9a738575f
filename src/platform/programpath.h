// The folder that holds the running program.
#pragma once

#include <QString>

namespace platform {

// The folder of the executable, by what the kernel says the process runs
// (/proc/self/exe), or "" when it cannot tell. A folder whose name Qt
// cannot hold (not valid UTF-8) is reached through a handle kept open for
// the life of the process, "/proc/self/fd/N", which names the same folder.
QString programPath();

}  // namespace platform
