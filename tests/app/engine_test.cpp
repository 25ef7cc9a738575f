// The enumeration as the window runs it: label, results box, stop request,
// nested handlers, and the test that enables "Tell Me".
#include "app/frmcombination.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/midrun.h"
#include "support/printers.h"

namespace {

class Enumeration : public ::testing::Test {
protected:
  QLineEdit* box(const char* name) { return window.findChild<QLineEdit*>(name); }
  QString results() { return box("txtResults")->text(); }
  QString label() { return window.findChild<QLabel*>("lblOutcomes")->text(); }
  void texts(const QString& symbols, const QString& length) {
    box("txtChar")->setText(symbols);
    box("txtlength")->setText(length);
  }

  frmCombination window;
};

TEST_F(Enumeration, ListsCombinationsAndCountsThemAgainstTheTotal) {
  struct Case {
    const char* what;
    QString symbols, lengthText;
    quint8 length;
    QString results, label;
  };
  const Case cases[] = {
      {"two by two", "AB", "2", 2, "AA AB BA BB", "4 of 4 combinations"},
      {"duplicates kept", "ABA", "1", 1, "A B A", "3 of 3 combinations"},
      {"a blank symbol counts, the total trims it", " AB", "1", 1, "  A B", "3 of 2 combinations"},
      {"the total reads the length text, the run its whole part", "AB", "2.5", 2, "AA AB BA BB",
       "4 of 5.65685424949238 combinations"},
  };
  for (const Case& c : cases) {
    texts(c.symbols, c.lengthText);
    box("txtResults")->clear();
    window.bStop = false;
    window.Engine(c.symbols, c.length);
    EXPECT_EQ(results(), c.results) << c.what;
    EXPECT_EQ(label(), c.label) << c.what;
    EXPECT_TRUE(window.bStop) << c.what;
  }
}

TEST_F(Enumeration, DefaultSymbolsListAHundredAndTwentyOne) {
  window.Engine("ABraCaDabra", 2);
  const QStringList found = results().split(' ');
  EXPECT_EQ(found.size(), 121);
  EXPECT_EQ(found.mid(0, 7).join(' '), "AA AB Ar Aa AC Aa AD");
  EXPECT_EQ(label(), "121 of 121 combinations");
}

TEST_F(Enumeration, AppendsToWhatTheResultsBoxHolds) {
  box("txtResults")->setText("earlier text");
  texts("AB", "1");
  window.Engine("AB", 1);
  EXPECT_EQ(results(), "earlier text A B");
}

TEST_F(Enumeration, TotalBeyondADoubleKeepsTheLabel) {
  texts("ABCDEFGHIJK", "400");
  window.Engine("AB", 1);
  EXPECT_EQ(results(), "A B");
  EXPECT_EQ(label(), "0 combinations");
}

TEST_F(Enumeration, StopRequestEndsAfterTheStepUnderWay) {
  texts("ABCDEFGHIJ", "7");
  int seenByNestedHandler = 0;
  lotwise::test::WhenReady midRun([&] { return !results().isEmpty(); },
                                  [&] {
                                    // A handler running nested sees the texts as the enumeration left them.
                                    const QStringList listed = results().split(' ', Qt::SkipEmptyParts);
                                    seenByNestedHandler = static_cast<int>(listed.size());
                                    EXPECT_EQ(label(), QString("%1 of 10000000 combinations").arg(listed.size()));
                                    window.bStop = true;
                                  });
  window.Engine("ABCDEFGHIJ", 7);
  const QStringList listed = results().split(' ');
  ASSERT_TRUE(midRun.done());
  EXPECT_GT(seenByNestedHandler, 0);
  EXPECT_LT(listed.size(), 10000000);
  // The step under way when the request came may still add one.
  EXPECT_LE(listed.size(), seenByNestedHandler + 1);
  EXPECT_EQ(label(), QString("%1 of 10000000 combinations").arg(listed.size()));
  EXPECT_EQ(listed.first(), "AAAAAAA");
}

TEST_F(Enumeration, LengthZeroStepsWithoutEffectUntilStopped) {
  // Stopped at the first step that hands the window its events.
  QTimer::singleShot(0, [&] { window.bStop = true; });
  window.Engine("AB", 0);
  EXPECT_EQ(results(), "");
  EXPECT_EQ(label(), "0 combinations");
}

TEST_F(Enumeration, CheckEnablesTellMeOnlyForSymbolsAndAPositiveNumber) {
  struct Case {
    QString symbols, length;
    bool enabled;
  };
  const Case cases[] = {
      {"", "3", false},    {"AB", "0", false},   {"AB", "-1", false}, {"AB", "abc", false},
      {"AB", "", false},   {"AB", "3", true},    {"AB", " 3 ", true}, {"AB", "0.5", true},
      {"AB", "1e1", true}, {"AB", "&H10", true}, {"AB", "3x", false},
  };
  auto* tellMe = window.findChild<QPushButton*>("cmdcalc");
  for (const Case& c : cases) {
    texts("x", "1");             // enabled
    texts(c.symbols, c.length);  // the change handlers call check
    EXPECT_EQ(tellMe->isEnabled(), c.enabled) << c.symbols.toStdString() << " / " << c.length.toStdString();
  }
}

}  // namespace
