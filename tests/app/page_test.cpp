// The meanings page as the view shows it: the page alone, whatever the
// meanings name, and always the page of this window's own report.
#include "app/frmcombination.h"
#include "data/datafile.h"
#include "data/records.h"
#include "engine/meanings.h"
#include "platform/htmlview.h"
#include "platform/textfile.h"
#include "platform/wholefile.h"
#include "support/appdir.h"
#include "support/fifowatcher.h"
#include "support/fixtures.h"
#include "support/opencounter.h"
#include "util/randomdigits.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

class Page : public ::testing::Test {
protected:
  void SetUp() override { dir.write("words.wdb", wordsFile()); }
  QTextBrowser* view() { return window.findChild<QTextBrowser*>("txtMeanings"); }
  void showAll() {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.findChild<QCheckBox*>("chkShowAll")->setChecked(true);
    window.chkShowAll_Click();
  }

  AppDir dir;
  frmCombination window;
};

TEST_F(Page, LoadsNothingTheMeaningsName) {
  QStringList fifos;
  for (const char* name : {"sheet", "image", "import", "link", "relative"}) {
    fifos << dir.file(QString("fifo-") + name);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifos.last()).constData(), 0600), 0);
  }
  // Every meaning names them, and /dev/zero, which never ends, in every way
  // a page can name another file.
  // Qt's parser takes what follows a <link> into it: the links come last.
  const QString hostile = QString(
                              "Beware <img src='%2'><img src='/dev/zero'><img src='fifo-relative'>"
                              "<style>@import url('%3'); @import url('/dev/zero');</style>"
                              "<a href='%4'>follow</a> <a href='file:///dev/zero'>zero</a> <a href='#end'>the end</a>"
                              "<link rel=stylesheet type=text/css href='%1'>"
                              "<link rel=stylesheet type=text/css href='/dev/zero'>")
                              .arg(fifos[0], fifos[1], fifos[2], fifos[3]);
  QByteArray dictionary;
  for (int a = 0; a < 16; ++a)
    for (int b = 0; b < 16; ++b)
      dictionary += entryRow(codeOf(a), codeOf(b), hostile);
  dir.write("dictionary.wdb", dictionary);

  FifoWatcher watcher(fifos);
  showAll();
  window.cmdcalc_Click();
  ASSERT_TRUE(view()->isVisible());
  view()->grab();  // laid out and painted, as on screen
  EXPECT_TRUE(view()->toPlainText().contains("follow zero the end")) << view()->toPlainText().toStdString();

  // Only the link within the page stays a link, and a click on it is only
  // noted: the view stays on its page.
  const QUrl source = view()->source();
  QTextCursor link(view()->document());
  for (QTextBlock block = view()->document()->begin(); block.isValid(); block = block.next())
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QString href = fragment.fragment().charFormat().anchorHref();
      EXPECT_TRUE(href.isEmpty() || href == "#end") << href.toStdString();
      if (href == "#end" && link.position() == 0)
        link.setPosition(fragment.fragment().position() + 1);
    }
  ASSERT_GT(link.position(), 0) << view()->toHtml().toStdString();
  QSignalSpy clicked(view(), &QTextBrowser::anchorClicked);
  const QPoint at = view()->cursorRect(link).center();
  QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_EQ(view()->source(), source);
  EXPECT_TRUE(view()->toPlainText().contains("Beware"));

  // A page shown again after a reload or another report still opens nothing.
  view()->reload();
  window.chkInvert_Click();
  view()->grab();
  EXPECT_EQ(watcher.stop(), QStringList());
}

