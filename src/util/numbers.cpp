#include "numbers.h"

#include "platform/error.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace util {
namespace {

// Val skips these anywhere, and the numeric test allows them around a number.
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool isExponentMark(char16_t c) { return c == u'E' || c == u'e' || c == u'D' || c == u'd'; }

int digitValue(char16_t c, int base) {
  int d = -1;
  if (c >= u'0' && c <= u'9')
    d = c - u'0';
  else if (c >= u'A' && c <= u'F')
    d = c - u'A' + 10;
  else if (c >= u'a' && c <= u'f')
    d = c - u'a' + 10;
  return d >= 0 && d < base ? d : -1;
}

int baseOfPrefix(char16_t c) {
  if (c == u'H' || c == u'h')
    return 16;
  if (c == u'O' || c == u'o')
    return 8;
  return 0;
}

enum class Outcome : std::uint8_t { Ok, NotANumber, Overflow };

// A decimal number taken apart while it is read: its significant digits
// (leading zeros dropped) and the power of ten that makes 0.<digits> the
// value. The exponent is clamped so that a thousand-digit exponent cannot
// overflow the sum; any clamped value is far out of a double's range anyway.
class DecimalBuilder {
public:
  void integerDigit(char16_t c) {
    if (m_digits.empty() && c == u'0')
      return;
    m_digits.push_back(static_cast<char>(c));
    ++m_scale;
  }
  void fractionDigit(char16_t c) {
    if (m_digits.empty() && c == u'0')
      --m_scale;
    else
      m_digits.push_back(static_cast<char>(c));
  }
  void exponentDigit(char16_t c) {
    if (m_exponent < kExponentCap)
      m_exponent = m_exponent * 10 + (c - u'0');
  }
  void negativeExponent() { m_exponentSign = -1; }

  Outcome value(bool negative, double& out) const {
    out = 0.0;
    if (m_digits.empty())
      return Outcome::Ok;
    const long long scale = m_scale + m_exponentSign * m_exponent;
    // 0.1E+310 is already beyond a double; 0.9E-400 is far below its
    // smallest denormal and reads as 0, as the classic runtime does.
    if (scale > 309)
      return Outcome::Overflow;
    if (scale < -400)
      return Outcome::Ok;
    std::string text = "0.";
    text += m_digits;
    text += 'e';
    text += std::to_string(scale);
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range) {
      if (scale > 0)
        return Outcome::Overflow;
      v = 0.0;
    } else if (ec != std::errc() || end != text.data() + text.size()) {
      return Outcome::NotANumber;
    }
    if (std::isinf(v))
      return Outcome::Overflow;
    out = negative ? -v : v;
    if (out == 0.0)
      out = 0.0;  // no "-0" downstream
    return Outcome::Ok;
  }

private:
  static constexpr long long kExponentCap = 100'000'000;
  std::string m_digits;
  long long m_scale = 0;
  long long m_exponent = 0;
  int m_exponentSign = 1;
};

// &H and &O numbers are typed like the classic literals: up to &HFFFF they
// are 16-bit integers (&HFFFF is -1), up to &HFFFFFFFF 32-bit ones.
Outcome prefixedValue(std::uint64_t magnitude, double& out) {
  if (magnitude <= 0xFFFFu)
    out = static_cast<qint16>(static_cast<quint16>(magnitude));
  else if (magnitude <= 0xFFFFFFFFu)
    out = static_cast<qint32>(static_cast<quint32>(magnitude));
  else
    return Outcome::Overflow;
  return Outcome::Ok;
}

// Accumulates a digit of a prefixed number, saturating well above the range
// so that a long run of digits stays an overflow instead of wrapping.
void addPrefixedDigit(std::uint64_t& magnitude, int base, int digit) {
  constexpr std::uint64_t kSaturated = std::uint64_t{1} << 40;
  magnitude = magnitude >= kSaturated ? kSaturated : magnitude * base + digit;
}

// Reads characters while skipping blanks, the way Val does.
class BlankSkipper {
public:
  explicit BlankSkipper(QStringView text) : m_text(text) {}
  char16_t peek() {
    while (m_pos < m_text.size() && isBlank(m_text[m_pos].unicode()))
      ++m_pos;
    return m_pos < m_text.size() ? m_text[m_pos].unicode() : u'\0';
  }
  void take() { ++m_pos; }

private:
  QStringView m_text;
  qsizetype m_pos = 0;
};

Outcome leadingNumber(QStringView text, double& out) {
  out = 0.0;
  BlankSkipper in(text);
  if (in.peek() == u'&') {
    in.take();
    const int base = baseOfPrefix(in.peek());
    if (base == 0)
      return Outcome::Ok;
    in.take();
    std::uint64_t magnitude = 0;
    for (int d; (d = digitValue(in.peek(), base)) >= 0; in.take())
      addPrefixedDigit(magnitude, base, d);
    return prefixedValue(magnitude, out);
  }

  bool negative = false;
  if (in.peek() == u'+' || in.peek() == u'-') {
    negative = in.peek() == u'-';
    in.take();
  }
  DecimalBuilder number;
  bool anyDigit = false;
  for (; isDigit(in.peek()); in.take()) {
    number.integerDigit(in.peek());
    anyDigit = true;
  }
  if (in.peek() == u'.') {
    in.take();
    for (; isDigit(in.peek()); in.take()) {
      number.fractionDigit(in.peek());
      anyDigit = true;
    }
  }
  if (anyDigit && isExponentMark(in.peek())) {
    in.take();
    if (in.peek() == u'+' || in.peek() == u'-') {
      if (in.peek() == u'-')
        number.negativeExponent();
      in.take();
    }
    for (; isDigit(in.peek()); in.take())
      number.exponentDigit(in.peek());
  }
  return number.value(negative, out);
}

