// Where the files live: the program's own folder, or, installed, the user's
// data folder, stocked at start-up with the shipped data files it lacks.
#include "data/datahome.h"
#include "platform/apppath.h"
#include "platform/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/files.h"
#include "support/printers.h"
#include "support/unprivileged.h"

namespace {

using namespace lotwise::test;

const QStringList kShipped{"words.wdb", "dictionary.wdb"};

// A program folder with the shipped data files, and a home of its own for
// the user's data folder. The layout goes back to the test binary's folder
// afterwards.
class FileHome : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(program));
    put(program + "/words.wdb", "shipped words");
    put(program + "/dictionary.wdb", "shipped dictionary");
    m_oldXdg = qgetenv("XDG_DATA_HOME");
    m_oldHome = qgetenv("HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
  }
  void TearDown() override {
    platform::testing::clearWriteFaults();
    restore("XDG_DATA_HOME", m_oldXdg);
    restore("HOME", m_oldHome);
    data::setAppPath(QString());
    data::chooseFileHome(platform::programPath(), {});
  }
  static void restore(const char* name, const QByteArray& value) {
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  }
  void install() { put(program + "/lotwise.installed", ""); }

  QTemporaryDir root;
  const QString program = root.filePath("usr/lib/lotwise");
  const QString data = root.filePath("data");
  const QString userFolder = data + "/lotwise";

private:
  QByteArray m_oldXdg, m_oldHome;
};

TEST_F(FileHome, BuildOrCopiedFolderKeepsEveryFileInTheProgramFolder) {
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(data::appPath(), program);
  EXPECT_EQ(data::appFile("meanings_tmp.htm"), program + "/meanings_tmp.htm");
  EXPECT_EQ(data::shippedFolder(), "");
  EXPECT_FALSE(QFileInfo::exists(data));
}

TEST_F(FileHome, InstalledProgramWorksInTheUsersDataFolder) {
  install();
  const QStringList programFiles = entries(program);
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(data::appPath(), userFolder);
  EXPECT_EQ(data::appFile("results.txt"), userFolder + "/results.txt");
  EXPECT_EQ(data::shippedFolder(), program);
  EXPECT_EQ(bytesOf(userFolder + "/words.wdb"), "shipped words");
  EXPECT_EQ(bytesOf(userFolder + "/dictionary.wdb"), "shipped dictionary");
  EXPECT_EQ(entries(userFolder), (QStringList{"dictionary.wdb", "words.wdb"}));
  EXPECT_EQ(entries(data), QStringList{"lotwise"});
  EXPECT_EQ(entries(program), programFiles);
  EXPECT_EQ(data::readOnlyNotice(), "");
  // Made by the program, it is private, as the XDG rules ask.
  EXPECT_FALSE(QFileInfo(userFolder).permissions().testAnyFlags(QFile::ReadOther | QFile::ReadGroup));

  // The next start keeps the user's edits and replaces only what is gone;
  // a link of the user's stays, even one that points nowhere.
  put(userFolder + "/words.wdb", "my own words");
  QFile::remove(userFolder + "/dictionary.wdb");
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(bytesOf(userFolder + "/words.wdb"), "my own words");
  EXPECT_EQ(bytesOf(userFolder + "/dictionary.wdb"), "shipped dictionary");
  QFile::remove(userFolder + "/dictionary.wdb");
  ASSERT_TRUE(QFile::link(root.filePath("elsewhere"), userFolder + "/dictionary.wdb"));
  data::chooseFileHome(program, kShipped);
  EXPECT_TRUE(QFileInfo(userFolder + "/dictionary.wdb").isSymLink());
  EXPECT_FALSE(QFileInfo::exists(root.filePath("elsewhere")));
  EXPECT_EQ(entries(program), programFiles);
  EXPECT_EQ(entries(data), QStringList{"lotwise"});
}

TEST_F(FileHome, WithoutXdgDataHomeTheFolderIsUnderHome) {
  install();
  qunsetenv("XDG_DATA_HOME");
  qputenv("HOME", QFile::encodeName(root.filePath("home/ann")));
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(data::appPath(), root.filePath("home/ann/.local/share/lotwise"));
  EXPECT_EQ(bytesOf(data::appFile("words.wdb")), "shipped words");
}

TEST_F(FileHome, ARelativeXdgDataHomeIsIgnored) {
  install();
  const QString cwd = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(root.path()));
  qputenv("XDG_DATA_HOME", "relative/share");
  qputenv("HOME", QFile::encodeName(root.filePath("home/ann")));
  data::chooseFileHome(program, kShipped);
  QDir::setCurrent(cwd);
  EXPECT_EQ(data::appPath(), root.filePath("home/ann/.local/share/lotwise"));
  EXPECT_EQ(bytesOf(data::appFile("dictionary.wdb")), "shipped dictionary");
  EXPECT_FALSE(QFileInfo::exists(root.filePath("relative")));
}

