// The main window as it starts: design, menus, blinking prompt, question
// box and hint, About message.
#include "app/frmcombination.h"
#include "support/datafolder.h"
#include "support/modal.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using lotwise::test::answerMessageBox;
using lotwise::test::SeenBox;

class MainWindow : public ::testing::Test {
protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  template <typename T = QWidget>
  T* get(const QString& name) {
    T* w = window.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  QLineEdit* question() { return get<QLineEdit>("txtQuestion"); }
  QLineEdit* hint() { return get<QLineEdit>("Text1"); }
  QColor promptColour() { return get<QLabel>("lblQuestion")->palette().color(QPalette::WindowText); }

  lotwise::test::DataFolder dir;  // whole data files: no warning over the window
  frmCombination window;
};

QString textOf(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w))
    return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w))
    return e->text();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w))
    return p->toPlainText();
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    return b->text();
  return QString("<none>");
}

bool readOnly(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w))
    return e->isReadOnly();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w))
    return p->isReadOnly();
  return false;
}

TEST_F(MainWindow, StartsInItsDesignState) {
  struct Row {
    const char* name;
    QString text;
    bool visible, enabled, readOnly;
  };
  const QString hintText = "You may type a question to be investigated here...";
  const Row rows[] = {
      {"lblQuestion", "Enter Question:", true, true, false},
      {"txtQuestion", "", true, true, false},
      {"Text1", hintText, true, true, true},
      {"lblchar", "Symbols:", true, true, false},
      {"txtChar", "ABraCaDabra", true, true, true},
      {"lbllength", "Length:", false, true, false},
      {"txtlength", "2", false, false, true},
      {"lblOutcomes", "0 combinations", false, true, false},
      {"Label2", "get ALL 0s or 1s to make it happen...", true, true, false},
      {"txtFix_16", "A", true, true, true},
      {"txtFix_0", "B", true, true, true},
      {"txtFix_1", "C", true, true, true},
      {"txtFix_2", "D", true, true, true},
      {"txtResults", "", false, true, true},
      {"txtResult2", "", true, true, true},
      {"lblWord_0", ".", true, true, false},
      {"lblWord_3", ".", true, true, false},
      {"Label1", "Click on the kings below to display their words", true, true, false},
      {"chkInvert", "Invert Pattern", true, true, false},
      {"chkListWords", "Use List Words", false, true, false},
      {"chkInvertWords", "Invert List Words", false, true, false},
      {"chkShowAll", "Show All Meanings", false, true, false},
      {"txtWord", "", true, true, true},
      {"txtMeaning", "", true, true, true},
      {"cmdcalc", "Tell Me", true, true, false},
      {"cmdClose", "Close Application", true, true, false},
      {"cmdAbout", "About", true, true, false},
      {"cmdSave", "Save Results", true, false, false},
      {"cmdEditData", "Edit Dictionary", true, false, false},
  };
  for (const Row& r : rows) {
    QWidget* w = get(r.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(textOf(w), r.text) << r.name;
    EXPECT_EQ(w->isVisible(), r.visible) << r.name;
    EXPECT_EQ(w->isEnabled(), r.enabled) << r.name;
    EXPECT_EQ(readOnly(w), r.readOnly) << r.name;
  }
  for (int i = 0; i < 16; ++i) {
    auto* cell = get<QLineEdit>(QString("txtSet_%1").arg(i));
    EXPECT_EQ(cell->text(), (i / 4) % 2 ? "1" : "0") << i;
    EXPECT_TRUE(cell->isReadOnly());
  }
  EXPECT_TRUE(get<QCheckBox>("chkInvert")->isChecked());
  EXPECT_TRUE(get<QCheckBox>("chkListWords")->isChecked());
  EXPECT_FALSE(get<QCheckBox>("chkInvertWords")->isChecked());
  EXPECT_FALSE(get<QCheckBox>("chkShowAll")->isChecked());
  EXPECT_EQ(get<QListWidget>("lstWords")->count(), 0);
  EXPECT_FALSE(get<QTextBrowser>("txtMeanings")->isVisible());
  for (int i = 0; i < 5; ++i)
    EXPECT_TRUE(get(QString("Shape1_%1").arg(i))->isVisible());
  EXPECT_EQ(window.windowTitle(), "Lotwise");
  // Both images must be there: an icon made from files that cannot be read
  // is not null, merely empty.
  EXPECT_EQ(window.windowIcon().availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
  EXPECT_EQ(window.nCurWord, 1);
  EXPECT_FALSE(window.bStop);
}

TEST_F(MainWindow, ControlsSitAtTheirDesignPlaces) {
  // Twips / 15 = pixels; the layout rules have already run at design size.
  EXPECT_EQ(window.centralWidget()->size(), QSize(934, 582));
  EXPECT_EQ(get("txtSet_15")->geometry(), QRect(272, 184, 56, 29));
  EXPECT_EQ(get("txtFix_16")->geometry(), QRect(8, 56, 64, 29));
  EXPECT_EQ(get("lblWord_2")->geometry(), QRect(184, 216, 73, 25));
  EXPECT_EQ(get("Picture2")->geometry(), QRect(0, 0, 934, 41));
  EXPECT_EQ(get("Picture1")->geometry(), QRect(0, 582 - 89, 934, 89));
  EXPECT_EQ(get("cmdcalc")->geometry(), QRect(16, 16, 137, 57));
  EXPECT_EQ(get("cmdSave")->geometry(), get("cmdClose")->geometry());
  EXPECT_EQ(get("cmdEditData")->geometry(), get("cmdAbout")->geometry());
}

TEST_F(MainWindow, MenusCarryCaptionsShortcutsAndStates) {
  struct Item {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    bool enabled;
  };
  const Item items[] = {
      {"mnuFile", "&File", {}, true},
      {"mnuEdit", "Edit &Data...", QKeySequence(Qt::Key_F2), false},
      {"mnuExit", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), true},
      {"mnuRun", "&Run", {}, true},
      {"mnuStart", "&Tell Me...", QKeySequence(Qt::Key_F5), true},
      {"mnuHelp", "&Help", {}, true},
      {"mnuAbout", "&About...", QKeySequence(Qt::Key_F1), true},
  };
  for (const Item& i : items) {
    auto* action = get<QAction>(i.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), i.caption) << i.name;
    EXPECT_EQ(action->shortcut(), i.shortcut) << i.name;
    EXPECT_EQ(action->isEnabled(), i.enabled) << i.name;
  }
}

