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
#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

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
    data::RecordReader reader = data::RecordReader::fromFile(path);
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
  };
  for (bool earlierBackup : {true, false}) {
    for (const Step& s : steps) {
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

}  // namespace