// What a run that writes nothing must show: the shipped files read where
// they lie, the cause and the folders named, every write refused with the
// cause, and nothing left beside the data folder or in the program's.
void expectReadOnlyRun(const QString& program, const QString& cause, const QStringList& named) {
  const QStringList programFiles = entries(program);
  EXPECT_EQ(data::appPath(), program);
  EXPECT_EQ(data::shippedFolder(), "");
  EXPECT_EQ(bytesOf(data::appFile("words.wdb")), "shipped words");
  const QString notice = data::readOnlyNotice();
  EXPECT_TRUE(notice.contains(cause)) << notice.toStdString();
  EXPECT_TRUE(notice.contains("reads the data files it was installed with, from " + program + ", and writes nothing"))
      << notice.toStdString();
  for (const QString& path : named)
    EXPECT_TRUE(notice.contains(path)) << notice.toStdString() << " lacks " << path.toStdString();
  for (const char* name : {"meanings_tmp.htm", "results.txt", "words.wdb"}) {
    const std::optional<platform::Error> refused =
        data::writeFile(data::appFile(name), "written in a run that writes nothing");
    ASSERT_TRUE(refused) << name;
    EXPECT_TRUE(refused->description().contains(cause)) << refused->description().toStdString();
  }
  EXPECT_EQ(entries(program), programFiles);
  EXPECT_EQ(bytesOf(program + "/words.wdb"), "shipped words");
}

TEST_F(FileHome, WithoutAUsableHomeItReadsTheShippedFilesAndWritesNothing) {
  install();
  struct Case {
    const char* what;
    std::optional<QByteArray> home, xdg;
    QString why;
  };
  const Case cases[] = {
      {"HOME unset", std::nullopt, std::nullopt, "HOME is not set"},
      {"HOME empty", QByteArray(""), std::nullopt, "HOME is empty"},
      {"HOME relative", QByteArray("home/ann"), std::nullopt, "HOME is home/ann, not an absolute path"},
      {"HOME the root folder", QByteArray("/"), std::nullopt, "HOME is the root folder"},
      {"HOME unset, XDG_DATA_HOME relative", std::nullopt, QByteArray(".local/share"), "HOME is not set"},
  };
  const bool rootDataBefore = QFileInfo::exists("/.local/share/lotwise");
  const QString cwd = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(root.path()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.home ? qputenv("HOME", *c.home) : qunsetenv("HOME");
    c.xdg ? qputenv("XDG_DATA_HOME", *c.xdg) : qunsetenv("XDG_DATA_HOME");
    data::chooseFileHome(program, kShipped);
    expectReadOnlyRun(program, "no home folder", {});
    EXPECT_TRUE(data::readOnlyNotice().startsWith("Lotwise found no home folder (" + c.why + ")"))
        << data::readOnlyNotice().toStdString();
  }
  QDir::setCurrent(cwd);
  EXPECT_EQ(entries(root.path()), (QStringList{"usr"}));
  if (!rootDataBefore) {
    EXPECT_FALSE(QFileInfo::exists("/.local/share/lotwise"));
  }

  // A usable home ends it.
  qputenv("XDG_DATA_HOME", QFile::encodeName(data));
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(data::appPath(), userFolder);
  EXPECT_EQ(data::writeFile(data::appFile("results.txt"), "saved"), std::nullopt);
}

TEST_F(FileHome, ACopyThatFailsSaysWhyAndTheNextStartCopiesWhatIsMissing) {
  install();
  // A new data folder: the word list is copied, the dictionary is not.
  platform::testing::failWriteStep("dictionary.wdb", platform::WriteStep::Write, ENOSPC);
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(entries(data), QStringList{"lotwise"});
  EXPECT_EQ(entries(userFolder), QStringList{"words.wdb"});
  expectReadOnlyRun(program, "No space left on device", {program + "/dictionary.wdb", userFolder});

  // The user's word list stays as it is, whatever happens to the copy.
  put(userFolder + "/words.wdb", "my own words");
  platform::testing::failWriteStep("dictionary.wdb", platform::WriteStep::Commit, EACCES);
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(entries(userFolder), QStringList{"words.wdb"});
  EXPECT_EQ(bytesOf(userFolder + "/words.wdb"), "my own words");
  expectReadOnlyRun(program, "Permission denied", {program + "/dictionary.wdb", userFolder});

  // Once the copy can be made, it is.
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(data::appPath(), userFolder);
  EXPECT_EQ(bytesOf(userFolder + "/words.wdb"), "my own words");
  EXPECT_EQ(bytesOf(userFolder + "/dictionary.wdb"), "shipped dictionary");
  EXPECT_EQ(entries(data), QStringList{"lotwise"});
}

// Beside the data folder and in it, the only things a start makes are the
// folder and the copies it lacks: look-alikes of the user's are left alone.
TEST_F(FileHome, OnlyTheMissingCopiesAreMade) {
  install();
  ASSERT_TRUE(QDir().mkpath(data + "/.lotwise-seed-mine"));
  put(data + "/.lotwise-seed-mine/notes", "mine");
  ASSERT_TRUE(QDir().mkpath(userFolder));
  for (const char* name : {"words.wdb.Backup", "dictionary.wdb.XyZ123", "results.txt.Monday", "words.wdb.unsaved"})
    put(userFolder + "/" + name, name);
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(entries(data), (QStringList{".lotwise-seed-mine", "lotwise"}));
  EXPECT_EQ(entries(userFolder), (QStringList{"dictionary.wdb", "dictionary.wdb.XyZ123", "results.txt.Monday",
                                              "words.wdb", "words.wdb.Backup", "words.wdb.unsaved"}));
  EXPECT_EQ(bytesOf(userFolder + "/words.wdb.Backup"), "words.wdb.Backup");
}

