#include "binvalue.h"

#include "platform/error.h"

#include <limits>

namespace util {

qint32 BinValue(const QString& text) {
  // Each digit counts with its own value in its place, so 0200 is 8. A zero
  // adds nothing however far left it stands; any other digit from place 31
  // on is already past the 32-bit range.
  constexpr qint64 kMax = std::numeric_limits<qint32>::max();
  const qsizetype n = text.size();
  qint64 value = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    const int digit = c >= u'0' && c <= u'9' ? c - u'0' : 0;
    if (digit == 0)
      continue;
    const qsizetype place = n - 1 - i;
    if (place >= 31)
      platform::raiseOverflow();
    value += digit * (qint64{1} << place);
    if (value > kMax)
      platform::raiseOverflow();
  }
  return static_cast<qint32>(value);
}

}  // namespace util
