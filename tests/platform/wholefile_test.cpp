// Whole files: a temporary file in the same folder takes the file's place
// only once complete; every failure leaves the file and its folder as they
// were and names its real cause.
#include "platform/error.h"
#include "platform/wholefile.h"
#include "support/errorof.h"
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

using namespace lotwise::test;
using platform::WriteStep;

std::string failure(const std::optional<platform::Error>& error) {
  return error ? QStringLiteral("%1 %2").arg(error->number()).arg(error->description()).toStdString() : "none";
}

TEST(FileError, EachCauseHasItsNumberAndWords) {
  struct Case {
    int error;
    std::string expected;
  };
  const Case cases[] = {
      {ENOSPC, "61 Disk full"},
      {EDQUOT, "61 Disk full"},
      {EFBIG, "61 Disk full"},
      {EACCES, "70 Permission denied"},
      {EPERM, "70 Permission denied"},
      {ENOENT, "53 File not found"},
      {EROFS, "75 Path/File access error: Read-only file system"},
      {EISDIR, "75 Path/File access error: Is a directory"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(failure(platform::fileError(c.error)), c.expected) << c.error;
  EXPECT_EQ(platform::fileError(EACCES).reason(), "Permission denied");
  // A failure Qt found itself carries Qt's words.
  EXPECT_EQ(failure(platform::fileError(0, "Filename refers to a directory")),
            "75 Path/File access error: Filename refers to a directory");
}

class WholeFile : public ::testing::Test {
protected:
  void TearDown() override {
    platform::testing::clearWriteFaults();
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
  }
  void setFolderMode(mode_t mode) { ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), mode), 0); }

  QTemporaryDir dir;
  const QString path = dir.filePath("page.htm");
};

TEST_F(WholeFile, ReplacesTheFileAndLeavesNothingBeside) {
  put(path, "an older and much longer content");
  EXPECT_EQ(failure(platform::writeWholeFile(path, "new")), "none");
  EXPECT_EQ(bytesOf(path), "new");

  {
    platform::FileWriter writer(path);
    EXPECT_EQ(failure(writer.write("one, ")), "none");
    EXPECT_EQ(failure(writer.write("two")), "none");
    EXPECT_EQ(bytesOf(path), "new");  // nothing shows before the commit
    EXPECT_EQ(failure(writer.commit()), "none");
  }
  EXPECT_EQ(bytesOf(path), "one, two");

  {
    platform::FileWriter dropped(path);
    EXPECT_EQ(failure(dropped.write("never committed")), "none");
  }
  EXPECT_EQ(bytesOf(path), "one, two");

  EXPECT_EQ(failure(platform::writeWholeFile(dir.filePath("empty"), "")), "none");
  EXPECT_EQ(bytesOf(dir.filePath("empty")), "");
  EXPECT_EQ(entries(dir.path()), (QStringList{"empty", "page.htm"}));
}

TEST_F(WholeFile, ALinkInThePlaceOfTheFileIsReplacedNotWrittenThrough) {
  const QString other = dir.filePath("someone-elses.txt");
  put(other, "not ours to write");
  ASSERT_TRUE(QFile::link(other, path));
  EXPECT_EQ(failure(platform::writeWholeFile(path, "page")), "none");
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  EXPECT_EQ(bytesOf(path), "page");
  EXPECT_EQ(bytesOf(other), "not ours to write");

  // A link to nothing: the file takes its place, nothing appears where it
  // pointed.
  const QString results = dir.filePath("results.txt");
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), results));
  EXPECT_EQ(failure(platform::writeWholeFile(results, "saved")), "none");
  EXPECT_FALSE(QFileInfo(results).isSymLink());
  EXPECT_EQ(bytesOf(results), "saved");
  EXPECT_EQ(entries(dir.path()), (QStringList{"page.htm", "results.txt", "someone-elses.txt"}));
}