TEST_F(MainWindow, PromptBlinksEveryHalfSecond) {
  auto* timer = get<QTimer>("Timer1");
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 500);
  EXPECT_EQ(promptColour(), QColor("#FFFFFF"));
  window.Timer1_Timer();
  EXPECT_EQ(promptColour(), QColor("#808080"));
  window.Timer1_Timer();
  EXPECT_EQ(promptColour(), QColor("#FFFFFF"));
  // The real timer drives the same handler.
  // (QTRY_* only logs under GoogleTest, so the wait is asserted here.)
  EXPECT_TRUE(QTest::qWaitFor([&] { return promptColour() == QColor("#808080"); }, 2000));
}

TEST_F(MainWindow, FocusStartsInTheQuestionBoxUnderTheHint) {
  EXPECT_TRUE(question()->hasFocus());
  EXPECT_TRUE(hint()->isVisible());
}

TEST_F(MainWindow, HintFollowsTheQuestionText) {
  QTest::keyClicks(question(), "W");
  EXPECT_FALSE(hint()->isVisible());
  QTest::keyClicks(question(), "ill it rain?");
  EXPECT_EQ(question()->text(), "Will it rain?");
  question()->selectAll();
  QTest::keyClick(question(), Qt::Key_Delete);
  EXPECT_EQ(question()->text(), "");
  EXPECT_TRUE(hint()->isVisible());
}

