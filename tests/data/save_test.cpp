// Saving a whole file with its backup, and what a failure leaves on disk:
// after any failure both the file and its earlier backup keep every byte.
#include "data/records.h"
#include "platform/error.h"
#include "platform/wholefile.h"
#include "support/filesizelimit.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <latch>
#include <string>
#include <thread>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/files.h"
#include "support/printers.h"

namespace {

using namespace std::string_literals;
using namespace lotwise::test;
using platform::WriteStep;

std::string failure(const std::optional<platform::Error>& error) { return error ? error->what() : "none"; }

QString code(int value) { return QString::number(value % 16, 2).rightJustified(4, u'0'); }

QList<QStringList> dictionary(int rows) {
  QList<QStringList> records;
  for (int r = 0; r < rows; ++r) {
    QString meaning = QStringLiteral("Meaning of row %1, long enough to fill a few buffers of the writer.").arg(r + 1);
    if (r % 3 == 0)
      meaning += QStringLiteral("\r\nA second line for row %1.").arg(r + 1);
    records << QStringList{code(r / 16), code(r), QStringLiteral("w%1 - w%2").arg(r / 16).arg(r % 16), meaning};
  }
  return records;
}

class SaveFile : public ::testing::Test {
protected:
  void TearDown() override {
    platform::testing::clearWriteFaults();
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
  }

  QTemporaryDir dir;
  const QString path = dir.filePath("dictionary.wdb");
  const QString backup = path + ".bak";
  // Hand-made and untidy on purpose: the backup must keep it byte for byte.
  const std::string old = "0000,0000,old,\"kept\nas is\"\n\x81\x00 end"s;
};

TEST_F(SaveFile, WritesTheTextFormAndKeepsTheOldContentInTheBackup) {
  put(path, old);
  put(backup, "an earlier backup");
  EXPECT_EQ(failure(data::saveFile(path, {{" 0101 ", "caf\u00e9"}, {"", ""}})), "none");
  EXPECT_EQ(bytesOf(path), "\"0101\",\"caf\xe9\"\r\n\"\",\"\"\r\n");
  EXPECT_EQ(bytesOf(backup), old);
}

// Files the editor would not write itself: more records than it keeps, or
// fewer, still read back completely.
TEST_F(SaveFile, WholeFilesReadBackCompletely) {
  for (const auto& [fields, count] : {std::pair{2, 17}, std::pair{4, 200}}) {
    SCOPED_TRACE(count);
    QList<QStringList> records = dictionary(count);
    for (QStringList& record : records)
      record = record.mid(4 - fields);
    put(path, old);
    ASSERT_EQ(failure(data::saveFile(path, records)), "none");
    data::RecordReader reader(QString::fromLatin1(QByteArray::fromStdString(bytesOf(path))));
    QList<QStringList> read;
    while (!reader.atEnd() && read.size() <= count)
      read << reader.readRecord(fields);
    EXPECT_EQ(read, records);
  }
}

TEST_F(SaveFile, AMissingFileIsNotCreated) {
  EXPECT_EQ(failure(data::saveFile(path, dictionary(256))), "Error 53: File not found");
  EXPECT_EQ(entries(dir.path()), QStringList());
}

TEST_F(SaveFile, AFolderInThePlaceOfTheBackupStopsTheSave) {
  put(path, old);
  ASSERT_TRUE(QDir(dir.path()).mkdir("dictionary.wdb.bak"));
  EXPECT_EQ(failure(data::saveFile(path, dictionary(256))), "Error 75: Path/File access error: Is a directory");
  EXPECT_EQ(bytesOf(path), old);
  EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
}

// A failure at each step of a save: writing the new content, each step of
// writing the backup, and the rename that puts the new content in place.
// With an earlier backup and without one, both files end as they began and
// nothing else is left in the folder.
TEST_F(SaveFile, AFailureAtAnyStepChangesNeitherFile) {
  struct Step {
    const char* what;
    QString file;
    WriteStep step;
  };
  const Step steps[] = {
      {"creating the new file", "dictionary.wdb", WriteStep::Create},
      {"writing the new content", "dictionary.wdb", WriteStep::Write},
      {"creating the backup", "dictionary.wdb.bak", WriteStep::Create},
      {"writing the backup", "dictionary.wdb.bak", WriteStep::Write},
      {"putting the backup in place", "dictionary.wdb.bak", WriteStep::Commit},
      {"putting the new file in place", "dictionary.wdb", WriteStep::Commit},
      {"keeping the earlier backup aside", "dictionary.wdb.bak", WriteStep::Aside},
  };
  for (bool earlierBackup : {true, false}) {
    for (const Step& s : steps) {
      if (s.step == WriteStep::Aside && !earlierBackup)
        continue;  // there is nothing to keep aside
      SCOPED_TRACE(std::string(s.what) + (earlierBackup ? ", with an earlier backup" : ", without a backup"));
      QFile::remove(backup);
      put(path, old);
      if (earlierBackup)
        put(backup, "the backup of an earlier save");
      platform::testing::failWriteStep(s.file, s.step, ENOSPC);
      EXPECT_EQ(failure(data::saveFile(path, dictionary(256))), "Error 61: Disk full");
      EXPECT_EQ(bytesOf(path), old);
      EXPECT_EQ(bytesOf(backup), earlierBackup ? "the backup of an earlier save" : "<missing>");
      EXPECT_EQ(entries(dir.path()),
                earlierBackup ? (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}) : QStringList{"dictionary.wdb"});
    }
  }
}

