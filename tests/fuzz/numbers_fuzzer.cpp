// The readings of numbers in text and the general number form: nothing may
// crash, and the readings must agree with one another.
#include "fuzzcheck.h"
#include "util/binvalue.h"
#include "util/numbers.h"
#include "util/padnumber.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

using lotwise::fuzz::errorOf;
using namespace util;

// Largest magnitude whose 15-digit text still reads back as a double.
constexpr double kReadableMax = 1.797693134862e308;

void checkGeneralForm(double value) {
  QString text;
  const int error = errorOf([&] { text = formatGeneral(value); });
  if (!std::isfinite(value)) {
    FUZZ_CHECK(error == platform::Overflow);
    return;
  }
  FUZZ_CHECK(error == 0);
  FUZZ_CHECK(!text.isEmpty() && text.size() <= 22);
  if (std::abs(value) > kReadableMax)
    return;
  FUZZ_CHECK(IsNumeric(text));
  const double back = numberFromText(text);
  // Half a unit of the 15th digit, plus the rounding of the text to a double.
  FUZZ_CHECK(std::abs(back - value) <= std::abs(value) * (5e-15 + std::numeric_limits<double>::epsilon()));
  FUZZ_CHECK(formatGeneral(back) == text);
}

template <typename Int, typename Convert>
void checkConversion(double value, Convert convert) {
  Int whole = 0;
  const int error = errorOf([&] { whole = convert(value); });
  if (error != 0) {
    FUZZ_CHECK(error == platform::Overflow);
    FUZZ_CHECK(!(value > std::numeric_limits<Int>::min() - 0.5 && value < std::numeric_limits<Int>::max() + 0.5));
    return;
  }
  FUZZ_CHECK(std::abs(whole - value) <= 0.5);
}

void checkNumber(double value, int width) {
  checkGeneralForm(value);
  checkConversion<quint8>(value, [](double v) { return toByte(v); });
  checkConversion<qint16>(value, [](double v) { return toInteger(v); });
  checkConversion<qint32>(value, [](double v) { return toLong(v); });
  QString padded;
  const int error = errorOf([&] { padded = PadNumber(value, static_cast<qint16>(width)); });
  if (error == 0)
    FUZZ_CHECK(padded.size() == width);
  else
    FUZZ_CHECK(error == platform::Overflow && !(std::abs(value) <= kReadableMax));
}

void checkText(const QString& text, int width) {
  double leading = 0;
  const int valError = errorOf([&] { leading = Val(text); });
  FUZZ_CHECK(valError == 0 || valError == platform::Overflow);
  FUZZ_CHECK(std::isfinite(leading));

  // IsNumeric says exactly whether the strict reading succeeds.
  double whole = 0;
  const int strictError = errorOf([&] { whole = numberFromText(text); });
  FUZZ_CHECK(IsNumeric(text) == (strictError == 0));
  FUZZ_CHECK(strictError == 0 || strictError == platform::TypeMismatch || strictError == platform::Overflow);
  // Without thousands separators a numeric text is its own leading number.
  if (strictError == 0 && !text.contains(QLatin1Char(','))) {
    FUZZ_CHECK(valError == 0);
    FUZZ_CHECK(whole == leading);
  }

  if (valError == 0)
    checkNumber(leading, width);

  qint32 code = 0;
  const int binError = errorOf([&] { code = BinValue(text); });
  FUZZ_CHECK(binError == platform::Overflow || (binError == 0 && code >= 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int width = size > 0 ? data[0] % 64 : 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  const auto length = static_cast<qsizetype>(size);
  checkText(QString::fromUtf8(bytes, length), width);
  checkText(QString::fromLatin1(bytes, length), width);
  // The same bytes as a raw double reach NaN, infinities and denormals.
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    checkNumber(raw, width);
  }
  return 0;
}
