#include "platform/dirlookup.h"
#include "platform/error.h"
#include "support/errorof.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::findFirstEntry;

class DirLookup : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"words.wdb", "b.txt", "a.txt", ".hidden"})
      touch(name);
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  }
  void touch(const QString& name) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QString path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
};

TEST_F(DirLookup, FindsEntriesByKindAndMask) {
  struct Case {
    const char* what;
    QString name;
    int mask;
    QString expected;
  };
  const Case cases[] = {
      {"ordinary file", "words.wdb", 0, "words.wdb"},
      {"missing file", "nothing.wdb", 2, ""},
      {"hidden file, hidden allowed", ".hidden", 2, ".hidden"},
      {"hidden file, hidden not allowed", ".hidden", 0, ""},
      {"directory without the directory bit", "sub", 2, ""},
      {"directory with the directory bit", "sub", 16, "sub"},
      {"names are case-sensitive here", "WORDS.WDB", 2, ""},
      {"wildcard takes the first match in name order", "*.txt", 2, "a.txt"},
      {"question mark is one character", "?.txt", 2, "a.txt"},
      {"wildcard with no match", "*.xyz", 2, ""},
      {"wildcard skips hidden files without the bit", ".h*", 0, ""},
      {"wildcard reaches a directory with the bit", "s*", 16, "sub"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(findFirstEntry(path(c.name), c.mask), c.expected) << c.what;
}

TEST_F(DirLookup, MissingFolderOrMalformedPathIsAnError) {
  auto number = [](const QString& p) { return lotwise::test::errorOf([&] { findFirstEntry(p, 2); }); };
  EXPECT_EQ(number(path("nowhere/words.wdb")), platform::PathNotFound);
  EXPECT_EQ(number(path("s*/words.wdb")), platform::PathNotFound);  // no folder is named "s*"
  EXPECT_EQ(number(""), platform::BadFileName);
  EXPECT_EQ(number(path(QString("wo") + QChar(0) + "rds")), platform::BadFileName);
}

TEST_F(DirLookup, FolderPartIsTakenLiterally) {
  // Wildcards and brackets are legal in folder names here; a sibling that
  // the folder's name would match as a pattern must not be looked into.
  const QString odd = QString::fromUtf8("what? *[1] Bj\u00f6rk");
  ASSERT_TRUE(QDir(dir.path()).mkdir(odd));
  ASSERT_TRUE(QDir(dir.path()).mkdir("whatX *[1] Bjxrk"));
  touch(odd + "/words.wdb");
  touch("whatX *[1] Bjxrk/other.wdb");

  EXPECT_EQ(findFirstEntry(path(odd + "/words.wdb"), 2), "words.wdb");
  EXPECT_EQ(findFirstEntry(path(odd + "/*.wdb"), 2), "words.wdb");
  EXPECT_EQ(findFirstEntry(path(odd + "/other.wdb"), 2), "");
  EXPECT_EQ(findFirstEntry(path(odd + "/"), 2), "words.wdb");
}

TEST(Wildcard, MatchesStarAndQuestionMark) {
  EXPECT_TRUE(platform::matchesWildcard(u"abc", u"a*"));
  EXPECT_TRUE(platform::matchesWildcard(u"abc", u"*c"));
  EXPECT_TRUE(platform::matchesWildcard(u"abc", u"a?c"));
  EXPECT_TRUE(platform::matchesWildcard(u"", u"*"));
  EXPECT_FALSE(platform::matchesWildcard(u"abc", u"a?"));
  EXPECT_FALSE(platform::matchesWildcard(u"[a]", u"a"));
  EXPECT_TRUE(platform::matchesWildcard(u"[a]", u"[a]"));  // no character sets
  // Many stars against a long name must not blow up.
  EXPECT_FALSE(platform::matchesWildcard(QString(5000, 'a'), QString("*a").repeated(50) + "b"));
}

}  // namespace
