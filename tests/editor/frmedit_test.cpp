// The dictionary editor as the user meets it: opening, moving, editing,
// saving and closing, with the files in a fresh program folder per test and
// every message and input box answered by the test.
#include "boxes.h"
#include "data/records.h"
#include "editor/frmedit.h"
#include "support/appdir.h"
#include "support/fixtures.h"
#include "support/modal.h"
#include "support/printers.h"
#include "support/readback.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using lotwise::test::answerInputBox;
using lotwise::test::AppDir;
using lotwise::test::MessageBoxes;
using lotwise::test::recordsOf;

// The shared fixtures: the word of code c is "w" + c, and row r (from 1)
// pairs the codes (r - 1) div 16 and (r - 1) mod 16, its meaning naming the
// pair ("m0000-0100" for row 5). Row 2 holds two lines here.
QByteArray dictionaryFile() {
  return lotwise::test::dictionaryFile().replace("m0000-0001", "First line\r\nsecond line");
}

// The first records of the shared word list.
QByteArray wordsFile(int records = 16) {
  const QByteArray all = lotwise::test::wordsFile();
  qsizetype end = 0;
  for (int k = 0; k < records; ++k)
    end = all.indexOf('\n', end) + 1;
  return all.left(end);
}

class Editor : public ::testing::Test {
protected:
  void SetUp() override {
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
  }

  // The editor opened as the main window opens it, but without blocking.
  frmEdit& open() {
    editor = std::make_unique<frmEdit>();
    editor->show();
    return *editor;
  }

