// The warning about data files that fall short: once when the window shows,
// once for a run whose lookups find a file gone, never one per lookup, over
// the window's middle with the keys, and never in the way of a modal box.
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/fixtures.h"
#include "support/modal.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

// Handles what is pending: whatever the window queued is done by then.
void settle() {
  bool done = false;
  QTimer::singleShot(0, [&] { done = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done; }));
}

// Shows the window and lets its start-up check run.
void show(frmCombination& window) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  settle();
}

QList<QMessageBox*> boxesShown(const frmCombination& window) {
  QList<QMessageBox*> shown;
  for (QMessageBox* box : window.findChildren<QMessageBox*>())
    if (box->isVisible())
      shown << box;
  return shown;
}

class DataFileWarning : public ::testing::Test {
protected:
  void show() { ::show(window); }
  QList<QMessageBox*> warnings() const { return boxesShown(window); }
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

TEST_F(DataFileWarning, OneBoxNamesTheFileOverTheWindowAndTakesTheKeys) {
  dir.write("words.wdb", wordsFile());
  show();
  ASSERT_EQ(warnings().size(), 1);
  QMessageBox* box = warnings().first();
  EXPECT_EQ(box->windowTitle(), "Lotwise");
  EXPECT_EQ(box->icon(), QMessageBox::Warning);
  EXPECT_TRUE(box->text().contains("The dictionary " + dir.file("dictionary.wdb") + " is missing."))
      << box->text().toStdString();
  // No backup is there to offer; reinstalling puts back the program's own.
  EXPECT_TRUE(box->text().contains("To mend it, reinstall Lotwise.")) << box->text().toStdString();
  EXPECT_FALSE(box->text().contains(".bak"));
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  // Over the middle of the window, with the keys.
  const QPoint offset = box->frameGeometry().center() - window.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), window.width() / 10) << offset.x() << ", " << offset.y();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == box; }));

  // The window still runs under it, and a run whose every meaning lookup
  // fails brings up no second box.
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

  // Return closes it, and the keys go back to the question.
  box->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == box; }));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return warnings().isEmpty(); }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
  EXPECT_TRUE(window.findChild<QLineEdit*>("txtQuestion")->hasFocus());
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

// Installed, with no home to keep a data folder in: the window says why it
// writes nothing, gives its readings from the shipped files, and leaves
// their folder as it was.
TEST(RunWithoutAHome, SaysWhyAndWritesNothing) {
  QTemporaryDir root;
  const QString program = root.filePath("lib/lotwise");
  ASSERT_TRUE(QDir().mkpath(program));
  put(program + "/words.wdb", wordsFile());
  put(program + "/dictionary.wdb", dictionaryFile());
  put(program + "/" + platform::kInstalledMarker, "");
  const QByteArray home = qgetenv("HOME"), xdg = qgetenv("XDG_DATA_HOME");
  const auto restore = qScopeGuard([&] {
    home.isNull() ? qunsetenv("HOME") : qputenv("HOME", home);
    xdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdg);
    platform::chooseFileHome(platform::programPath(), {});
  });
  qunsetenv("HOME");
  qunsetenv("XDG_DATA_HOME");
  platform::chooseFileHome(program, {"words.wdb", "dictionary.wdb"});
  const QStringList programFiles = entries(program);

  frmCombination window;
  show(window);
  ASSERT_EQ(boxesShown(window).size(), 1);
  const QString text = boxesShown(window).first()->text();
  EXPECT_TRUE(text.startsWith("Lotwise found no home folder (HOME is not set)")) << text.toStdString();
  EXPECT_TRUE(text.contains("from " + program + ", and writes nothing")) << text.toStdString();

  window.cmdcalc_Click();
  settle();
  EXPECT_TRUE(window.findChild<QLabel*>("lblWord_0")->text().startsWith("w"));
  EXPECT_EQ(boxesShown(window).size(), 1);
  EXPECT_EQ(entries(program), programFiles);
}

}  // namespace
