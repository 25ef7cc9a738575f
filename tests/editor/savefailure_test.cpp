// The editor's failure message names the real cause of a failed save, and
// the file and its backup keep every byte.
#include "editor/frmedit.h"
#include "support/appdir.h"
#include "support/filesizelimit.h"
#include "support/fixtures.h"
#include "support/modal.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

#include "support/printers.h"

namespace {

using namespace lotwise::test;

TEST(EditorSaveFailure, EachCauseHasItsNumberAndDescription) {
  struct Case {
    const char* what;
    std::function<void(AppDir&)> before;
    QString title, text;
    bool unprivileged = false;
    rlim_t sizeLimit = 0;  // a file size limit in place of a full disk
  };
  const Case cases[] = {
      {"the file is gone", [](AppDir& dir) { QFile::remove(dir.file("words.wdb")); }, "Error 53", "File not found"},
      {"the disk is full", nullptr, "Error 61", "Disk full", false, 64},
      {"a folder the user may not write", [](AppDir& dir) { chmod(QFile::encodeName(dir.path()).constData(), 0555); },
       "Error 70", "Permission denied", true},
      {"a folder in the place of the backup", [](AppDir& dir) { QDir(dir.path()).mkdir("words.wdb.bak"); }, "Error 75",
       "Path/File access error: Is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppDir dir;
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
    frmEdit editor;
    editor.show();
    editor.findChild<QLineEdit*>("txtWord_0")->setText("edited");
    if (c.before)
      c.before(dir);
    const QByteArray words = dir.read("words.wdb");

    SeenBox seen;
    {
      std::unique_ptr<FileSizeLimit> limit;
      if (c.sizeLimit)
        limit = std::make_unique<FileSizeLimit>(c.sizeLimit);
      std::optional<Unprivileged> user;
      if (c.unprivileged)
        user.emplace();
      if (user && !user->active()) {
        chmod(QFile::encodeName(dir.path()).constData(), 0700);
        continue;
      }
      answerMessageBox(&seen);
      editor.cmdSaveWords_Click();
    }
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.text, c.text);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_TRUE(editor.bWordsChanged);
    EXPECT_EQ(dir.read("words.wdb"), words);
    EXPECT_FALSE(QFileInfo(dir.file("words.wdb.bak")).isFile());
  }
}

}  // namespace
