// Two editors on the same files: a save never overwrites a change it has not
// seen without asking, and each answer does what it says. Also what the
// editor keeps when the program is ended with edits unsaved.
#include "boxes.h"
#include "data/records.h"
#include "editor/frmedit.h"
#include "support/datafolder.h"
#include "support/fixtures.h"
#include "support/printers.h"
#include "support/readback.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using lotwise::test::DataFolder;
using lotwise::test::MessageBoxes;
using lotwise::test::recordsOf;

class TwoEditors : public ::testing::Test {
protected:
  static void setMeaning(frmEdit& editor, int row, const QString& meaning) {
    editor.CurrentRow = row;
    editor.ShowRow();
    editor.findChild<QPlainTextEdit*>("Text4")->setPlainText(meaning);
  }
  QString meaningInFile(int row) const { return recordsOf(dir.read("dictionary.wdb"), 4).value(row - 1).value(3); }

  DataFolder dir;
};

// A changes row 5 and saves; B, opened before that save, changes row 6 and
// saves: B is asked, naming the file, and its answer decides.
TEST_F(TwoEditors, TheSecondSaveAsksAndEachAnswerDoesWhatItSays) {
  struct Case {
    QMessageBox::StandardButton answer;
    QString row5, row6;    // in the file afterwards
    bool stillChanged;     // B's dictionary still unsaved
    QString bRow5, bRow6;  // in B's rows afterwards
  };
  const QString original5 = "m0000-0100", original6 = "m0000-0101";
  const Case cases[] = {
      {QMessageBox::Save, original5, "B's row 6", false, original5, "B's row 6"},     // Overwrite
      {QMessageBox::Discard, "A's row 5", original6, false, "A's row 5", original6},  // Reload
      {QMessageBox::Cancel, "A's row 5", original6, true, original5, "B's row 6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    dir.write("dictionary.wdb", lotwise::test::dictionaryFile());
    frmEdit a, b;
    setMeaning(a, 5, "A's row 5");
    {
      MessageBoxes none;
      a.SaveDict();
      EXPECT_EQ(none.seen.size(), 0);
    }
    setMeaning(b, 6, "B's row 6");
    const QByteArray afterA = dir.read("dictionary.wdb");

    {
      MessageBoxes boxes({c.answer});
      b.SaveDict();
      ASSERT_EQ(boxes.seen.size(), 1);
      const auto& box = boxes.seen[0];
      EXPECT_TRUE(box.text.startsWith(QDir::toNativeSeparators(dir.file("dictionary.wdb")) +
                                      " has changed on disk since the editor read it"))
          << box.text.toStdString();
      EXPECT_EQ(box.title, "Lotwise");
      QList<QMessageBox::StandardButton> buttons = box.buttons;
      std::sort(buttons.begin(), buttons.end());
      EXPECT_EQ(buttons,
                (QList<QMessageBox::StandardButton>{QMessageBox::Save, QMessageBox::Cancel, QMessageBox::Discard}));
    }

    EXPECT_EQ(meaningInFile(5), c.row5);
    EXPECT_EQ(meaningInFile(6), c.row6);
    EXPECT_EQ(b.bDictChanged, c.stillChanged);
    EXPECT_EQ(b.DictMeaning[4], c.bRow5);
    EXPECT_EQ(b.DictMeaning[5], c.bRow6);
    if (c.answer == QMessageBox::Save) {
      EXPECT_EQ(dir.read("dictionary.wdb.bak"), afterA);  // A's save is kept there
    }

    // B now knows the file as it is: its next save asks only if B was told
    // nothing new (Cancel).
    setMeaning(b, 7, "B's row 7");
    MessageBoxes again({QMessageBox::Cancel});
    b.SaveDict();
    EXPECT_EQ(again.seen.size(), c.answer == QMessageBox::Cancel ? 1 : 0);
  }
}

TEST_F(TwoEditors, TheWordListIsGuardedTheSameWay) {
  frmEdit a, b;
  a.findChild<QLineEdit*>("txtWord_0")->setText("A's word");
  a.SaveChanges();
  b.findChild<QLineEdit*>("txtWord_1")->setText("B's word");
  MessageBoxes boxes({QMessageBox::Discard});
  b.SaveChanges();
  ASSERT_EQ(boxes.seen.size(), 1);
  EXPECT_TRUE(boxes.seen[0].text.contains("words.wdb has changed on disk")) << boxes.seen[0].text.toStdString();
  EXPECT_EQ(b.findChild<QLineEdit*>("txtWord_0")->text(), "A's word");
  EXPECT_EQ(b.findChild<QLineEdit*>("txtWord_1")->text(), "w0001");
  EXPECT_FALSE(b.bWordsChanged);
  // The Words of the row on show follow the list read again.
  EXPECT_EQ(b.findChild<QLineEdit*>("Text3")->text(), "A's word - A's word");
}

TEST_F(TwoEditors, EditsLeftUnsavedWhenTheProgramIsEndedAreKeptBesideTheFiles) {
  frmEdit editor;
  editor.findChild<QLineEdit*>("txtWord_2")->setText("kept word");
  setMeaning(editor, 9, "kept meaning");
  MessageBoxes boxes;
  editor.keepUnsavedAside();
  EXPECT_EQ(boxes.seen.size(), 0);
  EXPECT_FALSE(editor.bWordsChanged);
  EXPECT_FALSE(editor.bDictChanged);
  EXPECT_EQ(dir.read("words.wdb"), lotwise::test::wordsFile());
  EXPECT_EQ(dir.read("dictionary.wdb"), lotwise::test::dictionaryFile());
  EXPECT_EQ(recordsOf(dir.read("words.wdb.unsaved"), 2).value(2), (QStringList{"0010", "kept word"}));
  EXPECT_EQ(recordsOf(dir.read("dictionary.wdb.unsaved"), 4).value(8).value(3), "kept meaning");

  // A second time, the first kept edits stay as they are.
  setMeaning(editor, 9, "kept again");
  editor.keepUnsavedAside();
  EXPECT_EQ(recordsOf(dir.read("dictionary.wdb.unsaved"), 4).value(8).value(3), "kept meaning");
  EXPECT_EQ(recordsOf(dir.read("dictionary.wdb.unsaved2"), 4).value(8).value(3), "kept again");
  EXPECT_FALSE(dir.exists("words.wdb.unsaved2"));  // nothing new to keep
}

}  // namespace
