// The meanings page as the view shows it: the page alone, whatever the
// meanings name, and always the page of this window's own report.
#include "app/frmcombination.h"
#include "platform/wholefile.h"
#include "support/appdir.h"
#include "support/fixtures.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

// Notes every FIFO that someone opens for reading. Such an open waits for a
// writer, so the watcher keeps trying to become one: once the write end
// opens, a reader is there; it is closed at once, so that the reader meets
// the end of the file and a faulty view is caught rather than left hanging.
class FifoWatcher {
public:
  explicit FifoWatcher(const QStringList& fifos) : m_fifos(fifos), m_thread([this] { watch(); }) {}
  ~FifoWatcher() { stop(); }
  FifoWatcher(const FifoWatcher&) = delete;
  FifoWatcher& operator=(const FifoWatcher&) = delete;

  // The FIFOs opened while it watched.
  QStringList stop() {
    m_stop = true;
    if (m_thread.joinable())
      m_thread.join();
    return m_opened;
  }

private:
  void watch() {
    while (!m_stop) {
      for (const QString& fifo : m_fifos) {
        const int fd = open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
          close(fd);
          if (!m_opened.contains(fifo))
            m_opened << fifo;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a poll, not a wait for an outcome
    }
  }

  QStringList m_fifos, m_opened;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

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
                              "<a href='%4'>follow</a> <a href='file:///dev/zero'>zero</a> the end"
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

  // A click on the link is only noted: the view stays on its page.
  const QUrl source = view()->source();
  QTextCursor link(view()->document());
  for (QTextBlock block = view()->document()->begin(); block.isValid() && link.position() == 0; block = block.next())
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
      if (fragment.fragment().charFormat().anchorHref() == fifos[3]) {
        link.setPosition(fragment.fragment().position() + 1);
        break;
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

}  // namespace
