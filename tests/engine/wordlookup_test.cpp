#include "engine/meanings.h"
#include "engine/reading.h"
#include "support/appdir.h"

#include <QDir>
#include <gtest/gtest.h>

#include "support/printers.h"

namespace {

using lotwise::test::AppDir;

TEST(WordLookup, FindsTheTrimmedCodeAndTheLastMatch) {
  AppDir dir;
  dir.write("words.wdb",
            "\"0000\",\"first\"\r\n"
            "\"0101\",\"five\"\r\n"
            "\"0000\",\"second\"\r\n"
            "  \"0011\"  ,  \" spaced word \"  \r\n"
            "0110,unquoted\r\n"
            "\"0101x\",\"longer code\"\r\n"
            "\"101\",\"shorter code\"\r\n");
  struct Case {
    const char* what;
    QString code, word;
  };
  const Case cases[] = {
      {"a code in no record", "1111", ""},
      {"two records with the code: the last wins", "0000", "second"},
      {"spaces around code and word are dropped", "0011", "spaced word"},
      {"a code with a space never matches", "0011 ", ""},
      {"a code with a leading space never matches", " 0011", ""},
      {"whole codes only", "0101", "five"},
      {"a hand-made line without quotes", "0110", "unquoted"},
      {"the empty code", "", ""},
  };
  engine::Reading reading(dir.file("words.wdb"), QString());
  for (const Case& c : cases)
    EXPECT_EQ(reading.word(c.code, nullptr), c.word) << c.what;
}

// Both lookups tell their caller when the file is gone or unreadable, and
// only then: a file that merely lacks the code is no trouble.
TEST(WordLookup, MissingOrUnreadableFileGivesNothingAndTellsTheCaller) {
  AppDir dir;
  const auto lookUp = [&](const QString& name, bool& troubled) {
    return engine::Reading(dir.file(name), QString()).word("0000", &troubled);
  };
  bool troubled = false;
  EXPECT_EQ(lookUp("words.wdb", troubled), "");
  EXPECT_TRUE(troubled);
  EXPECT_FALSE(dir.exists("words.wdb"));  // nothing is created
  ASSERT_TRUE(QDir(dir.path()).mkdir("words.wdb"));
  troubled = false;
  EXPECT_EQ(lookUp("words.wdb", troubled), "");
  EXPECT_TRUE(troubled);

  dir.write("other.wdb", "\"0001\",\"one\"\r\n");
  troubled = false;
  EXPECT_EQ(lookUp("other.wdb", troubled), "");
  EXPECT_FALSE(troubled);
}

TEST(DictionaryLookup, FirstRowOfThePairAsRead) {
  AppDir dir;
  dir.write("dictionary.wdb",
            "\"0001\",\"0010\",\"a - b\",\"first\"\r\n"
            "\"0001\",\"0010\",\"a - b\",\"second\"\r\n"
            " 0011 ,\"0011\",\"c - c\",\"two\r\nlines\"\r\n");
  engine::Reading reading(QString(), dir.file("dictionary.wdb"));
  EXPECT_EQ(reading.entry("0001", "0010", nullptr)->meaning, "first");
  EXPECT_EQ(reading.entry("0011", "0011", nullptr)->meaning, "two\r\nlines");  // unquoted: spaces around go
  bool troubled = false;
  EXPECT_FALSE(reading.entry("0010", "0001", &troubled));
  EXPECT_FALSE(troubled);
  EXPECT_FALSE(engine::Reading(QString(), dir.file("missing.wdb")).entry("0001", "0010", &troubled));
  EXPECT_TRUE(troubled);
}

TEST(MeaningsPage, LinesOfAnEntry) {
  EXPECT_EQ(engine::headingLine("Dawn - Dusk", false), "<b><i>Dawn - Dusk</i></b><br>");
  EXPECT_EQ(engine::headingLine("Dawn - Dawn", true), "<b><i>Dawn - Dawn</></b><br>");
  EXPECT_EQ(engine::meaningLine("Go."), "Go.<br><br>");
}

}  // namespace
