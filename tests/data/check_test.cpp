// The check of the data files: each way a file can fall short, and the one
// warning that names it.
#include "data/check.h"
#include "support/files.h"
#include "support/fixtures.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

const QString kDataDir = QStringLiteral(LOTWISE_DATA_DIR);

QString problem(const std::optional<QString>& found) { return found ? *found : QStringLiteral("none"); }

QByteArray randomBytes(qsizetype size) {
  std::mt19937 random(7);
  QByteArray bytes(size, ' ');
  for (char& c : bytes)
    c = char(random());
  return bytes;
}

// The records of the shared word list, as lines.
QList<QByteArray> wordLines() { return wordsFile().split('\n').mid(0, 16); }

QByteArray joined(const QList<QByteArray>& lines) {
  QByteArray bytes;
  for (const QByteArray& line : lines)
    bytes += line + '\n';
  return bytes;
}

class DataCheck : public ::testing::Test {
protected:
  void TearDown() override { chmod(QFile::encodeName(dir.path()).constData(), 0700); }
  void put(const QString& name, const QByteArray& bytes) { lotwise::test::put(dir.filePath(name), bytes); }

  QTemporaryDir dir;
  const QString words = dir.filePath("words.wdb");
  const QString dictionary = dir.filePath("dictionary.wdb");
};

// One broken file and the problem it must be reported with.
struct Case {
  const char* what;
  QByteArray bytes;
  QString expected;
};

TEST_F(DataCheck, ShippedAndWholeFilesServe) {
  EXPECT_EQ(problem(data::wordListProblem(kDataDir + "/words.wdb")), "none");
  EXPECT_EQ(problem(data::dictionaryProblem(kDataDir + "/dictionary.wdb")), "none");
  put("words.wdb", wordsFile());
  put("dictionary.wdb", dictionaryFile());
  EXPECT_EQ(problem(data::wordListProblem(words)), "none");
  EXPECT_EQ(problem(data::dictionaryProblem(dictionary)), "none");
  EXPECT_EQ(data::dataFilesWarning(words, dictionary, "/usr/lib/lotwise"), "");
}

TEST_F(DataCheck, EachWayAWordListFallsShort) {
  QList<QByteArray> changedCode = wordLines();
  changedCode[6] = "\"0101\",\"w0110\"\r";
  QList<QByteArray> lostQuote = wordLines();
  lostQuote[2] = "\"0010\",\"w0010\r";
  QList<QByteArray> unclosed = wordLines();
  unclosed[15] = "\"1111\",\"w1111\r";
  QList<QByteArray> cutShort = wordLines();
  cutShort[15] = "\"1111\"";
  const Case cases[] = {
      {"empty", "", "is empty"},
      {"blank lines only", "\r\n  \r\n", "is empty"},
      {"random bytes", randomBytes(4096),
       "has a record that cannot be read: record 1 does not begin with a code of four 0s and 1s"},
      {"an unterminated quote", joined(unclosed),
       "has a record that cannot be read: record 16 opens a quote that is never closed"},
      {"a quote lost in the middle", joined(lostQuote),
       "has a record that cannot be read: record 3 has a quote out of place"},
      {"the last record cut short", joined(cutShort).chopped(1),
       "has a record that cannot be read: record 16 is cut short by the end of the file"},
      {"a line that is no record", wordsFile() + "end of the list\r\n",
       "has a record that cannot be read: record 17 does not begin with a code of four 0s and 1s"},
      {"three records", joined(wordLines().mid(0, 3)), "lacks 13 codes, the first 0011"},
      {"a missing code", wordsFile(5), "lacks code 0101"},
      {"a code twice", wordsFile() + "\"0000\",\"again\"\r\n", "has code 0000 more than once"},
      {"a code written as another", joined(changedCode), "lacks code 0110, and has code 0101 more than once"},
      {"spaces around the code are the lookup's to drop", wordsFile().replace("\"0101\"", " \" 0101 \" "), "none"},
  };
  for (const Case& c : cases) {
    put("words.wdb", c.bytes);
    EXPECT_EQ(problem(data::wordListProblem(words)), c.expected) << c.what;
  }
}