TEST_F(SaveFile, ARealFullDiskChangesNeitherFile) {
  put(path, old);
  const std::string earlier(45056, 'b');  // a whole backup, larger than the limit below
  put(backup, earlier);
  const QList<QStringList> records = dictionary(256);  // about 30 KB
  std::optional<platform::Error> error;
  {
    FileSizeLimit limit(4096);
    ASSERT_TRUE(limit.set());
    error = data::saveFile(path, records);
  }
  EXPECT_EQ(failure(error), "Error 61: Disk full");
  EXPECT_EQ(bytesOf(path), old);
  EXPECT_EQ(bytesOf(backup), earlier);
  EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
}

TEST_F(SaveFile, AFolderTheUserMayNotWriteIsPermissionDenied) {
  put(path, old);
  put(backup, "earlier");
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
  Unprivileged user;
  LOTWISE_REQUIRE_UNPRIVILEGED(user);
  EXPECT_EQ(failure(data::saveFile(path, dictionary(256))), "Error 70: Permission denied");
  EXPECT_EQ(bytesOf(path), old);
  EXPECT_EQ(bytesOf(backup), "earlier");
  EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
}

TEST_F(SaveFile, LinksAreReplacedNotWrittenThrough) {
  const QString elsewhere = dir.filePath("elsewhere");
  put(elsewhere, "not ours");
  put(path, old);
  ASSERT_TRUE(QFile::link(elsewhere, backup));
  EXPECT_EQ(failure(data::saveFile(path, {{"0101", "abc"}})), "none");
  EXPECT_FALSE(QFileInfo(backup).isSymLink());
  EXPECT_EQ(bytesOf(backup), old);
  EXPECT_EQ(bytesOf(elsewhere), "not ours");
  EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak", "elsewhere"}));
}

// A save checks that the file still holds what the caller read; when it
// does not, it writes nothing at all and says what the file holds now.
TEST_F(SaveFile, AFileChangedSinceItWasReadIsNotOverwritten) {
  put(path, old);
  put(backup, "earlier");
  const QByteArray read = data::fingerprintOf(QByteArray::fromStdString(old));
  put(path, "saved by someone else");
  const data::SaveOutcome refused = data::saveFileIfUnchanged(path, dictionary(256), read);
  EXPECT_EQ(failure(refused.failure), "none");
  EXPECT_TRUE(refused.changedOnDisk);
  EXPECT_EQ(refused.found, data::fingerprintOf("saved by someone else"));
  EXPECT_EQ(bytesOf(path), "saved by someone else");
  EXPECT_EQ(bytesOf(backup), "earlier");

  const data::SaveOutcome saved = data::saveFileIfUnchanged(path, {{"0101", "abc"}}, refused.found);
  EXPECT_EQ(failure(saved.failure), "none");
  EXPECT_FALSE(saved.changedOnDisk);
  EXPECT_EQ(saved.written, data::fingerprintOf(QByteArray::fromStdString(bytesOf(path))));
  EXPECT_EQ(bytesOf(backup), "saved by someone else");
  EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
}

