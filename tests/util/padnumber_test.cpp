#include "util/padnumber.h"

#include "support/errorof.h"
#include "support/printers.h"

#include <limits>
#include <gtest/gtest.h>

namespace {

using lotwise::test::errorOf;
using util::PadNumber;

TEST(PadNumber, GroupsRoundsAndAlignsRight) {
  struct Case {
    const char* what;
    double value;
    qint16 width;
    const char* expected;
  };
  const Case cases[] = {
      {"one blank of padding", 3, 2, " 3"},
      {"thousands separator", 12345, 8, "  12,345"},
      {"cut on the left", 12345, 3, "345"},
      {"width 0 is empty", 12345, 0, ""},
      {"exact width", 1234567, 9, "1,234,567"},
      {"zero", 0, 3, "  0"},
      {"negative", -1234, 7, " -1,234"},
      {"half rounds away from zero", 2.5, 1, "3"},
      {"0.5 rounds up", 0.5, 1, "1"},
      {"negative half rounds away too", -2.5, 3, " -3"},
      {"rounding regroups", 999.5, 5, "1,000"},
      {"no minus sign on a zero", -0.4, 2, " 0"},
      {"the value passes through its 15-digit text", 0.49999999999999994, 1, "1"},
      {"beyond 15 digits come zeros", 123456789012345678e3, 27, "123,456,789,012,346,000,000"},
      {"1E+20", 1e20, 27, "100,000,000,000,000,000,000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PadNumber(c.value, c.width), QString(c.expected)) << c.what;
}

TEST(PadNumber, WideFieldsAndHugeValues) {
  for (qint16 width : {qint16(300), std::numeric_limits<qint16>::max()}) {
    const QString padded = PadNumber(7, width);
    ASSERT_EQ(padded.size(), width);
    EXPECT_EQ(padded.right(2), QString(" 7"));
    EXPECT_EQ(padded.count(QLatin1Char(' ')), width - 1);
  }
  // 1E+300 is 301 digits in 101 groups: the field shows its tail.
  EXPECT_EQ(PadNumber(1e300, 8), QString(",000,000"));
  EXPECT_EQ(PadNumber(1e300, 500).trimmed().size(), 301 + 100);
}

TEST(PadNumber, NegativeWidthOrNonFiniteValueIsAnError) {
  EXPECT_EQ(errorOf([] { PadNumber(3, -1); }), platform::InvalidProcedureCall);
  EXPECT_EQ(errorOf([] { PadNumber(std::numeric_limits<double>::infinity(), 3); }), platform::Overflow);
}

}  // namespace
