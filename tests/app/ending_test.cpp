// The program ended from outside: edits kept aside are named at the next
// start; a signal that comes with the editor's closing question on screen
// ends the program at once, the edits kept beside their file; and edits that
// cannot be kept are never dropped without a word.
#include "app/ending.h"
#include "app/frmcombination.h"
#include "data/datahome.h"
#include "platform/programpath.h"
#include "editor/frmedit.h"
#include "support/datafolder.h"
#include "support/filesizelimit.h"
#include "support/modal.h"
#include "support/unprivileged.h"
#include "../editor/boxes.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

// What the program writes on standard error while it lives, through a pipe:
// a file would stop at the file size limit some cases set.
class StandardError {
public:
  StandardError() {
    std::fflush(stderr);
    if (pipe2(m_pipe, O_NONBLOCK) == 0) {
      m_saved = dup(STDERR_FILENO);
      dup2(m_pipe[1], STDERR_FILENO);
    }
  }
  ~StandardError() { text(); }
  QString text() {
    if (m_saved >= 0) {
      std::fflush(stderr);
      dup2(m_saved, STDERR_FILENO);
      close(m_saved);
      close(m_pipe[1]);
      m_saved = -1;
      char buffer[4096];
      for (ssize_t got; (got = read(m_pipe[0], buffer, sizeof buffer)) > 0;)
        m_text += QString::fromLocal8Bit(buffer, got);
      close(m_pipe[0]);
    }
    return m_text;
  }

private:
  int m_pipe[2] = {-1, -1};
  int m_saved = -1;
  QString m_text;
};

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

TEST(Ending, KeptEditsAreNamedAtTheNextStart) {
  DataFolder dir;
  dir.write("dictionary.wdb.unsaved", "edits kept when the program was ended");
  frmCombination window;
  window.show();
  QMessageBox* notice = noticeWith(QDir::toNativeSeparators(dir.file("dictionary.wdb.unsaved")) +
                                   " holds edits to dictionary.wdb that were never saved");
  ASSERT_NE(notice, nullptr);
  notice->close();
  EXPECT_EQ(dir.read("dictionary.wdb.unsaved"), "edits kept when the program was ended");
}

TEST(Ending, ASignalWithTheClosingQuestionUpEndsAtOnceAndKeepsTheEdits) {
  DataFolder dir;
  frmCombination window;
  window.show();
  app::endOnRequest(window);
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
  EXPECT_EQ(dir.read("words.wdb"), wordsFile());
  EXPECT_TRUE(dir.read("words.wdb.unsaved").contains("\"0000\",\"edited\"\r\n"));

  // The application's loop ran to its end; let later tests run loops again.
  QTimer::singleShot(0, &window, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

// Where the edits cannot be kept (no home, so the run writes nothing; a
// folder that cannot be written; a full disk), SIGTERM and SIGHUP name the
// lost file and the cause on standard error, and the program goes on with
// the editor's closing question. A save asked for there fails too, so the
// editor stays open with the edits.
TEST(Ending, EditsThatCannotBeKeptAreNamedAndTheProgramGoesOn) {
  struct Folder {
    const char* what;
    QString cause;
  };
  const Folder folders[] = {{"no home", "Lotwise writes nothing this time"},
                            {"a folder that cannot be written", "Permission denied"},
                            {"a full disk", "Disk full"}};
  for (int signal : {SIGTERM, SIGHUP}) {
    for (const Folder& folder : folders) {
      SCOPED_TRACE(std::string(folder.what) + (signal == SIGTERM ? ", SIGTERM" : ", SIGHUP"));
      DataFolder dir;
      const QByteArray home = qgetenv("HOME"), xdg = qgetenv("XDG_DATA_HOME");
      if (folder.what == std::string("no home")) {
        dir.write("lotwise.installed", "");
        qunsetenv("HOME");
        qunsetenv("XDG_DATA_HOME");
        data::setAppPath(QString());
        data::chooseFileHome(dir.path(), {"words.wdb", "dictionary.wdb"});
        ASSERT_EQ(data::appPath(), dir.path());
      }
      frmCombination window;
      window.show();
      app::endOnRequest(window);

      std::optional<Unprivileged> user;
      std::unique_ptr<FileSizeLimit> limit;
      std::unique_ptr<StandardError> standardError;
      std::unique_ptr<MessageBoxes> boxes;
      bool closedByTest = false;
      frmEdit* opened = nullptr;
      whenModal([&](QWidget* editor) {
        opened = qobject_cast<frmEdit*>(editor);
        editor->findChild<QLineEdit*>("txtWord_0")->setText("edited");
        if (folder.what == std::string("a folder that cannot be written")) {
          chmod(QFile::encodeName(dir.path()).constData(), 0555);
          user.emplace();
        } else if (folder.what == std::string("a full disk")) {
          limit = std::make_unique<FileSizeLimit>(64);
        }
        standardError = std::make_unique<StandardError>();
        boxes = std::make_unique<MessageBoxes>(QList{QMessageBox::Yes, QMessageBox::Ok});
        // Once the question was answered and the failed save shown, the
        // editor is still there: the test closes it.
        auto* poll = new QTimer(editor);
        QObject::connect(poll, &QTimer::timeout, editor, [&, editor] {
          const QWidget* modal = QApplication::activeModalWidget();
          if (boxes->seen.size() == 2 && modal == editor) {
            closedByTest = true;
            qobject_cast<QDialog*>(editor)->done(QDialog::Rejected);
          }
        });
        poll->start(5);
        raise(signal);
      });
      window.cmdEditData_Click();
      limit.reset();
      const bool permissions = !user || user->active();
      user.reset();
      chmod(QFile::encodeName(dir.path()).constData(), 0700);
      home.isNull() ? qunsetenv("HOME") : qputenv("HOME", home);
      xdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdg);
      if (!permissions)
        continue;  // root's powers could not be dropped here

      EXPECT_TRUE(closedByTest);  // the program did not end by itself
      ASSERT_NE(opened, nullptr);
      EXPECT_TRUE(opened->bWordsChanged);
      const QString written = standardError->text();
      EXPECT_TRUE(written.contains("lotwise: the unsaved edits to " + QDir::toNativeSeparators(dir.file("words.wdb")) +
                                   " could not be kept: "))
          << written.toStdString();
      EXPECT_TRUE(written.contains(folder.cause)) << written.toStdString();
      ASSERT_EQ(boxes->seen.size(), 2);
      EXPECT_EQ(boxes->seen[0].text, "Do you want to save changes to Words?");
      EXPECT_TRUE(boxes->seen[1].text.contains(folder.cause)) << boxes->seen[1].text.toStdString();
      EXPECT_EQ(dir.read("words.wdb"), wordsFile());
      EXPECT_FALSE(dir.exists("words.wdb.unsaved"));
      boxes.reset();
      data::chooseFileHome(platform::programPath(), {});
    }
  }
}

}  // namespace
