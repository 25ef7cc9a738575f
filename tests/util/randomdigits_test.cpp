#include "util/randomdigits.h"

#include "support/errorof.h"
#include "support/printers.h"

#include <QSet>
#include <limits>
#include <gtest/gtest.h>

namespace {

using lotwise::test::errorOf;
using namespace util;

class RandomDigitsTest : public ::testing::Test {
protected:
  void TearDown() override { rng::setClock({}); }
};

TEST(DigitForDraw, RoundsTiesToTheEvenPosition) {
  struct Case {
    const char* what;
    double r;
    char expected;
  };
  const Case cases[] = {
      {"0 is position 1", 0.0, '9'},
      {"just below a half step stays on 1", 0.014, '9'},
      {"1/35 is position 2", 1.0 / 35, '4'},
      {"0.5 gives 18.5, which goes to 18, not 19", 0.5, '6'},
      {"just above the tie goes to 19", 0.5000001, '5'},
      {"the top of the range is position 36, the extension", 0.999, '6'},
      {"largest draw", 1.0 - std::numeric_limits<double>::epsilon() / 2, '6'},
  };
  for (const Case& c : cases)
    EXPECT_EQ(digitForDraw(c.r), QChar(c.expected)) << c.what;
  for (double r : {-0.1, 1.0, std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(errorOf([r] { digitForDraw(r); }), platform::InvalidProcedureCall) << r;
}

TEST_F(RandomDigitsTest, DigitFrequenciesFollowThePool) {
  // Expected shares in 35ths: the two end positions of the pool count half.
  const double weight[10] = {2, 2, 3, 3, 5, 3, 4.5, 4, 5, 3.5};
  constexpr int kDraws = 200000;
  int seen[10] = {};
  for (int done = 0; done < kDraws; done += 10000) {
    const QString digits = RandomDigits(10000);
    ASSERT_EQ(digits.size(), 10000);
    for (QChar c : digits) {
      ASSERT_TRUE(c.isDigit());
      ++seen[c.digitValue()];
    }
  }
  double chiSquare = 0;
  for (int d = 0; d < 10; ++d) {
    const double expected = kDraws * weight[d] / 35;
    chiSquare += (seen[d] - expected) * (seen[d] - expected) / expected;
  }
  // Upper 1e-6 point of chi-square with 9 degrees of freedom: a sound
  // generator fails this less than once in a million runs.
  EXPECT_LT(chiSquare, 44.81);
}

TEST_F(RandomDigitsTest, SixteenCallsWithinOneClockValueDiffer) {
  // The grid draws its sixteen cells faster than the clock moves; a re-seed
  // that reset the generator would fill it with one digit.
  rng::setClock([] { return 43200.25f; });
  QSet<QString> digits;
  for (int i = 0; i < 16; ++i) {
    const QString d = RandomDigits(1);
    ASSERT_EQ(d.size(), 1);
    digits.insert(d);
  }
  EXPECT_GT(digits.size(), 1);
}

TEST_F(RandomDigitsTest, CountBelowOneReturnsNothingAndDrawsNothing) {
  rng::setClock([] { return 100.5f; });
  const rng::State before = rng::state();
  EXPECT_EQ(RandomDigits(0), QString());
  EXPECT_EQ(RandomDigits(-1), QString());
  EXPECT_EQ(RandomDigits(std::numeric_limits<qint16>::min()), QString());
  EXPECT_EQ(rng::state(), before);
  // And a count of 1 does move it on.
  EXPECT_EQ(RandomDigits(1).size(), 1);
  EXPECT_NE(rng::state(), before);
}

TEST(Generator, ReseedKeepsThePast) {
  auto draws = [] {
    QList<double> out;
    for (int i = 0; i < 8; ++i) {
      const double r = rng::next();
      EXPECT_GE(r, 0.0);
      EXPECT_LT(r, 1.0);
      out.append(r);
    }
    return out;
  };
  rng::randomize(12.5);
  const QList<double> first = draws();
  rng::randomize(12.5);
  EXPECT_NE(draws(), first);

  // Back to back with the same value the two re-seeds do not cancel out.
  const rng::State before = rng::state();
  rng::randomize(7);
  rng::randomize(7);
  EXPECT_NE(rng::state(), before);

  // The same state gives the same draws: the seam replays faithfully.
  rng::setState(before);
  const QList<double> replay = draws();
  rng::setState(before);
  EXPECT_EQ(draws(), replay);
}

TEST_F(RandomDigitsTest, ClockIsSecondsSinceMidnight) {
  const float now = rng::timer();
  EXPECT_GE(now, 0.0f);
  EXPECT_LE(now, 86400.0f);
  rng::setClock([] { return 12.75f; });
  EXPECT_EQ(rng::timer(), 12.75f);
  rng::setClock({});
  EXPECT_NE(rng::timer(), 12.75f);
}

}  // namespace
