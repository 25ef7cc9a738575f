// The Tell Me run as the user starts and stops it, its closing steps, and
// saving its results.
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/fifowatcher.h"
#include "support/fixtures.h"
#include "support/filesizelimit.h"
#include "support/midrun.h"
#include "support/modal.h"
#include "util/gwords.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

class TellMe : public ::testing::Test {
protected:
  void SetUp() override {
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
  }
  template <typename T = QLineEdit>
  T* get(const QString& name) {
    return window.findChild<T*>(name);
  }
  QString text(const QString& name) { return get(name)->text(); }
  QString label(const QString& name) { return get<QLabel>(name)->text(); }
  QString columnCode(int column) {
    QString code;
    for (int row = 0; row < 4; ++row)
      code += text(QString("txtSet_%1").arg(column + 4 * row));
    return code;
  }
  QStringList listLines() {
    QStringList lines;
    for (int i = 0; i < get<QListWidget>("lstWords")->count(); ++i)
      lines << get<QListWidget>("lstWords")->item(i)->text();
    return lines;
  }
  QString report() { return get<QPlainTextEdit>("txtResult2")->toPlainText(); }
  QString expectedReport() {
    QString lines = "DA DC CB BA AD AB BC CD\n";
    for (int row = 0; row < 4; ++row) {
      for (QChar c : QString("DA DC CB BA AD AB BC CD"))
        lines += c == ' ' ? QString(" ") : text(QString("txtSet_%1").arg(c.unicode() - 'A' + 4 * row));
      lines += "\n";
    }
    return lines;
  }
  // The run is under way and has listed at least one combination.
  std::function<bool()> listing() {
    return [this] { return get<QPushButton>("cmdcalc")->text() == "Stop" && !text("txtResults").isEmpty(); };
  }
  void longRun() {
    get("txtChar")->setText("ABCDEFGHIJ");
    get("txtlength")->setText("7");
  }

  AppDir dir;
  frmCombination window;
};

TEST_F(TellMe, FinishedRunShowsPairsCountReportKingsAndList) {
  window.cmdcalc_Click();
  EXPECT_EQ(text("txtResults"), "DA DC CB BA AD AB BC CD");
  EXPECT_EQ(label("lblOutcomes"), "22 combinations");
  EXPECT_EQ(report(), expectedReport());
  EXPECT_EQ(get<QPushButton>("cmdcalc")->text(), "Tell Me");
  EXPECT_TRUE(get("txtChar")->isEnabled());
  EXPECT_TRUE(window.bStop);

  for (int i = 0; i < 16; ++i)
    EXPECT_TRUE(text(QString("txtSet_%1").arg(i)) == "0" || text(QString("txtSet_%1").arg(i)) == "1");
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(label(QString("lblWord_%1").arg(k)), wordOf(columnCode(k))) << k;

  const char* pairs[] = {"DA", "DC", "CB", "BA", "AD", "AB", "BC", "CD"};
  QStringList expected;
  for (int n = 0; n < 8; ++n) {
    const int a = pairs[n][0] - 'A', b = pairs[n][1] - 'A';
    expected << QString(" %1: %2 - %3").arg(n + 1).arg(wordOf(columnCode(a)), wordOf(columnCode(b)));
  }
  EXPECT_EQ(listLines(), expected);
  EXPECT_EQ(window.nCurWord, 1);
}

TEST_F(TellMe, FourSymbolsCountEight) {
  get("txtChar")->setText("WXYZ");
  window.cmdcalc_Click();
  EXPECT_EQ(label("lblOutcomes"), "8 combinations");
}

TEST_F(TellMe, LengthThatIsNoByteSkipsOnlyTheEnumeration) {
  struct Case {
    QString length;
    int lines;
    int numberWidth;
  };
  // Letters: no width for the numbers either, so no list lines; 300: no
  // enumeration, but the numbers are right-aligned in 300 characters.
  for (const Case& c : {Case{"abc", 0, 0}, Case{"300", 8, 300}}) {
    get("txtlength")->setText(c.length);
    get<QLabel>("lblOutcomes")->setText("untouched");
    window.cmdcalc_Click();
    EXPECT_EQ(text("txtResults"), "DA DC CB BA AD AB BC CD");
    EXPECT_EQ(label("lblOutcomes"), "22 combinations");
    EXPECT_EQ(report(), expectedReport());
    const QStringList lines = listLines();
    ASSERT_EQ(lines.size(), c.lines) << c.length.toStdString();
    for (int n = 0; n < c.lines; ++n)
      EXPECT_EQ(lines[n].indexOf(':'), c.numberWidth) << lines[n].left(40).toStdString();
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(label(QString("lblWord_%1").arg(k)), wordOf(columnCode(k)));
  }
}

