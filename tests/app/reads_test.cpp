// What a run reads: each data file at most once, whatever the run looks up,
// afresh at the next run, and never a file too large to be a data file.
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/fixtures.h"
#include "support/opencounter.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

class Reads : public ::testing::Test {
protected:
  void SetUp() override {
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
    opens.emplace(QStringList{dir.file("words.wdb"), dir.file("dictionary.wdb")});
    ASSERT_TRUE(opens->watching());
  }
  // Shows the window and lets its start-up check run.
  void show() {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bool done = false;
    QTimer::singleShot(0, [&] { done = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }));
  }
  QString king(int column) { return window.findChild<QLabel*>(QString("lblWord_%1").arg(column))->text(); }
  QString warning() {
    for (QMessageBox* box : window.findChildren<QMessageBox*>())
      if (box->isVisible())
        return box->text();
    return QString();
  }

  AppDir dir;
  frmCombination window;
  std::optional<OpenCounter> opens;
};

TEST_F(Reads, EachFileOnceARunOrAReport) {
  show();
  EXPECT_EQ(opens->take(), QList<int>({1, 1})) << "the start-up check";
  for (const bool all : {false, true}) {
    window.findChild<QCheckBox*>("chkShowAll")->setChecked(all);
    window.cmdcalc_Click();
    EXPECT_EQ(opens->take(), QList<int>({1, 1})) << "a run, all meanings: " << all;
    // The view shows every meaning: a click on the list only notes the pair.
    window.lstWords_Click();
    EXPECT_EQ(opens->take(), all ? QList<int>({0, 0}) : QList<int>({1, 1})) << "a click, all meanings: " << all;
    window.chkInvert_Click();
    EXPECT_EQ(opens->take(), QList<int>({1, 1})) << "an option, all meanings: " << all;
  }
}

TEST_F(Reads, AFileChangedOnDiskCountsAtTheNextRun) {
  show();
  window.cmdcalc_Click();
  const QString before = king(0);
  ASSERT_TRUE(before.startsWith("w")) << before.toStdString();
  QByteArray words;
  for (int k = 0; k < 16; ++k)
    words += QString("\"%1\",\"new%1\"\r\n").arg(codeOf(k)).toLatin1();
  dir.write("words.wdb", words);
  window.cmdcalc_Click();
  EXPECT_TRUE(king(0).startsWith("new")) << king(0).toStdString();
}

// 200 MB, read whole at every lookup, froze the window for minutes: it is
// named with its size and never opened.
TEST_F(Reads, AWordListTooLargeIsNeverRead) {
  QFile huge(dir.file("words.wdb"));
  ASSERT_TRUE(huge.resize(qint64(200) << 20));  // sparse: no disk is spent
  show();
  const QString named = "The word list " + dir.file("words.wdb") +
                        " is too large to read: 209,715,200 bytes (200.0 MB), where a sound one holds at most 1 MB.";
  EXPECT_TRUE(warning().contains(named)) << warning().toStdString();
  window.cmdcalc_Click();
  EXPECT_EQ(window.findChild<QListWidget*>("lstWords")->count(), 8);  // the run completed
  EXPECT_EQ(king(0), "");
  EXPECT_TRUE(warning().contains(named));
  EXPECT_EQ(opens->take(), QList<int>({0, 2})) << "the dictionary is read by the check and the run";
}

}  // namespace
