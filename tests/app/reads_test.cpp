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
#include <functional>
#include <optional>
#include <sys/stat.h>

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

// What a hostile sender could make of a data file: a meaning of a million
// characters, a link to /proc/self/pagemap (it reports no size and reads on
// for gigabytes) or to a pipe (it never ends). Each is named in the warning
// at once, and a run completes without a word of it.
TEST(HostileFiles, AreRefusedWithTheWarningAndTheRunCompletes) {
  struct Case {
    const char* what;
    QString file;
    std::function<void(AppDir&)> make;
    QString problem;
  };
  const QByteArray row = entryRow("0000", "0101", "m0000-0101");
  const auto linkTo = [](const QString& name, const QString& target) {
    return [=](AppDir& dir) {
      QFile::remove(dir.file(name));
      ASSERT_TRUE(QFile::link(target, dir.file(name)));
    };
  };
  const auto fifo = [](const QString& name) {
    return [=](AppDir& dir) {
      QFile::remove(dir.file(name));
      ASSERT_EQ(mkfifo(QFile::encodeName(dir.file(name)).constData(), 0644), 0);
    };
  };
  const Case cases[] = {
      {"a meaning of a million characters", "dictionary.wdb",
       [&](AppDir& dir) {
         dir.write("dictionary.wdb",
                   QByteArray(dictionaryFile()).replace(row, entryRow("0000", "0101", QByteArray(1000000, 'm'))));
       },
       "has a record too large to be sound: record 6 holds a field of 1,000,000 characters"},
      {"a word list that reads on without end", "words.wdb", linkTo("words.wdb", "/proc/self/pagemap"),
       "cannot be read: it reads on past the size it reports"},
      {"a dictionary that reads on without end", "dictionary.wdb", linkTo("dictionary.wdb", "/proc/self/pagemap"),
       "cannot be read: it reads on past the size it reports"},
      {"a word list that is a pipe", "words.wdb", fifo("words.wdb"), "is not a regular file"},
      {"a dictionary that is a pipe", "dictionary.wdb", fifo("dictionary.wdb"), "is not a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppDir dir;
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
    c.make(dir);
    frmCombination window;
    window.show();
    const QString named =
        (c.file == "words.wdb" ? "The word list " : "The dictionary ") + dir.file(c.file) + " " + c.problem;
    const auto warned = [&] {
      for (QMessageBox* box : window.findChildren<QMessageBox*>())
        if (box->isVisible() && box->text().contains(named))
          return true;
      return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(warned, 10000));
    window.cmdcalc_Click();
    EXPECT_EQ(window.findChild<QListWidget*>("lstWords")->count(), 8);
    // Nothing from the file refused; the other serves as ever.
    EXPECT_EQ(window.findChild<QPlainTextEdit*>("txtMeaning")->toPlainText().isEmpty(), c.file == "dictionary.wdb");
    EXPECT_EQ(window.findChild<QLabel*>("lblWord_0")->text().isEmpty(), c.file == "words.wdb");
  }
}

}  // namespace
