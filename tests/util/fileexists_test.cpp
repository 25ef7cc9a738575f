#include "util/fileexists.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using util::FileExists;

class FileExistsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"words.wdb", ".hidden"}) {
      QFile f(dir.filePath(name));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    // Legal folder names on Linux, and the program's folder may carry one.
    const QString odd = QString::fromUtf8("what? *[x] \u00e9");
    ASSERT_TRUE(QDir(dir.path()).mkdir(odd));
    QFile f(dir.filePath(odd + "/words.wdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QString path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
};

TEST_F(FileExistsTest, AnswersByKindAndMask) {
  struct Case {
    const char* what;
    QString path;
    int mask;
    bool expected;
  };
  const Case cases[] = {
      {"ordinary file", path("words.wdb"), 2, true},
      {"missing file", path("dictionary.wdb"), 2, false},
      {"hidden file with the default mask", path(".hidden"), 2, true},
      {"hidden file without the hidden bit", path(".hidden"), 0, false},
      {"directory with the default mask", path("sub"), 2, false},
      {"directory with the directory bit", path("sub"), 16, true},
      {"wildcard that matches", path("*.wdb"), 2, true},
      {"wildcard that matches nothing", path("*.xyz"), 2, false},
      {"missing folder", path("nowhere/words.wdb"), 2, false},
      {"no folder of that literal name", path("s*/words.wdb"), 16, false},
      {"folder named with wildcards", path("what? *[x] \u00e9/words.wdb"), 2, true},
      {"empty path", "", 2, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileExists(c.path, c.mask), c.expected) << c.what;
  EXPECT_TRUE(FileExists(path("words.wdb")));  // the callers' form: mask left out
}

TEST_F(FileExistsTest, MaskGivenAsText) {
  EXPECT_TRUE(FileExists(path("sub"), QString("16")));
  EXPECT_TRUE(FileExists(path("sub"), QString(" &H10 ")));
  EXPECT_FALSE(FileExists(path("sub"), QString("2")));
  EXPECT_FALSE(FileExists(path("words.wdb"), QString("abc")));
  EXPECT_FALSE(FileExists(path("words.wdb"), QString("")));
  EXPECT_FALSE(FileExists(path("words.wdb"), QString("1e999")));
  EXPECT_FALSE(FileExists("", QString("2")));
}

}  // namespace
