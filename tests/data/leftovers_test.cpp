// What a killed save leaves, and the start-up tidying that clears it: the
// data file and its backup are whole whatever the moment of the kill, and
// nothing else stays beside them but edits that exist nowhere else.
#include "data/leftovers.h"
#include "data/records.h"
#include "platform/quitsignals.h"
#include "platform/wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/files.h"
#include "support/printers.h"

namespace {

using namespace lotwise::test;

class Leftovers : public ::testing::Test {
protected:
  QString file(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
};

TEST_F(Leftovers, OnlyTheProgramsOwnTemporaryFilesGoAndUnsavedEditsAreKept) {
  put(file("words.wdb"), "words");
  put(file("dictionary.wdb"), "dictionary");
  put(file("dictionary.wdb.bak"), "backup");
  // The program's own, from writes cut short.
  put(file("dictionary.wdb.AbCdEf"), "edits saved nowhere else");
  put(file("words.wdb.QwErTy"), "");       // killed before a byte was written
  put(file("words.wdb.XyZabc"), "words");  // the same as the file
  put(file("dictionary.wdb.bak.HqPzRw"), "backup");
  put(file("meanings_tmp.htm.KbLmNo"), "<html>");
  put(file("results.txt.Zz0123"), "results");
  // Not the program's, or not to be touched.
  put(file("words.wdb.backup"), "the user's own copy");  // no capital: not a random name
  put(file("notes.txt.AbCdEf"), "someone else's");
  put(file("dictionary.wdb.AbCdE"), "five letters");
  ASSERT_TRUE(QDir(dir.path()).mkdir("results.txt.DiRfOo"));
  ASSERT_TRUE(QFile::link(file("dictionary.wdb"), file("meanings_tmp.htm.LiNkEd")));
  put(file("meanings_tmp.htm.LoCkEd"), "being written");
  const int writer = ::open(QFile::encodeName(file("meanings_tmp.htm.LoCkEd")).constData(), O_RDONLY);
  ASSERT_EQ(::flock(writer, LOCK_SH), 0);  // as a running copy's writer holds it

  data::tidyLeftovers(dir.path());
  ::close(writer);

  EXPECT_EQ(entries(dir.path()),
            (QStringList{"dictionary.wdb", "dictionary.wdb.AbCdE", "dictionary.wdb.bak", "dictionary.wdb.unsaved",
                         "meanings_tmp.htm.LiNkEd", "meanings_tmp.htm.LoCkEd", "notes.txt.AbCdEf", "results.txt.DiRfOo",
                         "words.wdb", "words.wdb.backup"}));
  EXPECT_EQ(bytesOf(file("dictionary.wdb.unsaved")), "edits saved nowhere else");
  EXPECT_EQ(bytesOf(file("dictionary.wdb")), "dictionary");

  // Later leftovers: other edits get a name of their own, the same edits
  // again are not kept twice, and a kept file is never replaced.
  put(file("dictionary.wdb.MnOpQr"), "other edits");
  put(file("dictionary.wdb.StUvWx"), "edits saved nowhere else");
  data::tidyLeftovers(dir.path());
  EXPECT_EQ(bytesOf(file("dictionary.wdb.unsaved")), "edits saved nowhere else");
  EXPECT_EQ(bytesOf(file("dictionary.wdb.unsaved2")), "other edits");
  EXPECT_FALSE(QFile::exists(file("dictionary.wdb.StUvWx")));

  const QStringList unsaved = data::unsavedFiles(dir.path());
  EXPECT_EQ(unsaved, (QStringList{file("dictionary.wdb.unsaved"), file("dictionary.wdb.unsaved2")}));
  const QString notice = data::unsavedNotice(unsaved);
  EXPECT_TRUE(notice.startsWith(QDir::toNativeSeparators(file("dictionary.wdb.unsaved")) +
                                " holds edits to dictionary.wdb that were never saved"))
      << notice.toStdString();
  EXPECT_TRUE(notice.contains(QDir::toNativeSeparators(file("dictionary.wdb.unsaved2")))) << notice.toStdString();
  EXPECT_EQ(data::unsavedNotice({}), "");
}

TEST_F(Leftovers, NothingIsTouchedWhileASaveIsUnderWay) {
  put(file("dictionary.wdb.bak.HqPzRw"), "backup");
  {
    const platform::FolderLock saving(dir.path(), platform::FolderLock::Mode::Wait);
    data::tidyLeftovers(dir.path());
    EXPECT_EQ(entries(dir.path()), QStringList{"dictionary.wdb.bak.HqPzRw"});
  }
  data::tidyLeftovers(dir.path());
  EXPECT_EQ(entries(dir.path()), QStringList());
}

// A child process saves the dictionary and is killed with SIGKILL as it
// reaches step n of the save; then the start-up tidying runs on the folder.
// Whatever the step, the file holds the old or the new content, the backup
// the earlier backup or the old content, and nothing else is left but kept
// edits that hold the new content.
TEST_F(Leftovers, ASaveKilledAtAnyStepLeavesWholeFilesAndNoStray) {
  const QList<QStringList> records{{"0000", "0000", "w - w", "new meaning"}};
  const std::string oldContent = "\"0000\",\"0000\",\"w - w\",\"old meaning\"\r\n";
  const std::string newContent = data::fileBytes(records).toStdString();
  const QString path = file("dictionary.wdb");
  int killedAt = 0;
  for (int step = 1; step < 50; ++step) {
    SCOPED_TRACE(step);
    for (const QString& name : entries(dir.path()))
      QFile::remove(file(name));
    put(path, oldContent);
    put(path + ".bak", "earlier backup");

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int reached = 0;
      platform::testing::setStepHook([&](const QString&, platform::WriteStep) {
        if (++reached == step)
          raise(SIGKILL);
      });
      _exit(data::saveFile(path, records) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << status;

    data::tidyLeftovers(dir.path());
    const std::string content = bytesOf(path), backup = bytesOf(path + ".bak");
    EXPECT_TRUE(content == oldContent || content == newContent) << content;
    EXPECT_TRUE(backup == "earlier backup" || backup == oldContent) << backup;
    QStringList left = entries(dir.path());
    if (left.removeAll("dictionary.wdb.unsaved")) {
      EXPECT_EQ(bytesOf(path + ".unsaved"), newContent);
    }
    EXPECT_EQ(left, (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
    if (!killed) {
      EXPECT_EQ(content, newContent);
      EXPECT_EQ(backup, oldContent);
      break;
    }
    killedAt = step;
  }
  EXPECT_GE(killedAt, 6);  // every step of the save was reached and killed
}

// SIGTERM arriving in the middle of a save ends the program only once the
// save is done: the handler runs from the event loop.
TEST_F(Leftovers, SigtermInTheMiddleOfASaveWaitsForItsEnd) {
  const QList<QStringList> records{{"0000", "w"}};
  const QString path = file("words.wdb");
  for (int step = 1; step <= 6; ++step) {
    SCOPED_TRACE(step);
    put(path, "old");
    QFile::remove(path + ".bak");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      platform::onQuitSignals(QCoreApplication::instance(), [] { _exit(42); });
      int reached = 0;
      platform::testing::setStepHook([&](const QString&, platform::WriteStep) {
        if (++reached == step)
          raise(SIGTERM);
      });
      if (data::saveFile(path, records))
        _exit(1);
      QElapsedTimer waited;
      waited.start();
      while (waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
      _exit(2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 42);
    EXPECT_EQ(bytesOf(path), data::fileBytes(records).toStdString());
    EXPECT_EQ(bytesOf(path + ".bak"), "old");
    EXPECT_EQ(entries(dir.path()), (QStringList{"words.wdb", "words.wdb.bak"}));
  }
}

}  // namespace
