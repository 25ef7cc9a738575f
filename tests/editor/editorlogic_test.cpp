// The editor's plain rules: reading the files into rows, the Words of a row,
// the row a Goto answer names, the line breaks of a meaning.
#include "editor/editorlogic.h"
#include "support/appdir.h"
#include "support/printers.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using editor::WordColumn;
using lotwise::test::AppDir;

TEST(ReadWordList, TakesTheFirstSixteenRecordsTrimmed) {
  AppDir dir;
  QByteArray bytes = "\" 0000 \",\"  nil  \"\r\n0001,one\r\n";  // the second hand-made, without quotes
  for (int k = 2; k < 17; ++k)
    bytes += QStringLiteral("\"%1\",\"w%2\"\r\n").arg(k, 4, 2, QChar('0')).arg(k).toLatin1();
  dir.write("words.wdb", bytes);

  const editor::WordList list = editor::readWordList(dir.file("words.wdb"));
  EXPECT_EQ(list.codes[0], "0000");
  EXPECT_EQ(list.words[0], "nil");
  EXPECT_EQ(list.codes[1], "0001");
  EXPECT_EQ(list.words[1], "one");
  EXPECT_EQ(list.codes[15], "1111");
  EXPECT_EQ(list.words[15], "w15");  // the 17th record, 10000, is not read into any row
}

TEST(ReadWordList, AShortOrMissingFileLeavesTheRestEmpty) {
  AppDir dir;
  dir.write("words.wdb", "\"0000\",\"nil\"\r\n");
  const editor::WordList shortList = editor::readWordList(dir.file("words.wdb"));
  EXPECT_EQ(shortList.words[0], "nil");
  EXPECT_EQ(shortList.codes[1], "");
  EXPECT_EQ(shortList.words[15], "");

  const editor::WordList none = editor::readWordList(dir.file("missing.wdb"));
  for (int k = 0; k < editor::kWordRows; ++k)
    EXPECT_TRUE(none.codes[k].isEmpty() && none.words[k].isEmpty()) << k;
}

TEST(ReadDictionary, FillsRowsInFileOrderAndKeepsLineBreaksOfAMeaning) {
  AppDir dir;
  QByteArray bytes = "\"0000\",\"0001\",\"a - b\",\" first\r\nsecond \"\r\n";
  for (int r = 2; r <= 200; ++r)
    bytes += QStringLiteral("\"0000\",\"0000\",\"a - a\",\"Meaning %1\"\r\n").arg(r).toLatin1();
  dir.write("dictionary.wdb", bytes);

  const editor::Dictionary d = editor::readDictionary(dir.file("dictionary.wdb"));
  EXPECT_EQ(d.code1[0], "0000");
  EXPECT_EQ(d.code2[0], "0001");
  EXPECT_EQ(d.words[0], "a - b");
  EXPECT_EQ(d.meaning[0], "first\r\nsecond");
  EXPECT_EQ(d.meaning[199], "Meaning 200");
  EXPECT_EQ(d.code1[200], "");
  EXPECT_EQ(d.meaning[255], "");
}

TEST(ReadDictionary, RowsAfterTheLastAreIgnored) {
  AppDir dir;
  QByteArray bytes;
  for (int r = 1; r <= 300; ++r)
    bytes += QStringLiteral("\"\",\"\",\"\",\"%1\"\r\n").arg(r).toLatin1();
  dir.write("dictionary.wdb", bytes);
  const editor::Dictionary d = editor::readDictionary(dir.file("dictionary.wdb"));
  EXPECT_EQ(d.meaning[255], "256");
}

