// A run that the memory or the results box cannot hold ends as if stopped,
// completes, and says that it was cut short and why.
#include "app/enumerationoutput.h"
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/fixtures.h"
#include "support/modal.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "support/printers.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LOTWISE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define LOTWISE_ASAN 1
#endif

namespace {

using namespace lotwise::test;

TEST(CutShort, RunBeyondTheAddressSpaceEndsWithTheMessage) {
#ifdef LOTWISE_ASAN
  GTEST_SKIP() << "AddressSanitizer maps terabytes of shadow memory: no process of it starts under RLIMIT_AS";
#endif
  QProcess child;
  child.start(LOTWISE_CUTSHORT_CHILD, {"256"});
  ASSERT_TRUE(child.waitForFinished(90000));
  const QStringList out = QString::fromLocal8Bit(child.readAllStandardOutput()).split('\n');
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << child.readAllStandardError().toStdString();
  EXPECT_EQ(child.exitCode(), 0);
  ASSERT_GE(out.size(), 3) << out.join('\n').toStdString();
  // The count is written in the user's locale.
  const QRegularExpression message(
      "^The run was cut short after [1-9][^:]* combinations: there was no more memory to hold them\\.$");
  EXPECT_TRUE(message.match(out[0]).hasMatch()) << out[0].toStdString();
  // The rest of the run completed as after a stop.
  EXPECT_EQ(out[1], "DA DC CB BA AD AB BC CD");
  EXPECT_EQ(out[2], "400 combinations");
}

TEST(CutShort, TextGrowsOnlyAsFarAsTheSystemCanSpare) {
  QLineEdit results;
  results.setMaxLength(INT_MAX);
  QLabel outcomes;
  qint64 listed = 0;
  {
    // A system that reports nothing to spare: a small text still grows.
    EnumerationOutput output(&results, &outcomes, [] { return qint64(0); });
    while (output.found(1, nullptr, u"ABCD"))
      ++listed;
    EXPECT_EQ(output.full(), EnumerationOutput::Full::Memory);
    EXPECT_EQ(output.listed(), listed);
  }
  EXPECT_GT(listed, 100000);
  EXPECT_EQ(results.text().size(), listed * 5 - 1);
}

class FullBox : public ::testing::Test {
protected:
  void SetUp() override {
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
    box("txtChar")->setText("ABCDEFGHIJ");
    box("txtlength")->setText("3");
    // "AAA" and then " AAB" and so on: 25 combinations fill 99 characters.
    box("txtResults")->setMaxLength(100);
  }
  QLineEdit* box(const char* name) { return window.findChild<QLineEdit*>(name); }

  AppDir dir;
  frmCombination window;
};

TEST_F(FullBox, EnumerationEndsAtTheBoxLimit) {
  window.Engine("ABCDEFGHIJ", 3);
  const QStringList listed = box("txtResults")->text().split(' ');
  EXPECT_EQ(listed.size(), 25);
  EXPECT_EQ(listed.last(), "ACE");
  EXPECT_EQ(window.findChild<QLabel*>("lblOutcomes")->text(), "25 of 1000 combinations");
  EXPECT_TRUE(window.bStop);
}

TEST_F(FullBox, RunCompletesAndSaysItWasCutShort) {
  SeenBox seen;
  answerMessageBox(&seen);
  window.cmdcalc_Click();
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.title, "Lotwise");
  EXPECT_EQ(seen.text,
            "The run was cut short after 25 combinations: the results box cannot hold more than 100 characters.");
  EXPECT_EQ(box("txtResults")->text(), "DA DC CB BA AD AB BC CD");
  EXPECT_EQ(window.findChild<QListWidget*>("lstWords")->count(), 8);
  EXPECT_EQ(window.findChild<QPushButton*>("cmdcalc")->text(), "Tell Me");
}

}  // namespace
