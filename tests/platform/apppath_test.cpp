// Where the files live: the program's own folder, or, installed, the user's
// data folder, stocked at start-up with the shipped data files.
#include "platform/apppath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/files.h"
#include "support/printers.h"

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
    restore("XDG_DATA_HOME", m_oldXdg);
    restore("HOME", m_oldHome);
    platform::setAppPath(QString());
    platform::chooseFileHome(platform::programPath(), {});
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
  platform::chooseFileHome(program, kShipped);
  EXPECT_EQ(platform::appPath(), program);
  EXPECT_EQ(platform::appFile("meanings_tmp.htm"), program + "/meanings_tmp.htm");
  EXPECT_EQ(platform::shippedFolder(), "");
  EXPECT_FALSE(QFileInfo::exists(data));
}

TEST_F(FileHome, InstalledProgramWorksInTheUsersDataFolder) {
  install();
  const QStringList programFiles = entries(program);
  platform::chooseFileHome(program, kShipped);
  EXPECT_EQ(platform::appPath(), userFolder);
  EXPECT_EQ(platform::appFile("results.txt"), userFolder + "/results.txt");
  EXPECT_EQ(platform::shippedFolder(), program);
  EXPECT_EQ(bytesOf(userFolder + "/words.wdb"), "shipped words");
  EXPECT_EQ(bytesOf(userFolder + "/dictionary.wdb"), "shipped dictionary");
  EXPECT_EQ(entries(userFolder), (QStringList{"dictionary.wdb", "words.wdb"}));
  EXPECT_EQ(entries(program), programFiles);

  // The next start keeps the user's edits and replaces only what is gone;
  // a link of the user's stays, even one that points nowhere.
  put(userFolder + "/words.wdb", "my own words");
  QFile::remove(userFolder + "/dictionary.wdb");
  platform::chooseFileHome(program, kShipped);
  EXPECT_EQ(bytesOf(userFolder + "/words.wdb"), "my own words");
  EXPECT_EQ(bytesOf(userFolder + "/dictionary.wdb"), "shipped dictionary");
  QFile::remove(userFolder + "/dictionary.wdb");
  ASSERT_TRUE(QFile::link(root.filePath("elsewhere"), userFolder + "/dictionary.wdb"));
  platform::chooseFileHome(program, kShipped);
  EXPECT_TRUE(QFileInfo(userFolder + "/dictionary.wdb").isSymLink());
  EXPECT_FALSE(QFileInfo::exists(root.filePath("elsewhere")));
  EXPECT_EQ(entries(program), programFiles);
}

TEST_F(FileHome, WithoutXdgDataHomeTheFolderIsUnderHome) {
  install();
  qunsetenv("XDG_DATA_HOME");
  qputenv("HOME", QFile::encodeName(root.filePath("home/ann")));
  platform::chooseFileHome(program, kShipped);
  EXPECT_EQ(platform::appPath(), root.filePath("home/ann/.local/share/lotwise"));
  EXPECT_EQ(bytesOf(platform::appFile("words.wdb")), "shipped words");
}

TEST_F(FileHome, SetAppPathWinsInEitherLayout) {
  for (bool installed : {false, true}) {
    SCOPED_TRACE(installed);
    if (installed)
      install();
    platform::chooseFileHome(program, kShipped);
    platform::setAppPath(root.filePath("elsewhere/"));
    EXPECT_EQ(platform::appFile("words.wdb"), root.filePath("elsewhere/words.wdb"));
    EXPECT_EQ(platform::shippedFolder(), "");
    platform::setAppPath(QString());
    EXPECT_EQ(platform::appPath(), installed ? userFolder : program);
  }
}

}  // namespace
