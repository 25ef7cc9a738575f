// The whole way, run, meanings and the editor, in a program folder whose name
// holds wildcards, a bracket, a blank and a letter outside ASCII. All of them
// are legal in Linux folder names; none may hide the data files.
#include "app/frmcombination.h"
#include "boxes.h"
#include "editor/frmedit.h"
#include "platform/apppath.h"
#include "support/appdir.h"
#include "support/fixtures.h"
#include "support/printers.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

using namespace lotwise::test;

class AwkwardFolder : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(QFileInfo(dir.path()).isDir());
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
  }
  QString file(const QString& name) const { return dir.file(name); }
  QByteArray read(const QString& name) const { return dir.read(name); }

  AppDir dir{QString::fromUtf8("what? *[1] Bj\u00f6rk")};
};

TEST_F(AwkwardFolder, RunMeaningsAndEditorFindAndSaveTheFiles) {
  frmCombination window;
  window.show();
  window.cmdcalc_Click();

  auto cell = [&](int i) { return window.findChild<QLineEdit*>(QString("txtSet_%1").arg(i))->text(); };
  auto columnCode = [&](int column) { return cell(column) + cell(column + 4) + cell(column + 8) + cell(column + 12); };
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(window.findChild<QLabel*>(QString("lblWord_%1").arg(k))->text(), wordOf(columnCode(k))) << k;
  const QString firstLine = window.findChild<QListWidget*>("lstWords")->item(0)->text();
  EXPECT_EQ(firstLine, QString(" 1: %1 - %2").arg(wordOf(columnCode(3)), wordOf(columnCode(0))));

  // The first pair, DA, with its codes exchanged by "Invert Pattern".
  ASSERT_TRUE(window.findChild<QCheckBox*>("chkInvert")->isChecked());
  const QString meaning = QString("m%1-%2").arg(columnCode(0), columnCode(3));
  EXPECT_EQ(window.findChild<QPlainTextEdit*>("txtMeaning")->toPlainText(), meaning);
  EXPECT_TRUE(read("meanings_tmp.htm").contains(meaning.toLatin1()));
  auto* view = window.findChild<QTextBrowser*>("txtMeanings");
  EXPECT_EQ(view->source(), QUrl::fromLocalFile(file("meanings_tmp.htm")));
  EXPECT_TRUE(view->toPlainText().contains(meaning));

  frmEdit editor;
  editor.show();
  auto box = [&](const char* name) { return editor.findChild<QLineEdit*>(name); };
  EXPECT_EQ(box("txtCode_5")->text(), "0101");
  EXPECT_EQ(box("txtWord_5")->text(), "w0101");
  EXPECT_EQ(box("Text3")->text(), "w0000 - w0000");
  EXPECT_EQ(editor.findChild<QPlainTextEdit*>("Text4")->toPlainText(), "m0000-0000");

  QTest::keyClicks(box("txtWord_3"), "x");
  QTest::keyClicks(box("Text2"), "x");
  MessageBoxes boxes;
  editor.findChild<QPushButton*>("cmdSaveWords")->click();
  editor.findChild<QPushButton*>("cmdSaveDictionary")->click();
  EXPECT_TRUE(boxes.seen.isEmpty()) << boxes.texts().join(" | ").toStdString();
  EXPECT_FALSE(editor.bWordsChanged);
  EXPECT_FALSE(editor.bDictChanged);
  EXPECT_EQ(read("words.wdb.bak"), wordsFile());
  EXPECT_EQ(read("dictionary.wdb.bak"), dictionaryFile());
  EXPECT_EQ(read("words.wdb"), wordsFile().replace("\"w0011\"", "\"w0011x\""));
  EXPECT_TRUE(read("dictionary.wdb").startsWith("\"0000\",\"0000x\",\"w0000 - w0000\",\"m0000-0000\"\r\n"));
}

}  // namespace
