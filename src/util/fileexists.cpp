#include "fileexists.h"

#include "numbers.h"
#include "platform/dirlookup.h"

#include <exception>

namespace util {

bool FileExists(const QString& PathName, int Attributes) {
  if (PathName.isEmpty())
    return false;
  // A missing folder, a malformed path or a device that is not ready all
  // mean "not there" to the callers, who then simply do not read the file.
  try {
    return !platform::findFirstEntry(PathName, Attributes).isEmpty();
  } catch (const std::exception&) {
    return false;
  }
}

bool FileExists(const QString& PathName, const QString& Attributes) {
  if (PathName.isEmpty())
    return false;
  try {
    return FileExists(PathName, toLong(Attributes));
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace util
