// The main window opens the one editor modally, and every opening reads the
// files afresh.
#include "app/frmcombination.h"
#include "boxes.h"
#include "editor/frmedit.h"
#include "support/appdir.h"
#include "support/printers.h"
#include "support/modal.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

using lotwise::test::AppDir;
using lotwise::test::whenModal;

QByteArray dictionary(const QString& firstMeaning) {
  QByteArray bytes = "\"0000\",\"0000\",\"a - a\",\"" + firstMeaning.toLatin1() + "\"\r\n";
  for (int r = 2; r <= 256; ++r)
    bytes += "\"\",\"\",\"\",\"\"\r\n";
  return bytes;
}

TEST(OpeningTheEditor, ShowsOneEditorModallyAndReloadsItEveryTime) {
  AppDir dir;
  dir.write("words.wdb", "\"0000\",\"a\"\r\n");
  dir.write("dictionary.wdb", dictionary("Before"));
  frmCombination window;
  window.show();

  struct Seen {
    frmEdit* editor = nullptr;
    bool modal = false;
    QString meaning;
  };
  // Leaves an unsaved edit behind and closes without saving it.
  auto lookAndClose = [](Seen* seen) {
    whenModal([seen](QWidget* w) {
      seen->editor = qobject_cast<frmEdit*>(w);
      if (!seen->editor)
        return;
      seen->modal = seen->editor->isModal();
      seen->meaning = seen->editor->findChild<QPlainTextEdit*>("Text4")->toPlainText();
      seen->editor->findChild<QLineEdit*>("txtWord_0")->setText("edited");
      seen->editor->cmdClose_Click();
    });
  };

  Seen first, second;
  {
    lotwise::test::MessageBoxes boxes;  // answers No to "save changes to Words?"
    lookAndClose(&first);
    window.cmdEditData_Click();  // returns once the editor has closed
    ASSERT_NE(first.editor, nullptr);
    EXPECT_TRUE(first.modal);
    EXPECT_EQ(first.meaning, "Before");
    EXPECT_FALSE(first.editor->isVisible());
    EXPECT_EQ(boxes.texts(), QStringList{"Do you want to save changes to Words?"});
  }

  dir.write("dictionary.wdb", dictionary("After"));
  lotwise::test::MessageBoxes boxes;
  lookAndClose(&second);
  window.mnuEdit_Click();
  EXPECT_EQ(second.editor, first.editor);  // the same window, opened again
  EXPECT_EQ(second.meaning, "After");
  EXPECT_EQ(window.findChildren<frmEdit*>().size(), 1);
  EXPECT_EQ(dir.read("words.wdb"), QByteArray("\"0000\",\"a\"\r\n"));
}

}  // namespace