TEST_F(TellMe, WordMissingFromTheListShowsEmpty) {
  dir.write("words.wdb", wordsFile(/*skip=*/15));
  for (int i = 0; i < 16; ++i)  // a draw of 0 keeps the cell, so start from all ones
    get(QString("txtSet_%1").arg(i))->setText("1");
  // A column reads 1111 after about one click in 37, so 200 clicks missed
  // it once in some 250 runs; 5000 leave odds of 1e-60 against.
  int attempts = 0;
  do {
    window.cmdcalc_Click();
  } while (columnCode(0) != "1111" && ++attempts < 5000);
  ASSERT_EQ(columnCode(0), "1111");
  EXPECT_EQ(label("lblWord_0"), "");
  EXPECT_TRUE(listLines().at(0).endsWith(" - "));  // DA: the word of A is empty
}

// A king shows its word as it stands: markup in a word list from someone
// else would have the label's rich text engine open the file it names, a
// FIFO for good, or nest without bound.
TEST_F(TellMe, KingsShowTheirWordsAsText) {
  const QString fifo = dir.file("fifo");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString markup = QString("<img src='%1'>").arg(fifo) + QString("<b>").repeated(10000);
  QByteArray words;
  for (int k = 0; k < 16; ++k)
    words += QString("\"%1\",\"%2%1\"\r\n").arg(codeOf(k), markup).toLatin1();
  dir.write("words.wdb", words);

  FifoWatcher watcher({fifo});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.cmdcalc_Click();
  for (int k = 0; k < 4; ++k) {
    auto* king = get<QLabel>(QString("lblWord_%1").arg(k));
    EXPECT_EQ(king->text(), markup + columnCode(k)) << k;
    king->grab();  // laid out and painted, as on screen
  }
  EXPECT_EQ(watcher.stop(), QStringList());
}

TEST_F(TellMe, StopDuringTheEnumerationStillCompletesTheRun) {
  longRun();
  QString pageAtStop;
  bool stoppedNested = false;
  lotwise::test::WhenReady midRun(listing(), [&] {
    stoppedNested = get<QPushButton>("cmdcalc")->text() == "Stop";
    QTest::mouseClick(get<QPushButton>("cmdcalc"), Qt::LeftButton);
    // The stop branch refreshed the meanings at once, from the words the
    // enumeration had listed so far, cutting out only the one it shows.
    pageAtStop = QString::fromLatin1(dir.read("meanings_tmp.htm"));
    const QString listed = text("txtResults");
    EXPECT_EQ(util::gWords, QStringList({QString::number(listed.count(' ') + 1), "AAAAAAA"}));
    EXPECT_EQ(get<QPushButton>("cmdcalc")->text(), "Tell Me");
    EXPECT_TRUE(window.bStop);
  });
  window.cmdcalc_Click();
  EXPECT_TRUE(stoppedNested);
  EXPECT_EQ(text("txtResults"), "DA DC CB BA AD AB BC CD");
  EXPECT_EQ(label("lblOutcomes"), "20 combinations");
  EXPECT_EQ(report(), expectedReport());
  EXPECT_EQ(listLines().size(), 8);
  EXPECT_EQ(get<QPushButton>("cmdcalc")->text(), "Tell Me");
  // Refreshed again at the end, now for the first pair DA. The page at the
  // stop was the first combination's, AAAAAAA, whose entry is the same as
  // DA's when the grid's columns A and D hold the same code.
  const QString pageAtEnd = QString::fromLatin1(dir.read("meanings_tmp.htm"));
  if (columnCode(0) != columnCode(3)) {
    EXPECT_NE(pageAtEnd, pageAtStop);
  }
  EXPECT_TRUE(pageAtEnd.contains(wordOf(columnCode(0)))) << pageAtEnd.toStdString();
}

