#include "padnumber.h"

#include "numbers.h"
#include "platform/error.h"

#include <charconv>
#include <cmath>
#include <string>

namespace util {
namespace {

// "#,##0": halves round away from zero, as the classic Format rounds. The
// value has passed through its 15-digit text form, so 15 significant digits
// followed by zeros are all there is to write.
QString formatThousands(double value) {
  const double whole = std::round(value);
  if (whole == 0.0)
    return QStringLiteral("0");
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::abs(whole), std::chars_format::scientific, 14);
  const std::string_view sci(buf, res.ptr - buf);
  const std::size_t e = sci.find('e');
  int exponent = 0;
  std::from_chars(sci.data() + e + 2, sci.data() + sci.size(), exponent);  // always "e+"
  std::string digits(1, sci[0]);
  digits += sci.substr(2, e - 2);
  digits.resize(static_cast<std::size_t>(exponent) + 1, '0');

  QString out;
  out.reserve(static_cast<qsizetype>(digits.size()) + static_cast<qsizetype>(digits.size() / 3) + 1);
  if (whole < 0)
    out += QLatin1Char('-');
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0)
      out += QLatin1Char(',');
    out += QLatin1Char(digits[i]);
  }
  return out;
}

}  // namespace

QString PadNumber(double value, qint16 width) {
  if (width < 0)
    platform::raiseInvalidCall();
  const QString formatted = formatThousands(Val(formatGeneral(value)));
  if (formatted.size() >= width)
    return formatted.right(width);
  return QString(width - formatted.size(), QLatin1Char(' ')) + formatted;
}

}  // namespace util
