// The program started after a killed save, and ended from outside: kept
// edits are named at start, and SIGTERM with the editor's closing question
// on screen ends the program at once, the edits kept beside their file.
#include "app/filesafety.h"
#include "app/frmcombination.h"
#include "support/datafolder.h"
#include "support/modal.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

using lotwise::test::DataFolder;
using lotwise::test::whenModal;

// The notice box whose text holds part, once it is up.
QMessageBox* noticeWith(const QString& part) {
  QMessageBox* found = nullptr;
  // A box that never comes shows as a null the caller's test reports.
  (void)QTest::qWaitFor(
      [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
          if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->text().contains(part))
            found = box;
        return found != nullptr;
      },
      10000);
  return found;
}

TEST(FileSafety, KeptEditsAreNamedAndSigtermDoesNotWaitForAnAnswer) {
  DataFolder dir;
  dir.write("dictionary.wdb.AbCdEf", "edits from a save that was killed");
  frmCombination window;
  window.show();
  app::guardFiles(window);
  EXPECT_FALSE(dir.exists("dictionary.wdb.AbCdEf"));
  EXPECT_EQ(dir.read("dictionary.wdb.unsaved"), "edits from a save that was killed");
  QMessageBox* notice = noticeWith(QDir::toNativeSeparators(dir.file("dictionary.wdb.unsaved")));
  ASSERT_NE(notice, nullptr);
  notice->close();

  // The editor open, a word changed, and its closing question on screen
  // when SIGTERM comes: nobody answers it.
  bool questionUp = false;
  whenModal([&](QWidget* editor) {
    editor->findChild<QLineEdit*>("txtWord_0")->setText("edited");
    whenModal([&](QWidget* question) {
      questionUp = qobject_cast<QMessageBox*>(question) != nullptr;
      raise(SIGTERM);
    });
    QTimer::singleShot(0, editor, [editor] { editor->close(); });
  });
  window.cmdEditData_Click();  // returns once the program is ending
  EXPECT_TRUE(questionUp);
  EXPECT_EQ(dir.read("words.wdb"), lotwise::test::wordsFile());
  EXPECT_TRUE(dir.read("words.wdb.unsaved").contains("\"0000\",\"edited\"\r\n"));

  // The application's loop ran to its end; let later tests run loops again.
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

}  // namespace
