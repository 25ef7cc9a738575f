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

// The checks and the warning, each from one reading of the files at hand.
std::optional<QString> wordListProblem(const QString& path) {
  return data::wordListProblem(data::readWordListFile(path));
}
std::optional<QString> dictionaryProblem(const QString& path) {
  return data::dictionaryProblem(data::readDictionaryFile(path));
}
QString dataFilesWarning(const QString& words, const QString& dictionary, const QString& shipped) {
  data::DataFiles files(words, dictionary);
  return data::dataFilesWarning(files, shipped);
}

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
  EXPECT_EQ(problem(wordListProblem(kDataDir + "/words.wdb")), "none");
  EXPECT_EQ(problem(dictionaryProblem(kDataDir + "/dictionary.wdb")), "none");
  put("words.wdb", wordsFile());
  put("dictionary.wdb", dictionaryFile());
  EXPECT_EQ(problem(wordListProblem(words)), "none");
  EXPECT_EQ(problem(dictionaryProblem(dictionary)), "none");
  EXPECT_EQ(dataFilesWarning(words, dictionary, "/usr/lib/lotwise"), "");
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
    EXPECT_EQ(problem(wordListProblem(words)), c.expected) << c.what;
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
    EXPECT_EQ(problem(dictionaryProblem(dictionary)), c.expected) << c.what;
  }
}

