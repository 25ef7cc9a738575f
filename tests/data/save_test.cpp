// Saving a whole file with its backup, and what a failure leaves on disk.
#include "data/records.h"
#include "platform/error.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>

namespace {

using namespace std::string_literals;

// Bytes as std::string: a failure then prints them as readable text.
std::string bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

void writeBytes(const QString& path, const std::string& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

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
  void TearDown() override { platform::testing::failWriteAfter(0); }

  QTemporaryDir dir;
  const QString path = dir.filePath("dictionary.wdb");
  const QString backup = path + ".bak";
  // Hand-made and untidy on purpose: the backup must keep it byte for byte.
  const std::string old = "0000,0000,old,\"kept\nas is\"\n\x81\x00 end"s;
};

TEST_F(SaveFile, WritesTheTextFormAndKeepsTheOldContentInTheBackup) {
  writeBytes(path, old);
  writeBytes(backup, "an earlier backup");
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
    writeBytes(path, old);
    ASSERT_EQ(failure(data::saveFile(path, records)), "none");
    data::RecordReader reader = data::RecordReader::fromFile(path);
    QList<QStringList> read;
    while (!reader.atEnd() && read.size() <= count)
      read << reader.readRecord(fields);
    EXPECT_EQ(read, records);
  }
}

TEST_F(SaveFile, AMissingFileIsNotCreated) {
  const auto error = data::saveFile(path, dictionary(256));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->number(), platform::FileNotFound);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(SaveFile, AnUnwritableBackupStopsTheSave) {
  writeBytes(path, old);
  ASSERT_TRUE(QDir(dir.path()).mkdir("dictionary.wdb.bak"));
  EXPECT_TRUE(data::saveFile(path, dictionary(256)));
  EXPECT_EQ(bytesOf(path), old);
}

TEST_F(SaveFile, AFailedWriteRestoresTheFile) {
  for (int failingWrite : {1, 128, 256}) {
    SCOPED_TRACE(failingWrite);
    writeBytes(path, old);
    platform::testing::failWriteAfter(failingWrite);
    const auto error = data::saveFile(path, dictionary(256));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), platform::DiskFull);
    EXPECT_EQ(bytesOf(path), old);
    EXPECT_EQ(bytesOf(backup), old);
  }
}

// A real write failure: a file size limit above the old content (so the
// backup and the restore fit) and below the new one. Root ignores folder
// permissions, but not this limit.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // EFBIG instead of the signal
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool set() const { return m_set; }

private:
  rlimit m_old{};
  void (*m_oldHandler)(int) = nullptr;
  bool m_set = false;
};

TEST_F(SaveFile, ARealDiskFailureRestoresTheFile) {
  writeBytes(path, old);
  const QList<QStringList> records = dictionary(256);  // about 30 KB
  std::optional<platform::Error> error;
  {
    FileSizeLimit limit(4096);
    ASSERT_TRUE(limit.set());
    error = data::saveFile(path, records);
  }
  ASSERT_TRUE(error);
  EXPECT_FALSE(error->description().isEmpty());
  EXPECT_EQ(bytesOf(path), old);
  EXPECT_EQ(bytesOf(backup), old);
}

}  // namespace