TEST(ReadingTheFiles, SaysWhyAFileThatIsThereCouldNotBeRead) {
  AppDir dir;
  dir.write("words.wdb", "\"0000\",\"nil\"\r\n");
  EXPECT_FALSE(editor::readWordList(dir.file("words.wdb")).unread.has_value());
  EXPECT_FALSE(editor::readWordList(dir.file("missing.wdb")).unread.has_value());  // nothing there to lose

  // A folder in the file's place, and a file whose reading fails: the start
  // of a process's memory is never mapped, so reading it is an I/O error.
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.wdb"));
  ASSERT_TRUE(QFile::link("/proc/self/mem", dir.file("failing.wdb")));
  for (const char* name : {"folder.wdb", "failing.wdb"}) {
    SCOPED_TRACE(name);
    const editor::WordList words = editor::readWordList(dir.file(name));
    ASSERT_TRUE(words.unread.has_value());
    EXPECT_EQ(words.unread->number(), platform::PathFileAccessError);
    EXPECT_FALSE(words.unread->description().isEmpty());
    EXPECT_TRUE(editor::readDictionary(dir.file(name)).unread.has_value());
  }
}

TEST(SavedRecords, AreAlwaysSixteenWordsAndTwoHundredFiftySixRows) {
  WordColumn codes, words;
  codes[3] = "0011";
  words[3] = "three";
  const QList<QStringList> wordRecords = editor::wordRecords(codes, words);
  ASSERT_EQ(wordRecords.size(), 16);
  EXPECT_EQ(wordRecords[3], (QStringList{"0011", "three"}));
  EXPECT_EQ(wordRecords[15], (QStringList{"", ""}));

  editor::DictColumn c1, c2, w, m;
  m[255] = "last";
  const QList<QStringList> rows = editor::dictionaryRecords(c1, c2, w, m);
  ASSERT_EQ(rows.size(), 256);
  EXPECT_EQ(rows[255], (QStringList{"", "", "", "last"}));
}

TEST(ComposeWords, TakesTheWordAtEachCodesValue) {
  WordColumn words;
  for (int k = 0; k < 16; ++k)
    words[k] = QStringLiteral("w%1").arg(k);
  words[5] = " spaced ";
  struct Case {
    const char* code1;
    const char* code2;
    QString expected;
  };
  const Case cases[] = {
      {"0000", "1111", "w0 - w15"},
      {"0101", "0011", " spaced  - w3"},    // words as they stand, spaces kept
      {"", "", "w0 - w0"},                  // an empty code counts as 0
      {"0200", "1x0", "w8 - w4"},           // other digits count with their value, other characters as 0
      {"10000", "0001", " - w1"},           // 16 names no word row
      {"99999999999999", "0001", " - w1"},  // too large to compute: no word either
  };
  for (const Case& c : cases)
    EXPECT_EQ(editor::composeWords(words, c.code1, c.code2), c.expected) << c.code1 << " " << c.code2;
}

TEST(GotoRow, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
  struct Case {
    const char* answer;
    std::optional<int> row;
  };
  const Case cases[] = {
      {"12", 12},
      {"12abc", 12},
      {"0.6", 1},
      {"256.5", 256},
      {"2.5", 2},
      {"3.5", 4},
      {" 1 2 ", 12},
      {"&H10", 16},
      {"1e2", 100},
      {"0", std::nullopt},
      {"257", std::nullopt},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"-3", std::nullopt},
      {"0.4", std::nullopt},
      {"99999999999", std::nullopt},  // beyond 32 bits
      {"1e300", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(editor::gotoRow(c.answer), c.row) << '"' << c.answer << '"';
}

TEST(FrameCaption, NamesTheRowOfAll) { EXPECT_EQ(editor::frameCaption(5), "Dictionary : Row 5 of 256"); }

TEST(WithFileLineBreaks, WritesEveryLineBreakAsCrLf) {
  EXPECT_EQ(editor::withFileLineBreaks("a\r\nb"), "a\r\nb");
  EXPECT_EQ(editor::withFileLineBreaks("a\nb\rc"), "a\r\nb\r\nc");
  EXPECT_EQ(editor::withFileLineBreaks(QStringLiteral("a\u2029b\u2028c")), "a\r\nb\r\nc");
  EXPECT_EQ(editor::withFileLineBreaks("a\r\n\r\nb\t"), "a\r\n\r\nb\t");
}

}  // namespace