// Two copies of the program saving the same file at the same moment, each
// over the content both read: one save goes through, the other is told that
// the file changed, and neither fails or leaves anything behind.
TEST_F(SaveFile, SimultaneousSavesLoseNoEditUnannounced) {
  for (int round = 0; round < 30; ++round) {
    SCOPED_TRACE(round);
    const QByteArray base = data::fileBytes(dictionary(256));
    put(path, base);
    put(backup, "earlier");
    const QByteArray read = data::fingerprintOf(base);
    QList<QStringList> edits[2] = {dictionary(256), dictionary(256)};
    edits[0][4][3] = QStringLiteral("A's row 5, round %1").arg(round);
    edits[1][5][3] = QStringLiteral("B's row 6, round %1").arg(round);

    data::SaveOutcome outcomes[2];
    std::latch start(2);
    auto save = [&](int who) {
      start.arrive_and_wait();
      outcomes[who] = data::saveFileIfUnchanged(path, edits[who], read);
    };
    std::thread a(save, 0), b(save, 1);
    a.join();
    b.join();

    EXPECT_EQ(failure(outcomes[0].failure), "none");
    EXPECT_EQ(failure(outcomes[1].failure), "none");
    ASSERT_NE(outcomes[0].changedOnDisk, outcomes[1].changedOnDisk);
    const int winner = outcomes[0].changedOnDisk ? 1 : 0;
    const QByteArray written = data::fileBytes(edits[winner]);
    EXPECT_EQ(QByteArray::fromStdString(bytesOf(path)), written);
    EXPECT_EQ(outcomes[1 - winner].found, data::fingerprintOf(written));
    EXPECT_EQ(QByteArray::fromStdString(bytesOf(backup)), base);
    EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
  }
}

// A copy of the program stopped in the middle of a save (a debugger,
// Ctrl+Z) keeps its lock for as long as it is stopped: another copy's save
// fails after a short wait, says why, and changes nothing; the event loop
// turns meanwhile. Once the first copy goes on, its save completes whole,
// and the refused copy learns at its next save that the file changed.
TEST_F(SaveFile, ACopyStoppedInTheMiddleOfASaveKeepsItsLock) {
  const QByteArray base = data::fileBytes(dictionary(256));
  put(path, base);
  const QByteArray read = data::fingerprintOf(base);
  QList<QStringList> edits[2] = {dictionary(256), dictionary(256)};
  edits[0][4][3] = "the stopped copy's row 5";
  edits[1][5][3] = "the other copy's row 6";

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::testing::setStepHook([](const QString& name, WriteStep step) {
      if (name == "dictionary.wdb" && step == WriteStep::Write)
        raise(SIGSTOP);
    });
    const data::SaveOutcome outcome = data::saveFileIfUnchanged(path, edits[0], read);
    _exit(outcome.failure || outcome.changedOnDisk ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, WUNTRACED), child);
  ASSERT_TRUE(WIFSTOPPED(status)) << status;

  bool turned = false;
  QTimer::singleShot(0, QCoreApplication::instance(), [&turned] { turned = true; });
  const data::SaveOutcome refused = data::saveFileIfUnchanged(path, edits[1], read);
  kill(child, SIGCONT);
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  ASSERT_TRUE(refused.failure);
  EXPECT_EQ(refused.failure->number(), platform::PermissionDenied);
  EXPECT_EQ(refused.failure->description(), "Permission denied: another copy of Lotwise is saving " + path +
                                                ". Nothing was saved; try again once it has finished.");
  EXPECT_TRUE(turned);
  EXPECT_EQ(QByteArray::fromStdString(bytesOf(path)), data::fileBytes(edits[0]));
  EXPECT_EQ(QByteArray::fromStdString(bytesOf(backup)), base);
  EXPECT_TRUE(data::saveFileIfUnchanged(path, edits[1], read).changedOnDisk);
  EXPECT_EQ(entries(dir.path()), (QStringList{"dictionary.wdb", "dictionary.wdb.bak"}));
}

}  // namespace
