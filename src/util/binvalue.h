// The value of a word code.
#pragma once

#include <QString>

namespace util {

// Each character's digit value (0 for anything but 0..9) times 2 to the
// power of its place from the right, summed: 0101 gives 5, 0200 gives 8,
// "" gives 0. A sum above 2,147,483,647 raises an overflow.
qint32 BinValue(const QString& text);

}  // namespace util