// The strict reading behind IsNumeric and numberFromText: the whole text
// but surrounding blanks, "," allowed between the digits before the point.
Outcome wholeNumber(QStringView text, double& out) {
  out = 0.0;
  qsizetype begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin].unicode()))
    ++begin;
  while (end > begin && isBlank(text[end - 1].unicode()))
    --end;
  const QStringView t = text.sliced(begin, end - begin);
  if (t.isEmpty())
    return Outcome::NotANumber;
  qsizetype i = 0;
  auto at = [&t](qsizetype k) { return k < t.size() ? t[k].unicode() : u'\0'; };

  if (at(0) == u'&') {
    const int base = baseOfPrefix(at(1));
    if (base == 0 || t.size() < 3)
      return Outcome::NotANumber;
    std::uint64_t magnitude = 0;
    for (i = 2; i < t.size(); ++i) {
      const int d = digitValue(t[i].unicode(), base);
      if (d < 0)
        return Outcome::NotANumber;
      addPrefixedDigit(magnitude, base, d);
    }
    return prefixedValue(magnitude, out);
  }

  bool negative = false;
  if (at(i) == u'+' || at(i) == u'-')
    negative = at(i++) == u'-';
  DecimalBuilder number;
  bool anyDigit = false;
  if (isDigit(at(i))) {
    for (; isDigit(at(i)) || at(i) == u','; ++i) {
      if (at(i) != u',')
        number.integerDigit(at(i));
    }
    anyDigit = true;
  }
  if (at(i) == u'.') {
    for (++i; isDigit(at(i)); ++i) {
      number.fractionDigit(at(i));
      anyDigit = true;
    }
  }
  if (!anyDigit)
    return Outcome::NotANumber;
  if (isExponentMark(at(i))) {
    ++i;
    if (at(i) == u'+' || at(i) == u'-') {
      if (at(i) == u'-')
        number.negativeExponent();
      ++i;
    }
    if (!isDigit(at(i)))
      return Outcome::NotANumber;
    for (; isDigit(at(i)); ++i)
      number.exponentDigit(at(i));
  }
  if (i != t.size())
    return Outcome::NotANumber;
  return number.value(negative, out);
}

// Nearest whole number, halves to the even neighbour, whatever the current
// floating-point rounding mode.
double roundHalfEven(double value) {
  const double low = std::floor(value);
  const double diff = value - low;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(low, 2.0) != 0.0))
    return low + 1.0;
  return low;
}

template <typename Int>
Int toWhole(double value) {
  const double r = roundHalfEven(value);
  // NaN fails both comparisons and lands here too.
  if (!(r >= std::numeric_limits<Int>::min() && r <= std::numeric_limits<Int>::max()))
    platform::raiseOverflow();
  return static_cast<Int>(r);
}

}  // namespace

double Val(QStringView text) {
  double v;
  if (leadingNumber(text, v) == Outcome::Overflow)
    platform::raiseOverflow();
  return v;
}

bool IsNumeric(QStringView text) {
  double v;
  return wholeNumber(text, v) == Outcome::Ok;
}

double numberFromText(QStringView text) {
  double v;
  switch (wholeNumber(text, v)) {
    case Outcome::Ok:
      return v;
    case Outcome::Overflow:
      platform::raiseOverflow();
    case Outcome::NotANumber:
      break;
  }
  platform::raiseTypeMismatch();
}

quint8 toByte(double value) { return toWhole<quint8>(value); }
qint16 toInteger(double value) { return toWhole<qint16>(value); }
qint32 toLong(double value) { return toWhole<qint32>(value); }
quint8 toByte(QStringView text) { return toByte(numberFromText(text)); }
qint16 toInteger(QStringView text) { return toInteger(numberFromText(text)); }
qint32 toLong(QStringView text) { return toLong(numberFromText(text)); }

qint32 addChecked(qint32 a, qint32 b) {
  qint32 sum;
  if (__builtin_add_overflow(a, b, &sum))
    platform::raiseOverflow();
  return sum;
}

double power(double base, double exponent) {
  const double r = std::pow(base, exponent);
  if (std::isnan(r))
    platform::raiseInvalidCall();
  if (std::isinf(r))
    platform::raiseOverflow();
  return r;
}

QString formatGeneral(double value) {
  if (!std::isfinite(value))
    platform::raiseOverflow();
  if (value == 0.0)
    return QStringLiteral("0");

  // Fifteen significant digits, rounded once, then laid out by hand: the C
  // library would follow the process locale's decimal separator.
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::abs(value), std::chars_format::scientific, 14);
  const std::string_view sci(buf, res.ptr - buf);  // d.dddddddddddddde+xx or e-xx
  const std::size_t e = sci.find('e');
  std::string digits;
  digits += sci[0];
  digits += sci.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  int exponent = 0;
  std::from_chars(sci.data() + e + (sci[e + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);

  std::string out = value < 0 ? "-" : "";
  if (exponent >= 15 || exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(exponent);
    if (magnitude < 10)
      out += '0';
    out += std::to_string(magnitude);
  } else if (exponent >= 0) {
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits;
      out.append(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole);
      out += '.';
      out += digits.substr(whole);
    }
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  }
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

}  // namespace util