TEST_F(DataCheck, FilesThatCannotBeReadAtAll) {
  EXPECT_EQ(problem(wordListProblem(words)), "is missing");
  ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dictionary));
  EXPECT_EQ(problem(dictionaryProblem(dictionary)), "is missing");
  ASSERT_TRUE(QFile::remove(dictionary));

  ASSERT_TRUE(QDir(dir.path()).mkdir("words.wdb"));
  EXPECT_EQ(problem(wordListProblem(words)), "is a folder, not a file");
  ASSERT_TRUE(QDir(dir.path()).rmdir("words.wdb"));

  // Read, a pipe would wait for a writer that never comes.
  ASSERT_EQ(mkfifo(QFile::encodeName(dictionary).constData(), 0644), 0);
  EXPECT_EQ(problem(dictionaryProblem(dictionary)), "is not a regular file");

  put("words.wdb", wordsFile());
  ASSERT_EQ(chmod(QFile::encodeName(words).constData(), 0), 0);
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
  Unprivileged user;
  LOTWISE_REQUIRE_UNPRIVILEGED(user);
  EXPECT_EQ(problem(wordListProblem(words)), "cannot be read: Permission denied");
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
      {words, data::kMaxWordListBytes, wordListProblem, "none"},
      {words, data::kMaxWordListBytes + 1, wordListProblem,
       "is too large to read: 1,048,577 bytes (1.0 MB), where a sound one holds at most 1 MB"},
      {dictionary, data::kMaxDictionaryBytes + 1, dictionaryProblem,
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

// A field longer than any sound word or meaning refuses its file as a size
// does; a file that reads on without end past the size it reports is
// refused at once: neither may reach a text box or freeze the reading.
TEST_F(DataCheck, InsaneSizesAreRefusedWithTheRecordOrTheLimit) {
  const QByteArray row = entryRow("0000", "0101", "m0000-0101");
  put("dictionary.wdb", QByteArray(dictionaryFile()).replace(row, entryRow("0000", "0101", QByteArray(1000000, 'm'))));
  EXPECT_EQ(problem(dictionaryProblem(dictionary)),
            "has a record too large to be sound: record 6 holds a field of 1,000,000 characters, where a sound one "
            "holds at most 65,536");
  put("words.wdb", wordsFile() + "\"0000\",\"" + QByteArray(65537, 'w') + "\"\r\n");
  EXPECT_EQ(problem(wordListProblem(words)),
            "has a record too large to be sound: record 17 holds a field of 65,537 characters, where a sound one "
            "holds at most 65,536");
  put("words.wdb", wordsFile() + "\"0000\",\"" + QByteArray(65536, 'w') + "\"\r\n");
  EXPECT_EQ(problem(wordListProblem(words)), "has code 0000 more than once");

  // /proc/self/pagemap reports a size of 0 and reads on for gigabytes.
  for (const QString& path : {words, dictionary}) {
    QFile::remove(path);
    ASSERT_TRUE(QFile::link("/proc/self/pagemap", path));
  }
  EXPECT_EQ(problem(wordListProblem(words)), "cannot be read: it reads on past the size it reports");
  EXPECT_EQ(problem(dictionaryProblem(dictionary)), "cannot be read: it reads on past the size it reports");
}

TEST_F(DataCheck, OneWarningNamesEveryFileAndWhatToDo) {
  put("words.wdb", wordsFile(5));
  put("dictionary.wdb", dictionaryFile());
  EXPECT_EQ(dataFilesWarning(words, dictionary, ""),
            "Lotwise cannot use one of its data files: the words and meanings it shows would be blank or wrong.\n\n"
            "The word list " +
                words +
                " lacks code 0101. It may hold edits of your own: rename it first to keep them, rather than delete or "
                "replace it. To mend it, reinstall Lotwise.");

  // Each file with its own remedies: the word list's backup is sound, the
  // dictionary has none and is gone.
  put("words.wdb", "");
  put("words.wdb.bak", wordsFile());
  put("dictionary.wdb.bak", "");
  ASSERT_TRUE(QFile::remove(dictionary));
  ASSERT_TRUE(QDir(dir.path()).mkdir("shipped"));
  const QString shipped = dir.filePath("shipped");
  put("shipped/words.wdb", wordsFile());
  put("shipped/dictionary.wdb", dictionaryFile());
  EXPECT_EQ(dataFilesWarning(words, dictionary, shipped),
            "Lotwise cannot use its data files: the words and meanings it shows would be blank or wrong.\n\n"
            "The word list " +
                words +
                " is empty. To mend it, put its backup words.wdb.bak, from the same folder, in its place, or rename "
                "it (or delete it) and start Lotwise again, which then copies in the word list it was installed "
                "with, from " +
                shipped +
                ".\n\n"
                "The dictionary " +
                dictionary +
                " is missing. To mend it, start Lotwise again, which then copies in the dictionary it was installed "
                "with, from " +
                shipped + ".");
}

// The remedies offered for a word list that falls short, from the cause
// and the copies that exist: its backup, and, installed, the copy shipped
// with the program. Whatever would replace a file that holds text comes
// after the advice to keep it; a refused permission is mended in place.
TEST_F(DataCheck, TheAdviceFitsTheCauseAndOffersOnlyRemediesThatExist) {
  const QString keep =
      "It may hold edits of your own: rename it first to keep them, rather than delete or replace it. ";
  const QString shipped = dir.filePath("shipped");
  const QString fromShipped = ", which then copies in the word list it was installed with, from " + shipped;
  const QString backup = "put its backup words.wdb.bak, from the same folder, in its place";
  const QString restart = "rename it (or delete it) and start Lotwise again";
  const QString moveAway = "To mend it, move the folder out of the way (rename it), then ";
  const QByteArray folder = "a folder";  // stands for a folder in the file's place
  enum class Refused { Nothing, File, Folder };
  struct Advice {
    const char* what;
    std::optional<QByteArray> file, backup;
    bool installed;
    std::optional<QByteArray> shipped;
    QString expected;  // what follows the problem
    Refused refused = Refused::Nothing;
  };
  const Advice cases[] = {
      {"portable, no backup", wordsFile(5), std::nullopt, false, std::nullopt, keep + "To mend it, reinstall Lotwise."},
      {"portable, sound backup", wordsFile(5), wordsFile(), false, std::nullopt,
       keep + "To mend it, " + backup + ", or reinstall Lotwise."},
      {"portable, a backup that falls short is not offered", wordsFile(5), QByteArray(""), false, std::nullopt,
       keep + "To mend it, reinstall Lotwise."},
      {"portable, an empty file holds nothing to keep", QByteArray(""), std::nullopt, false, std::nullopt,
       "To mend it, reinstall Lotwise."},
      {"installed, sound shipped copy", wordsFile(5), std::nullopt, true, wordsFile(),
       keep + "To mend it, " + restart + fromShipped + "."},
      {"installed, the file gone", std::nullopt, std::nullopt, true, wordsFile(),
       "To mend it, start Lotwise again" + fromShipped + "."},
      {"installed, sound backup and shipped copy", wordsFile(5), wordsFile(), true, wordsFile(),
       keep + "To mend it, " + backup + ", or " + restart + fromShipped + "."},
      {"installed, shipped copy falls short", wordsFile(5), std::nullopt, true, QByteArray(""),
       keep + "To mend it, reinstall Lotwise, then " + restart + " (the word list it was installed with, " + shipped +
           "/words.wdb, is empty)."},
      {"installed, shipped copy gone, sound backup", wordsFile(3), wordsFile(), true, std::nullopt,
       keep + "To mend it, " + backup + ", or reinstall Lotwise, then " + restart +
           " (the word list it was installed with, " + shipped + "/words.wdb, is missing)."},
      {"portable, a folder in its place", folder, std::nullopt, false, std::nullopt, moveAway + "reinstall Lotwise."},
      {"portable, a folder in its place, sound backup", folder, wordsFile(), false, std::nullopt,
       moveAway + backup + ", or reinstall Lotwise."},
      {"installed, a folder in its place", folder, std::nullopt, true, wordsFile(),
       moveAway + "start Lotwise again" + fromShipped + "."},
      {"portable, the file may not be read", wordsFile(), wordsFile(), false, std::nullopt,
       "Lotwise has no permission to read it. To mend it, give yourself permission to read and write it with the "
       "command:\nchmod u+rw " +
           words,
       Refused::File},
      {"installed, the file may not be read", wordsFile(), std::nullopt, true, wordsFile(),
       "Lotwise has no permission to read it. To mend it, give yourself permission to read and write it with the "
       "command:\nchmod u+rw " +
           words,
       Refused::File},
      {"installed, its folder may not be searched", wordsFile(), std::nullopt, true, wordsFile(),
       "Lotwise has no permission to look into its folder. To mend it, give yourself that permission with the "
       "command:\nchmod u+rwx " +
           dir.path(),
       Refused::Folder},
  };
  ASSERT_TRUE(QDir(dir.path()).mkdir("shipped"));
  put("dictionary.wdb", dictionaryFile());
  put("shipped/dictionary.wdb", dictionaryFile());
  const QByteArray folderPath = QFile::encodeName(dir.path());
  QStringList skipped;
  for (const Advice& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(words).removeRecursively();
    for (const auto& [name, bytes] :
         {std::pair{QString("words.wdb"), c.file}, std::pair{QString("words.wdb.bak"), c.backup},
          std::pair{QString("shipped/words.wdb"), c.shipped}}) {
      QFile::remove(dir.filePath(name));
      if (bytes == folder) {
        ASSERT_TRUE(QDir(dir.path()).mkdir(name));
      } else if (bytes) {
        put(name, *bytes);
      }
    }
    if (c.refused == Refused::File) {
      ASSERT_EQ(chmod(QFile::encodeName(words).constData(), 0200), 0);
    }
    ASSERT_EQ(chmod(folderPath.constData(), c.refused == Refused::Folder ? 0700 : 0755), 0);
    QString warning, found;
    {
      Unprivileged user;
      if (c.refused != Refused::Nothing && !user.active()) {
        skipped << c.what;
        continue;
      }
      warning = dataFilesWarning(words, dictionary, c.installed ? shipped : QString());
      found = problem(wordListProblem(words));
    }
    ASSERT_EQ(chmod(folderPath.constData(), 0755), 0);
    EXPECT_EQ(warning.section("\n\n", 1, 1), "The word list " + words + " " + found + ". " + c.expected);
  }
  if (!skipped.isEmpty())
    GTEST_SKIP() << "cannot check permissions as an ordinary user here: " << skipped.join(", ").toStdString();
}

}  // namespace