  template <typename T = QWidget>
  T* get(const QString& name) const {
    T* w = editor->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  QString frameCaption() const { return get<QGroupBox>("Frame")->title(); }
  QString words() const { return get<QLineEdit>("Text3")->text(); }
  QPlainTextEdit* meaningBox() const { return get<QPlainTextEdit>("Text4"); }
  void gotoRow(int row) {
    editor->CurrentRow = row;
    editor->ShowRow();
  }

  AppDir dir;
  std::unique_ptr<frmEdit> editor;
};

TEST_F(Editor, OpensOnRowOneAndClosesWithoutAQuestion) {
  MessageBoxes boxes;
  frmEdit& e = open();

  EXPECT_EQ(e.CurrentRow, 1);
  EXPECT_EQ(frameCaption(), "Dictionary : Row 1 of 256");
  EXPECT_EQ(get<QLineEdit>("Text1")->text(), "0000");
  EXPECT_EQ(words(), "w0000 - w0000");
  EXPECT_EQ(meaningBox()->toPlainText(), "m0000-0000");
  EXPECT_EQ(get<QLabel>("lblSN_0")->text(), "1");
  EXPECT_EQ(get<QLabel>("lblSN_15")->text(), "16");
  EXPECT_EQ(get<QLineEdit>("txtCode_5")->text(), "0101");
  EXPECT_EQ(get<QLineEdit>("txtWord_15")->text(), "w1111");
  EXPECT_EQ(e.DictMeaning[1], "First line\r\nsecond line");
  EXPECT_EQ(e.DictCode2[255], "1111");
  EXPECT_FALSE(e.bWordsChanged);
  EXPECT_FALSE(e.bDictChanged);

  // Moving about alone is no edit, though showing rows rewrites their Words.
  e.cmdNext_Click();
  e.cmdNext_Click();
  e.cmdPrevious_Click();
  e.cmdClose_Click();
  EXPECT_FALSE(e.isVisible());
  EXPECT_TRUE(boxes.seen.isEmpty()) << boxes.texts().join(" | ").toStdString();
  EXPECT_EQ(dir.read("dictionary.wdb"), dictionaryFile());
}

TEST_F(Editor, MissingFilesOpenEmptyRowsWithoutAMessage) {
  QFile::remove(dir.file("words.wdb"));
  QFile::remove(dir.file("dictionary.wdb"));
  MessageBoxes boxes;
  frmEdit& e = open();

  EXPECT_EQ(frameCaption(), "Dictionary : Row 1 of 256");
  EXPECT_EQ(get<QLabel>("lblSN_7")->text(), "8");
  EXPECT_EQ(get<QLineEdit>("txtCode_0")->text(), "");
  EXPECT_EQ(get<QLineEdit>("txtWord_15")->text(), "");
  EXPECT_EQ(get<QLineEdit>("Text1")->text(), "");
  EXPECT_EQ(words(), " - ");
  EXPECT_EQ(meaningBox()->toPlainText(), "");
  EXPECT_FALSE(e.bWordsChanged);
  EXPECT_FALSE(e.bDictChanged);
  e.cmdClose2_Click();
  EXPECT_TRUE(boxes.seen.isEmpty());
}

TEST_F(Editor, EditedMeaningIsSavedByYesOnClosing) {
  frmEdit& e = open();
  for (int i = 0; i < 4; ++i)
    e.cmdNext_Click();
  ASSERT_EQ(e.CurrentRow, 5);
  meaningBox()->setFocus();
  meaningBox()->selectAll();
  QTest::keyClicks(meaningBox(), "Rain by noon");
  QTest::keyClick(meaningBox(), Qt::Key_Return);
  QTest::keyClicks(meaningBox(), "then sun");
  EXPECT_TRUE(e.bDictChanged);
  EXPECT_FALSE(e.bWordsChanged);

  MessageBoxes boxes({QMessageBox::Yes});
  e.cmdClose2_Click();
  ASSERT_EQ(boxes.seen.size(), 1);
  EXPECT_EQ(boxes.seen[0].text, "Do you want to save changes to Dictionary?");
  EXPECT_EQ(boxes.seen[0].title, "Lotwise");
  EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Question);
  EXPECT_EQ(boxes.seen[0].buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
  EXPECT_FALSE(e.isVisible());

  const QList<QStringList> rows = recordsOf(dir.read("dictionary.wdb"), 4);
  const QList<QStringList> before = recordsOf(dictionaryFile(), 4);
  ASSERT_EQ(rows.size(), 256);
  EXPECT_EQ(rows[4][3], "Rain by noon\r\nthen sun");
  for (int r = 0; r < 256; ++r) {
    if (r == 4)
      continue;
    EXPECT_EQ(rows[r], before[r]) << "row " << r + 1;
  }
  EXPECT_EQ(dir.read("dictionary.wdb.bak"), dictionaryFile());
}

TEST_F(Editor, AnEditLeftForAnotherRowReachesTheFileOnlyBySaveChanges) {
  frmEdit& e = open();
  gotoRow(5);
  meaningBox()->setPlainText("Kept in memory");
  EXPECT_TRUE(e.bDictChanged);
  e.cmdNext_Click();
  EXPECT_FALSE(e.bDictChanged);
  EXPECT_EQ(e.DictMeaning[4], "Kept in memory");

  {
    MessageBoxes boxes;
    e.cmdClose_Click();
    EXPECT_TRUE(boxes.seen.isEmpty()) << boxes.texts().join(" | ").toStdString();
    EXPECT_EQ(dir.read("dictionary.wdb"), dictionaryFile());
  }

  frmEdit& again = open();
  EXPECT_EQ(again.DictMeaning[4], "m0000-0100");  // the unsaved edit went with the window
  gotoRow(5);
  meaningBox()->setPlainText("Saved by the button");
  again.cmdNext_Click();
  MessageBoxes boxes;
  get<QPushButton>("cmdSaveDictionary")->click();
  EXPECT_TRUE(boxes.seen.isEmpty());
  EXPECT_FALSE(again.bDictChanged);
  EXPECT_EQ(recordsOf(dir.read("dictionary.wdb"), 4)[4][3], "Saved by the button");
}

TEST_F(Editor, EveryWayOfClosingAsksAboutWordsThenDictionary) {
  struct Way {
    const char* name;
    std::function<void(frmEdit&)> close;
  };
  const Way ways[] = {
      {"cmdClose", [](frmEdit& e) { e.findChild<QPushButton*>("cmdClose")->click(); }},
      {"cmdClose2", [](frmEdit& e) { e.findChild<QPushButton*>("cmdClose2")->click(); }},
      {"close box", [](frmEdit& e) { e.close(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    dir.write("words.wdb", wordsFile());
    frmEdit& e = open();
    QTest::keyClicks(get<QLineEdit>("txtWord_3"), "x");
    meaningBox()->setPlainText("Not to be saved");

    MessageBoxes boxes({QMessageBox::Yes, QMessageBox::No});
    way.close(e);
    EXPECT_EQ(boxes.texts(),
              (QStringList{"Do you want to save changes to Words?", "Do you want to save changes to Dictionary?"}));
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(recordsOf(dir.read("words.wdb"), 2)[3], (QStringList{"0011", "w0011x"}));
    EXPECT_EQ(dir.read("dictionary.wdb"), dictionaryFile());
  }
}

TEST_F(Editor, GotoTakesTheLeadingNumberAndIgnoresRowsOutOfRange) {
  frmEdit& e = open();
  struct Case {
    const char* answer;
    bool cancel;
    int row;
  };
  const Case cases[] = {
      {"0", false, 3},      {"257", false, 3}, {"", false, 3},        {"", true, 3},
      {"12abc", false, 12}, {"0.6", false, 1}, {"256.5", false, 256}, {"99999999999", false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cancel ? "Cancel" : c.answer);
    gotoRow(3);
    QString prompt, title;
    answerInputBox(c.answer, c.cancel, &prompt, &title);
    e.cmdGoto_Click();
    EXPECT_EQ(prompt, "Enter a row number from 1 to 256:");
    EXPECT_EQ(title, "Goto Row");
    EXPECT_EQ(e.CurrentRow, c.row);
    EXPECT_EQ(frameCaption(), QStringLiteral("Dictionary : Row %1 of 256").arg(c.row));
  }
}

TEST_F(Editor, NextAndPrevStopAtTheEnds) {
  frmEdit& e = open();
  auto* next = get<QPushButton>("cmdNext");
  for (int i = 0; i < 300; ++i)
    next->click();
  EXPECT_EQ(e.CurrentRow, 256);
  EXPECT_EQ(frameCaption(), "Dictionary : Row 256 of 256");
  EXPECT_EQ(words(), "w1111 - w1111");

  auto* previous = get<QPushButton>("cmdPrevious");
  for (int i = 0; i < 300; ++i)
    previous->click();
  EXPECT_EQ(e.CurrentRow, 1);
  EXPECT_EQ(frameCaption(), "Dictionary : Row 1 of 256");
}

TEST_F(Editor, AccessKeysPressTheirButtonsAndEscapeOrEnterCloseNothing) {
  frmEdit& e = open();
  // An access key presses its button visibly, so the click comes a moment later.
  auto rowAfter = [&](Qt::Key key) {
    e.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&e));
    const int before = e.CurrentRow;
    QTest::keyClick(&e, key, Qt::AltModifier);
    return QTest::qWaitFor([&] { return e.CurrentRow != before; }, 2000) ? e.CurrentRow : before;
  };
  EXPECT_EQ(rowAfter(Qt::Key_N), 2);
  {
    lotwise::test::InputBoxes answers({"7"});
    EXPECT_EQ(rowAfter(Qt::Key_G), 7);
  }
  EXPECT_EQ(rowAfter(Qt::Key_P), 6);

  MessageBoxes boxes;
  auto* wordBox = get<QLineEdit>("txtWord_0");
  wordBox->setFocus();
  QTest::keyClicks(wordBox, "y");
  QTest::keyClick(wordBox, Qt::Key_Return);
  QTest::keyClick(wordBox, Qt::Key_Escape);
  EXPECT_TRUE(e.isVisible());
  EXPECT_TRUE(e.bWordsChanged);
  EXPECT_TRUE(boxes.seen.isEmpty());
  EXPECT_EQ(dir.read("words.wdb"), wordsFile());
}

// One of the editor's boxes, single-line or the Meaning box, seen the same way.
class Box {
public:
  explicit Box(QWidget* w)
      : m_widget(w), m_line(qobject_cast<QLineEdit*>(w)), m_plain(qobject_cast<QPlainTextEdit*>(w)) {}
  QWidget* widget() const { return m_widget; }
  QString text() const { return m_line ? m_line->text() : m_plain->toPlainText(); }
  void setText(const QString& text) { m_line ? m_line->setText(text) : m_plain->setPlainText(text); }
  // Selects length characters from start; with length 0 the caret stands at start.
  void select(int start, int length) {
    if (m_line) {
      m_line->setCursorPosition(start);
      if (length > 0)
        m_line->setSelection(start, length);
      return;
    }
    QTextCursor cursor = m_plain->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    m_plain->setTextCursor(cursor);
  }
  // Text, caret and selection, to compare before and after.
  QString state() const {
    if (m_line)
      return QString("%1|caret %2|selected %3").arg(text()).arg(m_line->cursorPosition()).arg(m_line->selectedText());
    const QTextCursor cursor = m_plain->textCursor();
    return QString("%1|caret %2|selected %3").arg(text()).arg(cursor.position()).arg(cursor.selectedText());
  }

private:
  QWidget* m_widget;
  QLineEdit* m_line;
  QPlainTextEdit* m_plain;
};

TEST_F(Editor, DoubleQuotesGetIntoNoBox) {
  frmEdit& e = open();
  gotoRow(5);
  QStringList names;
  for (int k = 0; k < 16; ++k)
    names << QString("txtCode_%1").arg(k) << QString("txtWord_%1").arg(k);
  names << "Text1"
        << "Text2"
        << "Text3"
        << "Text4";

  auto paste = [](const QString& clip) {
    return [clip](QWidget* w) {
      QApplication::clipboard()->setText(clip);
      QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
    };
  };
  auto compose = [](const QString& commit) {
    return [commit](QWidget* w) {
      QInputMethodEvent event;
      event.setCommitString(commit);
      QApplication::sendEvent(w, &event);
    };
  };
  auto type = [](const QString& keys) { return [keys](QWidget* w) { QTest::keyClicks(w, keys); }; };
  struct Case {
    const char* what;
    int start, length;  // the selection; length 0 puts the caret at start
    std::function<void(QWidget*)> input;
    QString expected;  // from "abcdef"; a null text means nothing changes
  };
  const Case cases[] = {
      {"quote typed over a selection", 1, 2, type("\""), {}},
      {"quote typed with the caret inside", 3, 0, type("\""), {}},
      {"quote typed at the end", 6, 0, type("\""), {}},
      {"quote composed over a selection", 1, 2, compose("\""), {}},
      {"other keys go in", 3, 0, type("x"), "abcxdef"},
      {"paste replaces the selection, less its quotes", 1, 2, paste("x\"y"), "axydef"},
      {"a paste of quotes alone replaces it with nothing", 1, 2, paste("\"\""), "adef"},
      {"composed text replaces the selection, less its quotes", 1, 2, compose("\"z\""), "azdef"},
  };
  for (const QString& name : names) {
    Box box(get(name));
    const bool wordBox = name.startsWith("txt");
    box.widget()->setFocus();
    for (const Case& c : cases) {
      SCOPED_TRACE(QString("%1: %2").arg(name, c.what).toStdString());
      box.setText("abcdef");
      box.select(c.start, c.length);
      e.bWordsChanged = e.bDictChanged = false;
      const QString before = box.state();

      c.input(box.widget());
      if (c.expected.isNull()) {
        EXPECT_EQ(box.state(), before);
        EXPECT_FALSE(e.bWordsChanged);
        EXPECT_FALSE(e.bDictChanged);
      } else {
        EXPECT_EQ(box.text(), c.expected);
        EXPECT_EQ(e.bWordsChanged, wordBox);
        EXPECT_EQ(e.bDictChanged, !wordBox);
      }
    }
  }
}

TEST_F(Editor, WordsShowTheWordsOfBothCodesAsTheyStandOnScreen) {
  frmEdit& e = open();
  EXPECT_EQ(words(), "w0000 - w0000");
  gotoRow(16);  // 0000 and 1111: the words labelled 1 and 16
  EXPECT_EQ(words(), "w0000 - w1111");

  auto* sixteenth = get<QLineEdit>("txtWord_15");
  sixteenth->clear();
  QTest::keyClicks(sixteenth, " Dawn ");
  gotoRow(32);  // 0001 and 1111
  EXPECT_EQ(words(), "w0001 -  Dawn ");
  EXPECT_EQ(e.DictWords[31], "w0001 -  Dawn ");
  EXPECT_EQ(dir.read("words.wdb"), wordsFile());  // not saved yet

  // Showing a row stores its composed Words, also when the box already
  // held that text from the row before.
  e.DictCode1[1] = e.DictCode2[1] = "0000";
  e.DictWords[1] = "stale";
  gotoRow(1);
  e.cmdNext_Click();
  EXPECT_EQ(e.DictWords[1], "w0000 - w0000");

  // A code that names no word row leaves its side empty.
  e.DictCode1[2] = "10000";
  e.DictCode2[2] = "0200";
  gotoRow(3);
  EXPECT_EQ(words(), " - w1000");
}

TEST_F(Editor, TypingIntoTheRowStoresItAtOnce) {
  frmEdit& e = open();
  gotoRow(4);
  auto* code1 = get<QLineEdit>("Text1");
  code1->selectAll();
  QTest::keyClicks(code1, "1111");
  EXPECT_EQ(e.DictCode1[3], "1111");
  EXPECT_EQ(words(), "w0000 - w0011");  // composed again only when the row is shown again
  QTest::keyClicks(get<QLineEdit>("Text3"), "!");
  EXPECT_EQ(e.DictWords[3], "w0000 - w0011!");
  EXPECT_TRUE(e.bDictChanged);
  e.cmdNext_Click();
  e.cmdPrevious_Click();
  EXPECT_EQ(words(), "w1111 - w0011");
  EXPECT_EQ(e.DictWords[3], "w1111 - w0011");
}

TEST_F(Editor, SavingTheWordListWritesSixteenRows) {
  dir.write("words.wdb", wordsFile(3));
  frmEdit& e = open();
  auto* fourth = get<QLineEdit>("txtCode_3");
  QTest::keyClicks(fourth, "  0011 ");
  QTest::keyClicks(get<QLineEdit>("txtWord_3"), "three");
  EXPECT_TRUE(e.bWordsChanged);

  MessageBoxes boxes;
  get<QPushButton>("cmdSaveWords")->click();
  EXPECT_TRUE(boxes.seen.isEmpty());
  EXPECT_FALSE(e.bWordsChanged);
  QByteArray expected = wordsFile(3) + "\"0011\",\"three\"\r\n";
  for (int k = 4; k < 16; ++k)
    expected += "\"\",\"\"\r\n";
  EXPECT_EQ(dir.read("words.wdb"), expected);
  EXPECT_EQ(dir.read("words.wdb.bak"), wordsFile(3));
}

TEST_F(Editor, AFailedSaveShowsTheErrorAndKeepsTheFlag) {
  QFile::remove(dir.file("words.wdb"));
  QFile::remove(dir.file("dictionary.wdb"));
  frmEdit& e = open();
  QTest::keyClicks(get<QLineEdit>("txtWord_0"), "new");
  meaningBox()->setPlainText("new");

  {
    MessageBoxes boxes;
    e.cmdSaveWords_Click();
    e.cmdSaveDictionary_Click();
    ASSERT_EQ(boxes.seen.size(), 2);
    for (const auto& box : boxes.seen) {
      EXPECT_TRUE(box.title.startsWith("Error ")) << box.title.toStdString();
      bool numeric = false;
      EXPECT_GT(box.title.mid(6).toInt(&numeric), 0);
      EXPECT_TRUE(numeric);
      EXPECT_FALSE(box.text.isEmpty());
      EXPECT_EQ(box.icon, QMessageBox::Critical);
      EXPECT_EQ(box.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    }
    EXPECT_TRUE(e.bWordsChanged);
    EXPECT_TRUE(e.bDictChanged);
    EXPECT_TRUE(e.isVisible());
    EXPECT_FALSE(dir.exists("words.wdb"));
    EXPECT_FALSE(dir.exists("dictionary.wdb"));
  }

  // Asked for on closing, a failed save keeps the window open with the
  // edits, where closing would lose them.
  {
    MessageBoxes boxes({QMessageBox::Yes, QMessageBox::Ok});
    e.cmdClose_Click();
    ASSERT_EQ(boxes.seen.size(), 2);
    EXPECT_EQ(boxes.seen[0].text, "Do you want to save changes to Words?");
    EXPECT_EQ(boxes.seen[1].title, "Error 53");
    EXPECT_TRUE(e.isVisible());
    EXPECT_TRUE(e.bWordsChanged && e.bDictChanged);
    EXPECT_EQ(get<QLineEdit>("txtWord_0")->text(), "new");
  }
  // No to each question: the user lets the edits go, and it closes.
  MessageBoxes boxes({QMessageBox::No, QMessageBox::No});
  e.cmdClose_Click();
  EXPECT_EQ(boxes.seen.size(), 2);
  EXPECT_FALSE(e.isVisible());
}

TEST_F(Editor, NeverSavesOverAFileItCouldNotRead) {
  struct Case {
    QString file;
    QByteArray content;
    QStringList questionsAndAnswers;  // the texts of the boxes on closing, in order
  };
  const QString refusal = "REFUSAL";
  const QString wordsQuestion = "Do you want to save changes to Words?";
  const QString dictQuestion = "Do you want to save changes to Dictionary?";
  const Case cases[] = {
      {"words.wdb", wordsFile(), {wordsQuestion, refusal}},
      {"dictionary.wdb", dictionaryFile(), {wordsQuestion, dictQuestion, refusal}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    SetUp();
    // Something that cannot be read stands in the file's place when the
    // editor opens; by the time of saving the real file is back.
    ASSERT_TRUE(QFile::remove(dir.file(c.file)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(c.file));
    frmEdit& e = open();
    ASSERT_TRUE(QDir(dir.path()).rmdir(c.file));
    dir.write(c.file, c.content);
    QTest::keyClicks(get<QLineEdit>("txtWord_3"), "x");
    QTest::keyClicks(get<QLineEdit>("Text2"), "x");

    auto isRefusal = [&](const lotwise::test::SeenBox& box) {
      EXPECT_EQ(box.title, "Error 75");
      EXPECT_EQ(box.icon, QMessageBox::Critical);
      EXPECT_EQ(box.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
      return box.text.contains(QDir::toNativeSeparators(dir.file(c.file))) && box.text.contains("could not be read");
    };
    {
      MessageBoxes boxes;
      get<QPushButton>(c.file == "words.wdb" ? "cmdSaveWords" : "cmdSaveDictionary")->click();
      ASSERT_EQ(boxes.seen.size(), 1);
      EXPECT_TRUE(isRefusal(boxes.seen[0])) << boxes.seen[0].text.toStdString();
      EXPECT_TRUE(e.bWordsChanged && e.bDictChanged);
      EXPECT_TRUE(e.isVisible());
    }

    // Yes to the questions on closing: the file that was read is saved, the
    // other one is refused again, and the window stays open with its edits.
    {
      MessageBoxes boxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Yes});
      e.cmdClose_Click();
      ASSERT_EQ(boxes.seen.size(), c.questionsAndAnswers.size());
      for (int i = 0; i < boxes.seen.size(); ++i) {
        if (c.questionsAndAnswers[i] == refusal)
          EXPECT_TRUE(isRefusal(boxes.seen[i])) << boxes.seen[i].text.toStdString();
        else
          EXPECT_EQ(boxes.seen[i].text, c.questionsAndAnswers[i]);
      }
    }
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(dir.read(c.file), c.content);
    EXPECT_FALSE(dir.exists(c.file + ".bak"));
    if (c.file == "dictionary.wdb") {
      EXPECT_EQ(recordsOf(dir.read("words.wdb"), 2)[3], (QStringList{"0011", "w0011x"}));
    }
    MessageBoxes no({QMessageBox::No, QMessageBox::No});
    e.cmdClose_Click();
    EXPECT_FALSE(e.isVisible());
    QFile::remove(dir.file("words.wdb.bak"));
    QFile::remove(dir.file("dictionary.wdb.bak"));
  }
}

// A meaning of a million characters froze the editor for a minute: the
// file is refused as the main window refuses it, none of its rows shows,
// the editor says why, and it never saves over the file.
TEST_F(Editor, AFileWithARecordOfInsaneSizeOpensNothingAndSaysWhy) {
  dir.write("dictionary.wdb", QByteArray(dictionaryFile()).replace("m0000-0100", QByteArray(1000000, 'm')));
  const QByteArray hostile = dir.read("dictionary.wdb");
  frmEdit& e = open();
  QMessageBox* notice = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (notice = e.findChild<QMessageBox*>()) && notice->isVisible(); }, 10000));
  EXPECT_EQ(notice->text(), "The dictionary " + QDir::toNativeSeparators(dir.file("dictionary.wdb")) +
                                " has a record too large to be sound: record 5 holds a field of 1,000,000 characters, "
                                "where a sound one holds at most 65,536. The editor shows none of it and saves nothing "
                                "over it.");
  notice->close();
  EXPECT_EQ(meaningBox()->toPlainText(), "");
  EXPECT_TRUE(std::all_of(e.DictMeaning.begin(), e.DictMeaning.end(), [](const QString& m) { return m.isEmpty(); }));
  EXPECT_EQ(get<QLineEdit>("txtWord_0")->text(), "w0000");  // the word list is whole and shows

  meaningBox()->setPlainText("typed over");
  MessageBoxes boxes;
  e.cmdSaveDictionary_Click();
  ASSERT_EQ(boxes.seen.size(), 1);
  EXPECT_EQ(boxes.seen[0].title, "Error 75");
  EXPECT_EQ(dir.read("dictionary.wdb"), hostile);
}

}  // namespace
