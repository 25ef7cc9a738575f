// The meanings report as the window draws it: the page, the word and
// meaning boxes, the view, the option boxes and the word-pair list.
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

// Column codes of the grid used throughout: A, B, C and D all differ.
const QString kA = "0011", kB = "0101", kC = "0110", kD = "1001";

class Meanings : public ::testing::Test {
protected:
  void SetUp() override {
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
    const QString columns[] = {kA, kB, kC, kD};
    for (int column = 0; column < 4; ++column)
      for (int row = 0; row < 4; ++row)
        box(QString("txtSet_%1").arg(column + 4 * row))->setText(columns[column].mid(row, 1));
    words("DA DC CB BA AD AB BC CD");
  }
  QLineEdit* box(const QString& name) { return window.findChild<QLineEdit*>(name); }
  QCheckBox* option(const char* name) { return window.findChild<QCheckBox*>(name); }
  QListWidget* list() { return window.findChild<QListWidget*>("lstWords"); }
  QTextBrowser* view() { return window.findChild<QTextBrowser*>("txtMeanings"); }
  bool viewShown() { return view()->isVisibleTo(window.centralWidget()); }
  QString word() { return box("txtWord")->text(); }
  QString meaning() { return window.findChild<QPlainTextEdit*>("txtMeaning")->toPlainText(); }
  QByteArray page() { return dir.read("meanings_tmp.htm"); }

  // The results box and a numbered list line for each word.
  void words(const QString& text) {
    box("txtResults")->setText(text);
    list()->clear();
    const QStringList all = text.split(' ');
    for (int n = 1; n <= all.size(); ++n)
      list()->addItem(QString(" %1: %2").arg(n).arg(all[n - 1]));
  }
  void options(bool invert, bool listWords, bool invertWords = false) {
    option("chkInvert")->setChecked(invert);
    option("chkListWords")->setChecked(listWords);
    option("chkInvertWords")->setChecked(invertWords);
  }
  static QByteArray entry(const QString& c1, const QString& c2) {
    const QString end = c1 == c2 ? "</></b><br>" : "</i></b><br>";
    return QString("<b><i>%1 - %2%3\r\nm%4-%5<br><br>\r\n").arg(wordOf(c1), wordOf(c2), end, c1, c2).toLatin1();
  }

  AppDir dir;
  frmCombination window;
};

TEST_F(Meanings, OnePairFromItsColumnCodes) {
  options(/*invert=*/false, /*listWords=*/false);
  window.ShowMeanings(2);  // DC
  EXPECT_EQ(page(), entry(kD, kC));
  EXPECT_EQ(word(), wordOf(kD) + " - " + wordOf(kC));
  EXPECT_EQ(meaning(), "m" + kD + "-" + kC);
  EXPECT_FALSE(viewShown());

  options(/*invert=*/true, /*listWords=*/false);
  window.ShowMeanings(2);  // the codes exchanged: CD
  EXPECT_EQ(page(), entry(kC, kD));
}

TEST_F(Meanings, HeadingFromTheListWords) {
  struct Case {
    bool listWords, invertWords;
    QString heading;
  };
  const Case cases[] = {
      {true, false, wordOf(kD) + "-" + wordOf(kA)},
      {true, true, wordOf(kA) + "-" + wordOf(kD)},
      {false, true, wordOf(kD) + " - " + wordOf(kA)},  // inverting the list words alone changes nothing
  };
  for (const Case& c : cases) {
    options(false, c.listWords, c.invertWords);
    window.ShowMeanings(1);  // DA
    EXPECT_EQ(word(), c.heading);
    EXPECT_TRUE(page().startsWith(("<b><i>" + c.heading + "</i></b><br>\r\n").toLatin1()));
  }
}

TEST_F(Meanings, AllWordsSkipThoseWithoutARow) {
  // No row for C then D: the second word gets no entry.
  QByteArray dictionary = dictionaryFile();
  dictionary.replace(QString("\"%1\",\"%2\"").arg(kC, kD).toLatin1(), "\"x\",\"x\"");
  dir.write("dictionary.wdb", dictionary);
  options(false, false);
  words("AB CD BA");
  window.ShowMeanings(0);
  EXPECT_EQ(page(), entry(kA, kB) + entry(kB, kA));
  EXPECT_EQ(word(), wordOf(kB) + " - " + wordOf(kA));
  EXPECT_EQ(meaning(), "m" + kB + "-" + kA);

  // When the last word has none, the meaning box is empty and the word box
  // keeps the heading before it.
  words("AB BA CD");
  window.ShowMeanings(0);
  EXPECT_EQ(page(), entry(kA, kB) + entry(kB, kA));
  EXPECT_EQ(word(), wordOf(kB) + " - " + wordOf(kA));
  EXPECT_EQ(meaning(), "");
}

TEST_F(Meanings, SpecialWords) {
  options(false, false);
  struct Case {
    const char* what;
    QString words;
    qint32 wordNo;
    QByteArray page;
  };
  const Case cases[] = {
      {"one letter: both codes from its column, the equal-codes ending", "B", 1, entry(kB, kB)},
      {"lower case reads as upper case", "ab", 1, entry(kA, kB)},
      {"a word number beyond the last word", "AB", 5, ""},
      {"a word whose letters take no cell", "QZ", 1, ""},
  };
  for (const Case& c : cases) {
    words(c.words);
    window.ShowMeanings(c.wordNo);
    EXPECT_EQ(page(), c.page) << c.what;
  }
}

