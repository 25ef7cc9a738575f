#include "gwords.h"

namespace util {

QStringList gWords;

}  // namespace util
