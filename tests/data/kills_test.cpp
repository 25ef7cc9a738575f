// A save ended from outside: killed, the data file and its backup are whole
// whatever the moment, and the next save goes through; asked to end, it
// ends only once the save is done.
#include "data/records.h"
#include "platform/quitsignals.h"
#include "platform/wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/files.h"
#include "support/printers.h"

namespace {

using namespace lotwise::test;

class Kills : public ::testing::Test {
protected:
  QString file(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
};

// A child process saves the dictionary and is killed with SIGKILL as it
// reaches step n of the save. Whatever the step, the file holds the old or
// the new content and the backup the earlier backup or the old content. The
// only other file left is the lock of the killed save, which the next save
// takes over at once.
TEST_F(Kills, ASaveKilledAtAnyStepLeavesWholeFilesAndNoStray) {
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

    const std::string content = bytesOf(path), backup = bytesOf(path + ".bak");
    EXPECT_TRUE(content == oldContent || content == newContent) << content;
    EXPECT_TRUE(backup == "earlier backup" || backup == oldContent) << backup;
    QStringList left = entries(dir.path());
    left.removeAll("dictionary.wdb.lotwise-lock");
    EXPECT_EQ(left, (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
    if (killed) {
      EXPECT_EQ(data::saveFile(path, records), std::nullopt);
      EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
    } else {
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
TEST_F(Kills, SigtermInTheMiddleOfASaveWaitsForItsEnd) {
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