TEST_F(TellMe, F5AndTheMenuItemActAsTheButton) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  longRun();
  int stops = 0;
  // F5 starts; F5 again, during the enumeration, stops.
  lotwise::test::WhenReady byKey(listing(), [&] {
    QTest::keyClick(&window, Qt::Key_F5);
    stops += window.bStop ? 1 : 0;
  });
  QTest::keyClick(&window, Qt::Key_F5);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(text("txtResults"), "DA DC CB BA AD AB BC CD");

  lotwise::test::WhenReady byMenu(listing(), [&] {
    window.findChild<QAction*>("mnuStart")->trigger();
    stops += window.bStop ? 1 : 0;
  });
  window.findChild<QAction*>("mnuStart")->trigger();
  EXPECT_EQ(stops, 2);
  EXPECT_EQ(listLines().size(), 8);
}

TEST_F(TellMe, EndingDuringARunEndsAtOnce) {
  struct Way {
    const char* what;
    std::function<void()> end;
  };
  const Way ways[] = {
      {"Ctrl+Q", [&] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); }},
      {"Close Application", [&] { QTest::mouseClick(get<QPushButton>("cmdClose"), Qt::LeftButton); }},
      {"the close box", [&] { window.close(); }},
  };
  for (const Way& way : ways) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    longRun();
    get("txtResults")->clear();
    QTimer::singleShot(0, [&] { window.cmdcalc_Click(); });
    lotwise::test::WhenReady midRun(listing(), way.end);
    EXPECT_EQ(QApplication::exec(), 0) << way.what;
    EXPECT_TRUE(midRun.done()) << way.what;
    EXPECT_TRUE(window.bStop) << way.what;
    // The enumeration stopped where it was; the run went no further.
    EXPECT_NE(text("txtResults"), "DA DC CB BA AD AB BC CD") << way.what;
    EXPECT_FALSE(text("txtResults").isEmpty()) << way.what;
  }
}

TEST_F(TellMe, SavedResultsHoldTheReportAndTheList) {
  SeenBox seen;
  answerMessageBox(&seen);
  window.cmdSave_Click();
  EXPECT_EQ(dir.read("results.txt"), QByteArray("\r\n\r\n\r\n"));  // nothing to save yet
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.title, "Lotwise");
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.text, "The results has been saved to \r\n" + dir.file("results.txt"));

  window.cmdcalc_Click();
  answerMessageBox(&seen);
  window.cmdSave_Click();
  QByteArray expected = expectedReport().replace("\n", "\r\n").toLatin1() + "\r\n\r\n\r\n";
  for (const QString& line : listLines())
    expected += line.toLatin1() + "\r\n";
  EXPECT_EQ(dir.read("results.txt"), expected);

  // Saving again overwrites; nothing is appended.
  answerMessageBox(&seen);
  window.cmdSave_Click();
  EXPECT_EQ(dir.read("results.txt"), expected);
}

// Confirmed only when the file is whole on disk; otherwise a critical box
// names the path and the real cause, and an earlier file stays as it was.
TEST_F(TellMe, AFailedSaveNamesThePathAndTheCause) {
  window.cmdcalc_Click();
  const QString path = dir.file("results.txt");
  const QString failed = "The results could not be saved to \r\n" + path + "\r\n\r\n";
  auto save = [&] {
    SeenBox seen;
    answerMessageBox(&seen);
    window.cmdSave_Click();
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, "Lotwise");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    return seen.text;
  };

  // A folder where the file should be: it cannot be written, for root too.
  ASSERT_TRUE(QDir(dir.path()).mkdir("results.txt"));
  EXPECT_EQ(save(), failed + "Path/File access error: Is a directory");
  EXPECT_TRUE(QFileInfo(path).isDir());
  ASSERT_TRUE(QDir(dir.path()).rmdir("results.txt"));

  dir.write("results.txt", "an earlier save");
  {
    FileSizeLimit limit(16);
    ASSERT_TRUE(limit.set());
    EXPECT_EQ(save(), failed + "Disk full");
  }
  EXPECT_EQ(dir.read("results.txt"), "an earlier save");

  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
  {
    Unprivileged user;
    if (user.active()) {
      EXPECT_EQ(save(), failed + "Permission denied");
    }
  }
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0700), 0);
  EXPECT_EQ(dir.read("results.txt"), "an earlier save");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"dictionary.wdb", "meanings_tmp.htm", "results.txt", "words.wdb"}));
}

}  // namespace