// With no folder to be found for the program, it works neither in the
// current folder nor in the root: every file is missing and nothing is
// written.
TEST_F(FileHome, WithoutAProgramFolderNothingIsReadOrWritten) {
  data::chooseFileHome(QString(), kShipped);
  EXPECT_EQ(data::appPath(), "");
  EXPECT_EQ(data::appFile("words.wdb"), "");
  EXPECT_TRUE(data::readOnlyNotice().startsWith("Lotwise could not tell which folder it was started from"));
  EXPECT_TRUE(data::writeFile(data::appFile("meanings_tmp.htm"), "page"));
  EXPECT_FALSE(QFileInfo::exists("meanings_tmp.htm"));
}

// The names older callers use still lead to the data home.
TEST_F(FileHome, TheOlderNamesLeadToTheSameFolder) {
  platform::setAppPath(root.filePath("elsewhere"));
  EXPECT_EQ(data::appPath(), root.filePath("elsewhere"));
  EXPECT_EQ(platform::appFile("words.wdb"), data::appFile("words.wdb"));
  EXPECT_EQ(platform::kInstalledMarker, "lotwise.installed");
}

TEST_F(FileHome, AReadOnlyDataHomeIsNamedWithItsCause) {
  install();
  ASSERT_TRUE(QDir().mkpath(data));
  ASSERT_EQ(chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
  ASSERT_EQ(chmod(QFile::encodeName(data).constData(), 0555), 0);
  {
    Unprivileged user;
    LOTWISE_REQUIRE_UNPRIVILEGED(user);
    data::chooseFileHome(program, kShipped);
    expectReadOnlyRun(program, "Permission denied", {data, userFolder});
  }
  EXPECT_EQ(entries(data), QStringList{});
}

// A home on a small file system with little room left: as a user's full
// disk, with the real data files.
class FullDisk : public FileHome {
protected:
  void SetUp() override {
    FileHome::SetUp();
    if (geteuid() != 0)
      GTEST_SKIP() << "mounting a small file system needs root";
    ASSERT_TRUE(QDir().mkpath(home));
    if (mount("tmpfs", QFile::encodeName(home).constData(), "tmpfs", 0, "size=64k") != 0)
      GTEST_SKIP() << "cannot mount a tmpfs here: " << strerror(errno);
    m_mounted = true;
    for (const QString& name : kShipped)
      ASSERT_TRUE(QFile::remove(program + "/" + name) &&
                  QFile::copy(QStringLiteral(LOTWISE_DATA_DIR "/") + name, program + "/" + name));
  }
  void TearDown() override {
    if (m_mounted)
      umount2(QFile::encodeName(home).constData(), MNT_DETACH);
    FileHome::TearDown();
  }
  const QString home = root.filePath("home/ann");

private:
  bool m_mounted = false;
};

TEST_F(FullDisk, AFirstStartOnAFullDiskSaysWhyAndTheNextCopiesTheRest) {
  install();
  // Room for the word list, not for the dictionary too.
  put(home + "/photos", QByteArray(40 * 1024, 'p'));
  qunsetenv("XDG_DATA_HOME");
  qputenv("HOME", QFile::encodeName(home));
  data::chooseFileHome(program, kShipped);
  const QString folder = home + "/.local/share/lotwise";
  EXPECT_EQ(entries(folder), QStringList{"words.wdb"});
  EXPECT_EQ(data::appPath(), program);
  const QString notice = data::readOnlyNotice();
  EXPECT_TRUE(notice.startsWith("Lotwise could not copy " + program + "/dictionary.wdb into its data folder " + folder +
                                ": No space left on device."))
      << notice.toStdString();

  // Room made, the next start copies what is missing.
  ASSERT_TRUE(QFile::remove(home + "/photos"));
  data::chooseFileHome(program, kShipped);
  EXPECT_EQ(data::appPath(), folder);
  EXPECT_EQ(entries(folder), (QStringList{"dictionary.wdb", "words.wdb"}));
  EXPECT_EQ(data::readOnlyNotice(), "");
}

TEST_F(FileHome, SetAppPathWinsInEitherLayout) {
  for (bool installed : {false, true}) {
    SCOPED_TRACE(installed);
    if (installed)
      install();
    data::chooseFileHome(program, kShipped);
    data::setAppPath(root.filePath("elsewhere/"));
    EXPECT_EQ(data::appFile("words.wdb"), root.filePath("elsewhere/words.wdb"));
    EXPECT_EQ(data::shippedFolder(), "");
    data::setAppPath(QString());
    EXPECT_EQ(data::appPath(), installed ? userFolder : program);
  }
}

}  // namespace
