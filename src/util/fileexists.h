// Whether a file is there, before a caller opens it for reading.
#pragma once

#include <QString>

namespace util {

// True when the first directory entry matching PathName (wildcards * and ?
// in its last part) is of a kind the mask allows: 2 hidden, 4 system,
// 16 directories; ordinary files always count. Never raises an error: an
// empty path, a missing folder or a malformed path answer false.
bool FileExists(const QString& PathName, int Attributes = 2);
// The mask given as text, as some callers hold it; a mask that is not a
// number answers false.
bool FileExists(const QString& PathName, const QString& Attributes);

}  // namespace util