TEST_F(MainWindow, AHugePasteIsCutToQtsLimitWhileTheDataBoxesTakeAnyLength) {
  // Nothing reads the question, so it keeps a plain line edit's limit.
  EXPECT_EQ(question()->maxLength(), QLineEdit().maxLength());
  const QString huge(200000, QChar('x'));
  QGuiApplication::clipboard()->setText(huge);
  question()->setFocus();
  QTest::keyClick(question(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(question()->text().size(), question()->maxLength());
  EXPECT_FALSE(hint()->isVisible());
  QTest::keyClick(question(), Qt::Key_Backspace);
  QTest::keyClicks(question(), "?!");
  EXPECT_TRUE(question()->text().endsWith("x?")) << "the box stays full, and typing still works";

  for (const char* name : {"txtResults", "txtWord"}) {
    auto* box = get<QLineEdit>(name);
    box->setText(huge);
    EXPECT_EQ(box->text().size(), huge.size()) << name;
  }
}

TEST_F(MainWindow, QuestionTextIsSelectedWheneverTheBoxGetsTheFocus) {
  QTest::keyClicks(question(), "Shall I go?");
  auto* symbols = get<QLineEdit>("txtChar");

  struct Way {
    const char* what;
    std::function<void()> focus;
  };
  const Way ways[] = {
      {"click on the question box", [&] { QTest::mouseClick(question(), Qt::LeftButton, {}, QPoint(20, 10)); }},
      {"tab back into it", [&] { QTest::keyClick(symbols, Qt::Key_Backtab); }},
      {"tab into it from the question bar",
       [&] {
         get("Picture2")->setFocus();
         QTest::keyClick(get("Picture2"), Qt::Key_Tab);
       }},
      {"click on the hint",
       [&] {
         hint()->show();  // the hint lies over the box even when it should hide
         QTest::mouseClick(hint(), Qt::LeftButton);
       }},
      {"click on the label", [&] { QTest::mouseClick(get("Label2"), Qt::LeftButton); }},
  };
  for (const Way& way : ways) {
    symbols->setFocus();
    question()->deselect();
    way.focus();
    EXPECT_TRUE(question()->hasFocus()) << way.what;
    EXPECT_EQ(question()->selectedText(), "Shall I go?") << way.what;
    EXPECT_FALSE(hint()->isVisible()) << way.what;
  }
}

TEST_F(MainWindow, ComingBackToTheWindowLeavesCaretAndSelectionAlone) {
  QTest::keyClicks(question(), "Will I");
  SeenBox seen;
  answerMessageBox(&seen);
  QTest::keyClick(&window, Qt::Key_F1);
  ASSERT_TRUE(seen.shown);
  // The window system hands the window its activation back once the box has
  // gone; this platform leaves that to the test.
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_TRUE(question()->hasFocus());
  QTest::keyClicks(question(), " travel");
  EXPECT_EQ(question()->text(), "Will I travel");

  // Another window in front, then this one again: a selection made before
  // is still the same selection.
  question()->setSelection(5, 1);
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_TRUE(question()->hasFocus());
  EXPECT_EQ(question()->selectedText(), "I");
  EXPECT_EQ(question()->selectionStart(), 5);
  EXPECT_EQ(question()->cursorPosition(), 6);
}

// The menu bar's keys take the focus away and hand it back; what the user
// was typing, and where, stays as it was.
TEST_F(MainWindow, TheMenuBarLeavesTheQuestionsTextAndCaretAlone) {
  auto* bar = get<QMenuBar>("menuBar");
  QTest::keyClicks(question(), "Will I");
  const struct {
    const char* what;
    int caret;
    std::function<void()> keys;
  } ways[] = {
      {"Alt, Escape", 6,
       [&] {
         QTest::keyClick(question(), Qt::Key_Alt, Qt::AltModifier);
         ASSERT_TRUE(QTest::qWaitFor([&] { return bar->hasFocus(); }, 10000)) << "the menu bar took no keys";
         QTest::keyClick(bar, Qt::Key_Escape);
       }},
      {"Alt+F, Escape, Escape", 2,
       [&] {
         QTest::keyClick(question(), Qt::Key_F, Qt::AltModifier);
         ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() != nullptr; }, 10000))
             << "no File menu";
         QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
         ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == nullptr; }, 10000));
         ASSERT_TRUE(bar->hasFocus()) << "the menu bar let the keys go with the menu";
         QTest::keyClick(bar, Qt::Key_Escape);
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.what);
    question()->setCursorPosition(way.caret);
    way.keys();
    ASSERT_TRUE(QTest::qWaitFor([&] { return question()->hasFocus(); }, 10000));
    EXPECT_EQ(question()->text(), "Will I");
    EXPECT_FALSE(question()->hasSelectedText());
    EXPECT_EQ(question()->cursorPosition(), way.caret);
    question()->setCursorPosition(6);
  }
  QTest::keyClicks(question(), " travel");
  EXPECT_EQ(question()->text(), "Will I travel");
}

TEST_F(MainWindow, AboutShowsSevenLinesWithTheVersion) {
  for (const char* how : {"button", "menu", "F1"}) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SeenBox seen;
    answerMessageBox(&seen);
    if (QString(how) == "button")
      QTest::mouseClick(get("cmdAbout"), Qt::LeftButton);
    else if (QString(how) == "menu")
      get<QAction>("mnuAbout")->trigger();
    else
      QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_TRUE(seen.shown) << how;
    EXPECT_EQ(seen.title, "Lotwise");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    const QStringList lines = seen.text.split("\r\n");
    ASSERT_EQ(lines.size(), 7) << how;
    EXPECT_TRUE(lines[0].startsWith("Lotwise - "));
    EXPECT_EQ(lines[1], "Version 1.0.37");
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_TRUE(lines[5].isEmpty());
    EXPECT_TRUE(lines[6].contains("@"));
  }
}

TEST_F(MainWindow, F5PressesTellMeAndF2DoesNothing) {
  int clicks = 0;
  auto* tellMe = get<QPushButton>("cmdcalc");
  QObject::connect(tellMe, &QPushButton::clicked, tellMe, [&] { ++clicks; });
  QTest::keyClick(&window, Qt::Key_F5);
  EXPECT_EQ(clicks, 1);
  get<QAction>("mnuStart")->trigger();
  EXPECT_EQ(clicks, 2);

  QTest::keyClick(&window, Qt::Key_F2);
  QCoreApplication::processEvents();  // anything F2 might have posted
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  int visible = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    visible += w->isVisible() ? 1 : 0;
  EXPECT_EQ(visible, 1);  // only the main window
}

TEST_F(MainWindow, QuitAndCloseEndTheProgram) {
  // Ctrl+Q ends the event loop at once, with exit code 0.
  QTimer::singleShot(0, [&] { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(window.isVisible());  // nothing was unloaded

  // "Close Application" unloads the window; being the last, the program ends.
  QTimer::singleShot(0, [&] { QTest::mouseClick(get("cmdClose"), Qt::LeftButton); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