TEST_F(Page, ShowsItsOwnReportWhateverTheFileHolds) {
  dir.write("dictionary.wdb", dictionaryFile());
  // Columns A to D read 0011, 0101, 0110 and 1001; one pair, DA.
  const QString columns[] = {"0011", "0101", "0110", "1001"};
  for (int cell = 0; cell < 16; ++cell)
    window.findChild<QLineEdit*>(QString("txtSet_%1").arg(cell))->setText(columns[cell % 4].mid(cell / 4, 1));
  window.findChild<QLineEdit*>("txtResults")->setText("DA");
  window.findChild<QListWidget*>("lstWords")->addItem(" 1: DA");
  showAll();
  const QString own = view()->toPlainText();  // the codes exchanged, as the window starts
  ASSERT_TRUE(own.contains("m0011-1001")) << own.toStdString();
  const QByteArray page = dir.read("meanings_tmp.htm");

  // Another copy of the program writes the same file meanwhile.
  dir.write("meanings_tmp.htm", "<b>the page of another copy</b>");
  view()->reload();
  EXPECT_EQ(view()->toPlainText(), own);
  EXPECT_EQ(view()->source(), QUrl::fromLocalFile(dir.file("meanings_tmp.htm")));

  // Its page stands and this report's write fails: the view still shows
  // this report, as the file would have held it.
  window.findChild<QCheckBox*>("chkInvert")->setChecked(false);
  platform::testing::failWriteStep("meanings_tmp.htm", platform::WriteStep::Commit, ENOSPC);
  window.chkInvert_Click();
  platform::testing::clearWriteFaults();
  EXPECT_EQ(dir.read("meanings_tmp.htm"), "<b>the page of another copy</b>");
  EXPECT_TRUE(view()->toPlainText().contains("m1001-0011")) << view()->toPlainText().toStdString();

  window.findChild<QCheckBox*>("chkInvert")->setChecked(true);
  window.chkInvert_Click();
  EXPECT_EQ(dir.read("meanings_tmp.htm"), page);
  EXPECT_EQ(view()->toPlainText(), own);
}

// A dictionary whose every row holds the meaning.
QByteArray everyRow(const QString& meaning) {
  QByteArray dictionary;
  for (int a = 0; a < 16; ++a)
    for (int b = 0; b < 16; ++b)
      dictionary += entryRow(codeOf(a), codeOf(b), meaning);
  return dictionary;
}

// One FIFO named by a style sheet's @import and by an image, together and
// each alone. Together they opened it: Qt keeps the first answer for a
// name whatever it was asked for, so the image found the sheet's bytes,
// took them for no image and read the file itself.
struct Naming {
  const char* name;
  const char* markup;
};

class SharedName : public Page, public ::testing::WithParamInterface<Naming> {};

TEST_P(SharedName, OpensNothing) {
  const QString fifo = dir.file("fifo");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  dir.write("dictionary.wdb", everyRow(QString(GetParam().markup).replace("FIFO", fifo) + " and after"));

  OpenCounter opens({fifo});
  ASSERT_TRUE(opens.watching());
  FifoWatcher watcher({fifo});  // a view that opens it is caught, not left hanging
  showAll();
  window.cmdcalc_Click();
  view()->grab();
  EXPECT_EQ(window.findChild<QPushButton*>("cmdcalc")->text(), "Tell Me");
  EXPECT_TRUE(view()->toPlainText().contains("and after")) << view()->toPlainText().toStdString();
  EXPECT_EQ(watcher.stop(), QStringList());
  EXPECT_EQ(opens.take(), QList<int>{0});
}

INSTANTIATE_TEST_SUITE_P(
    Page, SharedName,
    ::testing::Values(Naming{"ImportAndImage", "<style>@import url('FIFO');</style><img src='FIFO'>"},
                      Naming{"Import", "<style>@import url('FIFO');</style>"}, Naming{"Image", "<img src='FIFO'>"}),
    [](const auto& info) { return std::string(info.param.name); });

// Behind the filter, the view itself still reads nothing that a page names,
// the FIFO of both an @import and an image included.
TEST(Wall, TheViewGivenAnUnfilteredPageOpensNothing) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("fifo");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  platform::HtmlView view;
  view.resize(400, 300);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  FifoWatcher watcher({fifo});
  view.setHtml(QString("<style>@import url('%1');</style><img src='%1'><img src='file://%1'> after").arg(fifo));
  view.grab();
  EXPECT_TRUE(view.toPlainText().contains("after"));
  EXPECT_EQ(watcher.stop(), QStringList());
}

// Meanings nested deep enough to freeze or crash Qt's text engine, as deep
// as the longest meaning a dictionary may hold lets them, in the rows that a
// run reads, with the view shown and hidden: the run completes and the
// window goes on answering. Shown, the page holds eight of them, and each
// meaning's nest goes on inside the one before: 131,000 nested <b>, 32,000
// tables. bench/hostile_meanings_bench tells how long each takes.
struct Nest {
  const char* name;
  const char* open;
};

void PrintTo(const Nest& nest, std::ostream* os) { *os << nest.name; }

