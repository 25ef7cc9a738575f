// Directory lookup: the first entry of a folder that matches a path.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// Attribute mask bits: which kinds of entries count besides ordinary files.
enum EntryAttribute : std::uint8_t {
  AttrHidden = 2,  // on this platform: names that start with "."
  AttrSystem = 4,  // this platform has no system files
  AttrDirectory = 16,
};

// The name of the first entry (in name order) that matches path and whose
// kind the mask allows, or "" when nothing matches. The last part of path
// may hold the wildcards * and ?; the folder part is taken literally,
// whatever characters it holds. A path ending in a separator matches any
// entry of that folder. A missing folder or a malformed path (empty, or
// holding a NUL) throws platform::Error.
QString findFirstEntry(const QString& path, int attributes);

// Whether this process may see the entry at path at all: false when the
// entry is missing, or when a folder on the way refuses a look inside.
// Asked with the process's own rights; QFileInfo::exists answers with the
// real user's.
bool canSee(const QString& path);

// Wildcard match of one name: * any run of characters, ? any one character.
bool matchesWildcard(QStringView name, QStringView pattern);

}  // namespace platform
