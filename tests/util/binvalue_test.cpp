#include "util/binvalue.h"

#include "support/errorof.h"

#include <gtest/gtest.h>

namespace {

using lotwise::test::errorOf;
using util::BinValue;

TEST(BinValue, ReadsCodesPlaceByPlace) {
  struct Case {
    const char* what;
    QString text;
    qint32 expected;
  };
  const Case cases[] = {
      {"word code", "0101", 5},
      {"highest word code", "1111", 15},
      {"lowest word code", "0000", 0},
      {"empty text", "", 0},
      {"a digit counts with its own value", "0200", 8},
      {"other characters count 0", "x1", 1},
      {"nine in the lowest place", "19", 11},
      {"31 ones are the largest 32-bit value", QString(31, '1'), 2147483647},
      {"zeros far to the left add nothing", QString(2000, '0') + "1", 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BinValue(c.text), c.expected) << c.what;
}

TEST(BinValue, OverflowAbove2147483647) {
  for (const QString& text :
       {QString(32, '1'), "1" + QString(31, '0'), "2" + QString(30, '0'), "1" + QString(2000, '0')})
    EXPECT_EQ(errorOf([&] { BinValue(text); }), platform::Overflow) << text.size();
}

}  // namespace