TEST_F(Meanings, FirstOfTwoRowsWithTheSamePair) {
  options(false, false);
  dir.write("dictionary.wdb", entryRow(kD, kA, "first") + entryRow(kD, kA, "second"));
  window.ShowMeanings(1);
  EXPECT_EQ(meaning(), "first");
}

// The page is written whole, beside itself first; a link in its place is
// replaced, and whatever it pointed to stays as it was.
TEST_F(Meanings, ThePageReplacesALinkInItsPlace) {
  options(false, false);
  dir.write("someone-elses.htm", "not ours to write");
  ASSERT_TRUE(QFile::link(dir.file("someone-elses.htm"), dir.file("meanings_tmp.htm")));
  window.ShowMeanings(2);
  EXPECT_FALSE(QFileInfo(dir.file("meanings_tmp.htm")).isSymLink());
  EXPECT_EQ(page(), entry(kD, kC));
  EXPECT_EQ(dir.read("someone-elses.htm"), "not ours to write");

  // A page that cannot be written is passed over without a word.
  QFile::remove(dir.file("meanings_tmp.htm"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("meanings_tmp.htm"));
  window.ShowMeanings(1);
  EXPECT_EQ(meaning(), "m" + kD + "-" + kA);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(window.findChildren<QMessageBox*>().isEmpty());
}

TEST_F(Meanings, MissingOrGarbageDictionaryGivesNoEntry) {
  options(false, false);
  QDir(dir.path()).remove("dictionary.wdb");
  window.ShowMeanings(0);
  EXPECT_EQ(page(), "");
  EXPECT_EQ(meaning(), "");

  // Ten megabytes of noise in both files: the report reads them and ends.
  QByteArray noise(10 * 1024 * 1024, '\0');
  QRandomGenerator random(7);
  for (char& byte : noise)
    byte = char(random.bounded(256));
  dir.write("dictionary.wdb", noise);
  dir.write("words.wdb", noise);
  window.ShowMeanings(0);
  EXPECT_EQ(meaning(), "");
  EXPECT_EQ(window.GetWord("0000"), "");
}

TEST_F(Meanings, ShowAllShowsTheViewAndCoversEveryWord) {
  options(false, false);
  option("chkShowAll")->setChecked(true);
  window.chkShowAll_Click();
  EXPECT_TRUE(viewShown());
  const QByteArray all = page();
  EXPECT_EQ(all.count("<b><i>"), 8);
  EXPECT_TRUE(all.startsWith(entry(kD, kA)));
  EXPECT_TRUE(view()->toPlainText().contains(wordOf(kD) + " - " + wordOf(kA)));

  // An empty list: an empty page, still shown.
  list()->clear();
  window.chkInvert_Click();
  EXPECT_EQ(page(), "");
  EXPECT_TRUE(viewShown());
  EXPECT_EQ(view()->toPlainText(), "");

  option("chkShowAll")->setChecked(false);
  window.chkShowAll_Click();
  EXPECT_FALSE(viewShown());
}

TEST_F(Meanings, ListClickShowsThatPairUnlessTheViewIsShown) {
  options(false, false);
  list()->setCurrentRow(2);  // " 3: CB"
  window.lstWords_Click();
  EXPECT_EQ(window.nCurWord, 3);
  EXPECT_EQ(page(), entry(kC, kB));

  // With the view shown the click only remembers the number.
  option("chkShowAll")->setChecked(true);
  window.chkShowAll_Click();
  const QByteArray all = page();
  list()->setCurrentRow(4);
  window.lstWords_Click();
  EXPECT_EQ(window.nCurWord, 5);
  EXPECT_EQ(page(), all);

  // A grayed option box counts as unchecked.
  option("chkShowAll")->setChecked(false);
  window.chkShowAll_Click();
  option("chkInvert")->setCheckState(Qt::PartiallyChecked);
  window.chkInvert_Click();
  EXPECT_EQ(page(), entry(kA, kD));  // word 5: AD, not exchanged
}

TEST_F(Meanings, ClickOnTheListAndTheOptionBoxesRunTheHandlers) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  options(false, false);
  const QRect third = list()->visualItemRect(list()->item(2));
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, third.center());
  EXPECT_EQ(window.nCurWord, 3);
  EXPECT_EQ(page(), entry(kC, kB));
  QTest::keyClick(list(), Qt::Key_Down);  // the keyboard moves the selection too
  EXPECT_EQ(window.nCurWord, 4);
  QTest::mouseClick(option("chkInvert"), Qt::LeftButton);
  EXPECT_EQ(page(), entry(kA, kB));  // word 4 BA, exchanged
}

TEST_F(Meanings, ViewShowsTheNewPageWithItsCharacters) {
  options(false, false);
  option("chkShowAll")->setChecked(true);
  QByteArray dictionary = dictionaryFile();
  dictionary.replace(QString("m%1-%2").arg(kD, kA).toLatin1(), "Caf\xe9 \x96 d\xe9j\xe0 vu");
  dir.write("dictionary.wdb", dictionary);
  window.ShowMeanings(1);
  EXPECT_TRUE(view()->toPlainText().contains(QString::fromUtf8("Café – déjà vu")))
      << view()->toPlainText().toStdString();
  dir.write("dictionary.wdb", dictionaryFile());
  window.ShowMeanings(1);  // the same page again, with new content
  EXPECT_TRUE(view()->toPlainText().contains("m" + kD + "-" + kA));
}

}  // namespace
