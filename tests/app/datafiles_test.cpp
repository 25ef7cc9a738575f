// The warning about data files that fall short: once when the window shows,
// once for a run whose lookups find a file gone, never one per lookup, and
// never in the way of the window or of a modal box.
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/fixtures.h"
#include "support/modal.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

class DataFileWarning : public ::testing::Test {
protected:
  // Shows the window and lets its start-up check run.
  void show() {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    settle();
  }
  // Handles what is pending: whatever the window queued is done by then.
  static void settle() {
    bool done = false;
    QTimer::singleShot(0, [&] { done = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }));
  }
  QList<QMessageBox*> warnings() {
    QList<QMessageBox*> shown;
    for (QMessageBox* box : window.findChildren<QMessageBox*>())
      if (box->isVisible())
        shown << box;
    return shown;
  }
  QStringList listLines() {
    QStringList lines;
    auto* list = window.findChild<QListWidget*>("lstWords");
    for (int i = 0; i < list->count(); ++i)
      lines << list->item(i)->text();
    return lines;
  }

  AppDir dir;
  frmCombination window;
};

TEST_F(DataFileWarning, WholeFilesShowNone) {
  dir.write("words.wdb", wordsFile());
  dir.write("dictionary.wdb", dictionaryFile());
  show();
  window.cmdcalc_Click();
  settle();
  EXPECT_TRUE(warnings().isEmpty());
}

TEST_F(DataFileWarning, OneBoxNamesTheFileAndLeavesTheWindowFree) {
  dir.write("words.wdb", wordsFile());
  show();
  ASSERT_EQ(warnings().size(), 1);
  QMessageBox* box = warnings().first();
  EXPECT_EQ(box->windowTitle(), "Lotwise");
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  EXPECT_TRUE(box->text().contains("The dictionary " + dir.file("dictionary.wdb") + " is missing."))
      << box->text().toStdString();
  EXPECT_TRUE(box->text().contains("dictionary.wdb.bak"));
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  // The keys still go to the question box, not to the warning.
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
  EXPECT_TRUE(window.findChild<QLineEdit*>("txtQuestion")->hasFocus());

  // The window still runs, and a run whose every meaning lookup fails
  // brings up no second box.
  window.cmdcalc_Click();
  settle();
  EXPECT_EQ(listLines().size(), 8);
  EXPECT_EQ(warnings(), QList<QMessageBox*>{box});

  // A modal box is the active modal widget, not the warning.
  SeenBox seen;
  answerMessageBox(&seen);
  window.cmdAbout_Click();
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.icon, QMessageBox::Information);
  EXPECT_TRUE(seen.text.startsWith("Lotwise - "));
}

TEST_F(DataFileWarning, AFileGoneDuringUseIsNamedOnceForEachRun) {
  dir.write("words.wdb", wordsFile());
  dir.write("dictionary.wdb", dictionaryFile());
  show();
  ASSERT_TRUE(warnings().isEmpty());

  // Eighteen word lookups find the file gone: one warning, and the run's
  // outputs as a missing file has always made them.
  QFile::remove(dir.file("words.wdb"));
  window.cmdcalc_Click();
  settle();
  ASSERT_EQ(warnings().size(), 1);
  EXPECT_TRUE(warnings().first()->text().contains("The word list " + dir.file("words.wdb") + " is missing."));
  EXPECT_EQ(window.findChild<QLabel*>("lblWord_0")->text(), "");
  EXPECT_EQ(listLines().value(0), " 1:  - ");

  // Closed, it comes back with the next run that meets the same trouble.
  warnings().first()->close();
  settle();
  EXPECT_TRUE(warnings().isEmpty());
  window.cmdcalc_Click();
  settle();
  EXPECT_EQ(warnings().size(), 1);
}

}  // namespace