TEST_F(WholeFile, RealFailuresNameTheirCauseAndChangeNothing) {
  put(path, "old");
  const QByteArray page(64 * 1024, 'x');

  {
    FileSizeLimit limit(4096);
    ASSERT_TRUE(limit.set());
    EXPECT_EQ(failure(platform::writeWholeFile(path, page)), "61 Disk full");
  }
  EXPECT_EQ(bytesOf(path), "old");
  EXPECT_EQ(entries(dir.path()), QStringList{"page.htm"});

  EXPECT_EQ(failure(platform::writeWholeFile(dir.filePath("no/such.htm"), page)), "53 File not found");

  ASSERT_TRUE(QDir(dir.path()).mkdir("results.txt"));
  EXPECT_EQ(failure(platform::writeWholeFile(dir.filePath("results.txt"), page)),
            "75 Path/File access error: Is a directory");
  EXPECT_TRUE(QFileInfo(dir.filePath("results.txt")).isDir());
  ASSERT_TRUE(QDir(dir.path()).rmdir("results.txt"));

  setFolderMode(0555);
  {
    Unprivileged user;
    LOTWISE_REQUIRE_UNPRIVILEGED(user);
    EXPECT_EQ(failure(platform::writeWholeFile(path, page)), "70 Permission denied");
    EXPECT_EQ(failure(platform::writeWholeFile(dir.filePath("new.htm"), page)), "70 Permission denied");
  }
  EXPECT_EQ(bytesOf(path), "old");
  EXPECT_EQ(entries(dir.path()), QStringList{"page.htm"});
}

TEST_F(WholeFile, AFaultAtAnyStepLeavesTheFileAsItWas) {
  for (WriteStep step : {WriteStep::Create, WriteStep::Write, WriteStep::Commit}) {
    SCOPED_TRACE(int(step));
    put(path, "old");
    platform::testing::failWriteStep("page.htm", step, ENOSPC);
    EXPECT_EQ(failure(platform::writeWholeFile(path, "new")), "61 Disk full");
    EXPECT_EQ(bytesOf(path), "old");
    EXPECT_EQ(entries(dir.path()), QStringList{"page.htm"});
    // Once only.
    EXPECT_EQ(failure(platform::writeWholeFile(path, "new")), "none");
    EXPECT_EQ(bytesOf(path), "new");
  }
}

TEST(ReadWholeFile, ReadsEveryByteAndRefusesWhatIsNoFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("words.wdb");
  const QByteArray bytes("\x00\x01\r\n\xff end", 9);
  put(path, bytes);
  EXPECT_EQ(platform::readWholeFile(path, 9), bytes);
  EXPECT_EQ(platform::readWholeFile(path, 1 << 20), bytes);
  EXPECT_EQ(platform::readWholeFile(path, 8), std::nullopt);
  // A file that reports no size and reads on without end is given up long
  // before the limit.
  EXPECT_EQ(errorOf([] { platform::readWholeFile("/proc/self/pagemap", qint64(1) << 30); }),
            platform::PathFileAccessError);

  EXPECT_EQ(errorOf([&] { platform::readWholeFile(dir.filePath("missing"), 100); }), platform::FileNotFound);
  EXPECT_EQ(errorOf([&] { platform::readWholeFile(dir.path(), 100); }), platform::PathFileAccessError);
  EXPECT_EQ(errorOf([] { platform::readWholeFile("/dev/zero", 100); }), platform::PathFileAccessError);

  // A pipe would block the reader until someone writes into it, and a link
  // to one is the pipe.
  const QString pipe = dir.filePath("pipe.wdb");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  EXPECT_EQ(errorOf([&] { platform::readWholeFile(pipe, 100); }), platform::PathFileAccessError);
  ASSERT_TRUE(QFile::link(pipe, dir.filePath("link.wdb")));
  EXPECT_EQ(errorOf([&] { platform::readWholeFile(dir.filePath("link.wdb"), 100); }), platform::PathFileAccessError);

  ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0), 0);
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
  Unprivileged user;
  LOTWISE_REQUIRE_UNPRIVILEGED(user);
  EXPECT_EQ(errorOf([&] { platform::readWholeFile(path, 100); }), platform::PermissionDenied);
}

// A new file appears whole or not at all, and never in the place of one
// that is there.
TEST_F(WholeFile, ANewFileNeverReplacesOne) {
  EXPECT_EQ(failure(platform::writeNewFile(path, "first")), "none");
  EXPECT_EQ(bytesOf(path), "first");
  EXPECT_EQ(failure(platform::writeNewFile(path, "second")), "75 Path/File access error: File exists");
  EXPECT_EQ(bytesOf(path), "first");
  const QString link = dir.filePath("link.htm");
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), link));
  EXPECT_EQ(failure(platform::writeNewFile(link, "through")), "75 Path/File access error: File exists");
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("nowhere")));

  const QString fresh = dir.filePath("fresh.htm");
  for (WriteStep step : {WriteStep::Create, WriteStep::Write, WriteStep::Commit}) {
    SCOPED_TRACE(int(step));
    platform::testing::failWriteStep("fresh.htm", step, ENOSPC);
    EXPECT_EQ(failure(platform::writeNewFile(fresh, "new")), "61 Disk full");
    EXPECT_EQ(entries(dir.path()), (QStringList{"link.htm", "page.htm"}));
  }
}

}  // namespace
