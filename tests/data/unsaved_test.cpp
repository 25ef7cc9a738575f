// Edits kept aside when the program is ended from outside: each under a name
// of its own, and only those names are ever named to the user.
#include "data/records.h"
#include "data/unsaved.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/files.h"
#include "support/printers.h"

namespace {

using namespace lotwise::test;

TEST(Unsaved, EachSetOfEditsGetsANameOfItsOwnAndOnlyThoseAreNamed) {
  QTemporaryDir dir;
  const QString dictionary = dir.filePath("dictionary.wdb");
  const QList<QStringList> rows{{"0000", "0000", "w - w", "kept"}};
  QString written;
  ASSERT_EQ(data::keepUnsaved(dictionary, rows, &written), std::nullopt);
  EXPECT_EQ(written, dictionary + ".unsaved");
  ASSERT_EQ(data::keepUnsaved(dictionary, rows, &written), std::nullopt);
  EXPECT_EQ(written, dictionary + ".unsaved2");
  EXPECT_EQ(bytesOf(written), data::fileBytes(rows).toStdString());

  // Look-alikes of the user's are never taken for kept edits.
  for (const char* name : {"words.wdb.unsaved.old", "words.wdb.unsaved\n", "words.wdb.unsaved0", "results.txt.unsaved",
                           "words.wdb.Unsaved"})
    put(dir.filePath(name), "the user's");
  EXPECT_EQ(data::unsavedFiles(dir.path()), (QStringList{dictionary + ".unsaved", dictionary + ".unsaved2"}));
  EXPECT_EQ(data::unsavedFiles(""), QStringList());  // never the current folder

  const QString notice = data::unsavedNotice(data::unsavedFiles(dir.path()));
  EXPECT_TRUE(notice.startsWith(QDir::toNativeSeparators(dictionary) +
                                ".unsaved holds edits to dictionary.wdb that were never saved"))
      << notice.toStdString();
  EXPECT_EQ(data::unsavedNotice({}), "");
}

}  // namespace