class Nested : public Page, public ::testing::WithParamInterface<std::tuple<Nest, bool>> {
protected:
  void TearDown() override { util::rng::setClock({}); }
  QStringList columnCodes() {
    QStringList codes;
    for (int column = 0; column < 4; ++column) {
      QString code;
      for (int row = 0; row < 4; ++row)
        code += window.findChild<QLineEdit*>(QString("txtSet_%1").arg(column + 4 * row))->text();
      codes << code;
    }
    return codes;
  }
};

TEST_P(Nested, RunCompletes) {
  const auto& [nest, shown] = GetParam();
  // The same draws twice: a first run tells which rows the second reads.
  util::rng::setClock([] { return 43200.5f; });
  const util::rng::State draws = util::rng::state();
  dir.write("dictionary.wdb", dictionaryFile());
  if (shown) {
    showAll();
  } else {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  window.cmdcalc_Click();
  const QStringList columns = columnCodes();

  // Spaced, so that the meaning box, which takes the meaning as plain text,
  // can break it into lines.
  const QString open = QString(nest.open) + ' ';
  const QString meaning = open.repeated((data::kMaxFieldChars - 7) / open.size()) + "deepest";
  QByteArray dictionary;
  for (int a = 0; a < 16; ++a)
    for (int b = 0; b < 16; ++b) {
      const QString c1 = codeOf(a), c2 = codeOf(b);
      dictionary += entryRow(c1, c2, columns.contains(c1) && columns.contains(c2) ? meaning : "m" + c1 + "-" + c2);
    }
  dir.write("dictionary.wdb", dictionary);
  util::rng::setState(draws);
  window.cmdcalc_Click();
  ASSERT_EQ(columnCodes(), columns);

  EXPECT_EQ(window.findChild<QPushButton*>("cmdcalc")->text(), "Tell Me");
  EXPECT_EQ(view()->isVisible(), shown);
  EXPECT_EQ(view()->toPlainText().count("deepest"), shown ? 8 : 1);
  if (shown)
    view()->grab();  // laid out and painted, as on screen
  bool answered = false;
  QTimer::singleShot(0, &window, [&] { answered = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 60000));
}

INSTANTIATE_TEST_SUITE_P(Page, Nested,
                         ::testing::Combine(::testing::Values(Nest{"Bold", "<b>"}, Nest{"Table", "<table><tr><td>"},
                                                              Nest{"List", "<ul><li>"}, Nest{"Division", "<div>"}),
                                            ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "Shown" : "Hidden");
                         });

// Grabs of the view, scrolled page by page from the top.
QList<QImage> pagesOf(QTextBrowser* view) {
  QList<QImage> pages;
  QScrollBar* bar = view->verticalScrollBar();
  for (int at = 0;; at += bar->pageStep()) {
    bar->setValue(at);
    pages << view->grab().toImage();
    if (at >= bar->maximum())
      return pages;
  }
}

// The shipped dictionary's pages look as they did when the view was given
// them unfiltered: the page of a run, and one of every row.
TEST_F(Page, ShippedDictionaryLooksAsBefore) {
  for (const char* name : {"words.wdb", "dictionary.wdb"}) {
    QFile::remove(dir.file(name));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LOTWISE_DATA_DIR "/") + name, dir.file(name))) << name;
  }
  showAll();
  window.cmdcalc_Click();
  const QString page = platform::decodeText(dir.read("meanings_tmp.htm"));
  const QList<QImage> filtered = pagesOf(view());
  view()->setHtml(page);
  EXPECT_EQ(pagesOf(view()), filtered);

  // Every row, headings of both kinds among them.
  QString all;
  data::RecordReader reader(platform::decodeText(dir.read("dictionary.wdb")));
  while (!reader.atEnd()) {
    const QStringList row = reader.readRecord(data::kDictionaryFields);
    all += engine::headingLine(row[2], row[0] == row[1]) + "\r\n" + engine::meaningLine(row[3]) + "\r\n";
  }
  ASSERT_TRUE(all.contains("</></b>"));
  window.findChild<platform::HtmlView*>("txtMeanings")->showPage(dir.file("meanings_tmp.htm"), all);
  const QList<QImage> allFiltered = pagesOf(view());
  view()->setHtml(all);
  const QList<QImage> allRaw = pagesOf(view());
  ASSERT_GT(allRaw.size(), 10);
  EXPECT_EQ(allRaw, allFiltered);
}

}  // namespace
