#include "engine/odometer.h"
#include "engine/outcome.h"

#include <QStringList>
#include <gtest/gtest.h>

#include "support/printers.h"

namespace {

using engine::Odometer;

// Every combination until the odometer is exhausted, and the steps taken.
QStringList enumerate(const QString& symbols, int length, int* steps = nullptr) {
  Odometer odometer(symbols, length);
  QStringList found;
  int taken = 0;
  for (;;) {
    ++taken;
    const Odometer::Step step = odometer.step();
    if (step == Odometer::Step::Found)
      found << odometer.current().toString();
    if (step == Odometer::Step::Exhausted)
      break;
  }
  if (steps)
    *steps = taken;
  return found;
}

TEST(Odometer, ListsEveryStringInOdometerOrder) {
  struct Case {
    const char* what;
    QString symbols;
    int length;
    QString expected;
  };
  const Case cases[] = {
      {"two symbols, two places", "AB", 2, "AA AB BA BB"},
      {"length 1 gives each symbol once", "xyz", 1, "x y z"},
      {"duplicates are kept", "ABA", 1, "A B A"},
      {"a blank is a symbol like any other", " A", 2, "  | A|A |AA"},
      {"case is kept", "aA", 2, "aa aA Aa AA"},
      {"three places", "01", 3, "000 001 010 011 100 101 110 111"},
      {"no symbols, nothing to list", "", 2, ""},
  };
  for (const Case& c : cases) {
    const QStringList found = enumerate(c.symbols, c.length);
    const QString joined = c.symbols.contains(' ') ? found.join('|') : found.join(' ');
    EXPECT_EQ(joined, c.expected) << c.what;
  }
}

TEST(Odometer, DefaultSymbolsGiveAllHundredAndTwentyOne) {
  int steps = 0;
  const QStringList found = enumerate("ABraCaDabra", 2, &steps);
  ASSERT_EQ(found.size(), 121);
  EXPECT_EQ(found.mid(0, 7).join(' '), "AA AB Ar Aa AC Aa AD");
  EXPECT_EQ(found.last(), "aa");
  // One step per character tried at each place, plus one running past the
  // end of each: 11 + 11 * 12 + 1 steps in all.
  EXPECT_EQ(steps, 11 + 11 * 12 + 1);
}

TEST(Odometer, LengthZeroNeverFindsOrEnds) {
  Odometer odometer("AB", 0);
  for (int i = 0; i < 1000; ++i)
    ASSERT_EQ(odometer.step(), Odometer::Step::Idle);
  EXPECT_TRUE(odometer.current().isEmpty());
}

TEST(Outcome, TotalIsTheTrimmedSymbolCountToTheLength) {
  struct Case {
    QString symbols, length, expected;
  };
  const Case cases[] = {
      {"AB", "2", "4"},
      {"ABraCaDabra", "2", "121"},
      {" AB ", "1", "2"},  // only the spaces around count out
      {"AB", "2.5", "5.65685424949238"},
      {"AB", "3x", "8"},   // the leading number of the length
      {"AB", "abc", "1"},  // no number reads as 0
      {"ABCDEFGHIJ", "15", "1E+15"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(engine::outcomeTotal(c.symbols, c.length), c.expected)
        << c.symbols.toStdString() << "^" << c.length.toStdString();
  EXPECT_EQ(engine::outcomeText(4, "4"), "4 of 4 combinations");
  EXPECT_THROW(engine::outcomeTotal("ABCDEFGHIJK", "400"), std::exception);
}

}  // namespace