TEST_F(DataCheck, EachWayADictionaryFallsShort) {
  const QByteArray whole = dictionaryFile();
  const QByteArray row = entryRow("0000", "0101", "m0000-0101");
  const Case cases[] = {
      {"empty", "", "is empty"},
      {"three rows", whole.left(whole.indexOf("\"0000\",\"0011\"")),
       "lacks 253 rows, the first for codes 0000 and 0011"},
      {"a missing row", QByteArray(whole).replace(row, ""), "lacks the row for codes 0000 and 0101"},
      {"a row twice", whole + entryRow("1111", "1111", "again"), "has the row for codes 1111 and 1111 more than once"},
      // The meanings report compares codes as read: this row is never found.
      {"a code with a space", QByteArray(whole).replace("\"0000\",\"0101\"", "\"0000\",\" 0101\""),
       "has a record that cannot be read: record 6 does not begin with two codes of four 0s and 1s"},
      {"an unterminated quote", QByteArray(whole).replace("m1111-1111\"", "m1111-1111"),
       "has a record that cannot be read: record 256 opens a quote that is never closed"},
      {"a quote lost in the middle", QByteArray(whole).replace("m0000-0101\"", "m0000-0101"),
       "has a record that cannot be read: record 6 has a quote out of place"},
  };
  for (const Case& c : cases) {
    put("dictionary.wdb", c.bytes);
    EXPECT_EQ(problem(data::dictionaryProblem(dictionary)), c.expected) << c.what;
  }
}

TEST_F(DataCheck, FilesThatCannotBeReadAtAll) {
  EXPECT_EQ(problem(data::wordListProblem(words)), "is missing");
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dictionary));
  EXPECT_EQ(problem(data::dictionaryProblem(dictionary)), "is missing");
  ASSERT_TRUE(QFile::remove(dictionary));

  ASSERT_TRUE(QDir(dir.path()).mkdir("words.wdb"));
  EXPECT_EQ(problem(data::wordListProblem(words)), "is a folder, not a file");
  ASSERT_TRUE(QDir(dir.path()).rmdir("words.wdb"));

  // Read, a pipe would wait for a writer that never comes.
  ASSERT_EQ(mkfifo(QFile::encodeName(dictionary).constData(), 0644), 0);
  EXPECT_EQ(problem(data::dictionaryProblem(dictionary)), "is not a regular file");

  put("words.wdb", wordsFile());
  ASSERT_EQ(chmod(QFile::encodeName(words).constData(), 0), 0);
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
  Unprivileged user;
  LOTWISE_REQUIRE_UNPRIVILEGED(user);
  EXPECT_EQ(problem(data::wordListProblem(words)), "cannot be read: Permission denied");
}

// A file larger than any sound one is named with its size and not read: a
// byte over the limit is enough, and a sparse file costs no disk.
TEST_F(DataCheck, FilesTooLargeAreNotRead) {
  struct Size {
    QString path;
    qint64 bytes;
    std::optional<QString> (*check)(const QString&);
    QString expected;
  };
  const Size cases[] = {
      {words, data::kMaxWordListBytes, data::wordListProblem, "none"},
      {words, data::kMaxWordListBytes + 1, data::wordListProblem,
       "is too large to read: 1,048,577 bytes (1.0 MB), where a sound one holds at most 1 MB"},
      {dictionary, data::kMaxDictionaryBytes + 1, data::dictionaryProblem,
       "is too large to read: 16,777,217 bytes (16.0 MB), where a sound one holds at most 16 MB"},
  };
  for (const Size& c : cases) {
    // Sound records first, then blanks up to the size.
    put(QFileInfo(c.path).fileName(), c.path == words ? wordsFile() : dictionaryFile());
    QFile file(c.path);
    ASSERT_TRUE(file.resize(c.bytes));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 start = c.path == words ? wordsFile().size() : dictionaryFile().size();
    ASSERT_TRUE(file.seek(start));
    ASSERT_EQ(file.write(QByteArray(c.bytes - start, ' ')), c.bytes - start);
    file.close();
    EXPECT_EQ(problem(c.check(c.path)), c.expected) << c.bytes;
  }
}

TEST_F(DataCheck, OneWarningNamesEveryFileAndWhatToDo) {
  put("words.wdb", wordsFile(5));
  put("dictionary.wdb", dictionaryFile());
  EXPECT_EQ(data::dataFilesWarning(words, dictionary, ""),
            "Lotwise cannot use one of its data files: the words and meanings it shows would be blank or wrong.\n\n"
            "The word list " +
                words +
                " lacks code 0101.\n\n"
                "To mend it, put its backup words.wdb.bak, from the same folder, in its place, or reinstall Lotwise.");

  put("words.wdb", "");
  ASSERT_TRUE(QFile::remove(dictionary));
  EXPECT_EQ(data::dataFilesWarning(words, dictionary, "/usr/lib/lotwise"),
            "Lotwise cannot use its data files: the words and meanings it shows would be blank or wrong.\n\n"
            "The word list " +
                words +
                " is empty.\n\n"
                "The dictionary " +
                dictionary +
                " is missing.\n\n"
                "To mend them, put their backups words.wdb.bak and dictionary.wdb.bak, from the same folder, in their "
                "place, or reinstall Lotwise.\n\n"
                "Or delete them and start Lotwise again: it then copies in the ones it was installed with, from "
                "/usr/lib/lotwise (your own edits in them are lost).");
}

}  // namespace
