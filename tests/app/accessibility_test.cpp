// What a screen reader meets in the main window: the role and name of every
// control, the kings' words, what the design hides, the tab order, and a
// choice in the word-pair list made through its accessible action.
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/fixtures.h"
#include "support/datafolder.h"
#include "support/midrun.h"
#include "support/printers.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace lotwise::test;

class Accessibility : public ::testing::Test {
protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QWidget* get(const QString& name) {
    auto* w = window.findChild<QWidget*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }

  lotwise::test::DataFolder dir;  // whole data files: no warning over the window
  frmCombination window;
};

// The name an assistive tool reads: the accessible name where one is set,
// otherwise what the control's accessible interface derives (a button's or a
// check box's caption).
QString spokenName(QWidget* w) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
  return iface ? iface->text(QAccessible::Name) : QString();
}

QString describe(QWidget* w) { return w->objectName() + " (" + w->metaObject()->className() + ")"; }

// The whole text a screen reader reads through the text interface.
QString readText(QAccessibleInterface* iface) {
  QAccessibleTextInterface* text = iface ? iface->textInterface() : nullptr;
  return text ? text->text(0, text->characterCount()) : QString("<no text interface>");
}

TEST_F(Accessibility, EveryControlThatTakesTheFocusHasItsOwnName) {
  // The whole focus chain, once round from the question box.
  QWidget* start = get("txtQuestion");
  ASSERT_NE(start, nullptr);
  QList<QWidget*> focusable;
  QWidget* w = start;
  do {
    if (w->focusPolicy() != Qt::NoFocus && w->isVisible() && w->window() == &window)
      focusable << w;
    w = w->nextInFocusChain();
  } while (w && w != start);

  // Every control of the design that the user can reach is in the chain.
  EXPECT_GE(focusable.size(), 33);

  QSet<QString> names;
  for (QWidget* control : focusable) {
    const QString name = spokenName(control).trimmed();
    EXPECT_FALSE(name.isEmpty()) << describe(control).toStdString() << " has no accessible name";
    EXPECT_FALSE(names.contains(name)) << describe(control).toStdString() << " shares its name \"" << name.toStdString()
                                       << "\" with another control";
    names.insert(name);
  }
}

TEST_F(Accessibility, EveryControlIsMetWithItsRoleAndName) {
  using R = QAccessible::Role;
  const struct {
    const char* control;
    R role;
    const char* name;
  } rows[] = {
      {"Picture2", R::Client, "Question bar"},
      {"lblQuestion", R::StaticText, "Enter Question:"},
      {"txtQuestion", R::EditableText, "Enter Question:"},  // the prompt beside it
      {"Text1", R::EditableText, "Question hint"},
      {"lblchar", R::StaticText, "Symbols:"},
      {"txtChar", R::EditableText, "Symbols:"},
      {"Label2", R::StaticText, "get ALL 0s or 1s to make it happen..."},
      {"txtFix_16", R::EditableText, "Column A"},  // the headers read A..D, whatever their index
      {"txtFix_2", R::EditableText, "Column D"},
      {"txtSet_0", R::EditableText, "Row 1 column A"},
      {"txtSet_15", R::EditableText, "Row 4 column D"},
      {"txtResult2", R::EditableText, "Bit report"},
      {"lblWord_0", R::StaticText, "King A"},
      {"lblWord_3", R::StaticText, "King D"},
      {"Label1", R::StaticText, "Click on the kings below to display their words"},
      {"chkInvert", R::CheckBox, "Invert Pattern"},
      {"lstWords", R::List, "Word pairs"},
      {"txtWord", R::EditableText, "Words"},
      {"txtMeaning", R::EditableText, "Meaning"},
      {"Picture1", R::Client, "Button bar"},
      {"cmdcalc", R::PushButton, "Tell Me"},
      {"cmdClose", R::PushButton, "Close Application"},
      {"cmdAbout", R::PushButton, "About"},
      {"cmdSave", R::PushButton, "Save Results"},
      {"cmdEditData", R::PushButton, "Edit Dictionary"},
      // The orange frames are drawing only: empty space to a screen reader,
      // not frames, which AT-SPI takes for windows.
      {"Shape1_0", R::Whitespace, ""},
      {"Shape1_4", R::Whitespace, ""},
      // Hidden by the design, but still named for what they hold.
      {"txtResults", R::EditableText, "Results"},
      {"txtlength", R::EditableText, "Length:"},
      {"lblOutcomes", R::StaticText, "0 combinations"},
      {"chkShowAll", R::CheckBox, "Show All Meanings"},
      {"txtMeanings", R::StaticText, "Meanings"},
  };
  for (const auto& row : rows) {
    QWidget* w = get(row.control);
    ASSERT_NE(w, nullptr);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(iface, nullptr) << row.control;
    EXPECT_EQ(iface->role(), row.role) << row.control;
    EXPECT_EQ(iface->text(QAccessible::Name), row.name) << row.control;
  }
}

TEST_F(Accessibility, TheBoxesAreLabelledByTheCaptionsBesideThem) {
  const std::pair<const char*, const char*> pairs[] = {
      {"txtQuestion", "lblQuestion"}, {"txtChar", "lblchar"}, {"txtlength", "lbllength"}};
  for (const auto& [box, label] : pairs) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(get(box));
    ASSERT_NE(iface, nullptr);
    QStringList labels;
    for (const auto& relation : iface->relations(QAccessible::Label))
      labels << relation.first->object()->objectName();
    EXPECT_EQ(labels, QStringList{label}) << box;
  }
}

TEST_F(Accessibility, KingsReadTheirWordsAsText) {
  AppDir dir;
  dir.write("words.wdb", wordsFile());
  dir.write("dictionary.wdb", dictionaryFile());
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(readText(QAccessible::queryAccessibleInterface(get(QString("lblWord_%1").arg(k)))), ".") << k;

  window.cmdcalc_Click();
  for (int k = 0; k < 4; ++k) {
    QString code;
    for (int row = 0; row < 4; ++row)
      code += qobject_cast<QLineEdit*>(get(QString("txtSet_%1").arg(k + 4 * row)))->text();
    QAccessibleInterface* king = QAccessible::queryAccessibleInterface(get(QString("lblWord_%1").arg(k)));
    ASSERT_NE(king, nullptr);
    EXPECT_EQ(king->text(QAccessible::Name), QString("King %1").arg(QChar('A' + k)));
    EXPECT_EQ(readText(king), wordOf(code)) << "king " << k;
    EXPECT_EQ(king->text(QAccessible::Value), wordOf(code)) << "king " << k;
    EXPECT_TRUE(king->state().readOnly);
    // A screen reader reads word by word and character by character too.
    int start = -1, end = -1;
    EXPECT_EQ(king->textInterface()->textAtOffset(1, QAccessible::WordBoundary, &start, &end), wordOf(code));
    EXPECT_EQ(king->textInterface()->characterRect(0).isEmpty(), false);
  }
}

TEST_F(Accessibility, TheResultsBoxIsAReadOnlyTextNotAPasswordField) {
  auto* results = qobject_cast<QLineEdit*>(get("txtResults"));
  ASSERT_NE(results, nullptr);
  // It still echoes nothing, so that megabytes of combinations are never
  // laid out.
  EXPECT_EQ(results->echoMode(), QLineEdit::NoEcho);
  results->setText("DA DC CB BA AD AB BC CD");
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(results);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::EditableText);
  EXPECT_FALSE(iface->state().passwordEdit);
  EXPECT_TRUE(iface->state().readOnly);
  EXPECT_EQ(iface->editableTextInterface(), nullptr);
  EXPECT_EQ(readText(iface), "DA DC CB BA AD AB BC CD");
  EXPECT_EQ(iface->textInterface()->text(3, 5), "DC");
}

TEST_F(Accessibility, NothingTheDesignHidesIsOfferedAsShown) {
  const QStringList hidden{"lbllength",    "txtlength",      "txtResults", "lblOutcomes",
                           "chkListWords", "chkInvertWords", "chkShowAll", "txtMeanings"};
  for (const QString& name : hidden) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(get(name));
    ASSERT_NE(iface, nullptr);
    EXPECT_TRUE(iface->state().invisible) << name.toStdString();
  }
  for (const char* name : {"lblWord_0", "txtWord", "lstWords", "Shape1_0"})
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(get(name))->state().invisible) << name;

  // "Show All Meanings" shows the view, and a screen reader then meets it.
  AppDir dir;
  auto* showAll = qobject_cast<QCheckBox*>(get("chkShowAll"));
  showAll->setChecked(true);
  window.chkShowAll_Click();
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(get("txtMeanings"))->state().invisible);
}

class ListChoice : public Accessibility {
protected:
  void SetUp() override {
    Accessibility::SetUp();
    dir.write("words.wdb", wordsFile());
    dir.write("dictionary.wdb", dictionaryFile());
    window.cmdcalc_Click();
    ASSERT_EQ(list()->count(), 8);
  }
  QListWidget* list() { return qobject_cast<QListWidget*>(get("lstWords")); }
  QString words() { return qobject_cast<QLineEdit*>(get("txtWord"))->text(); }
  QAccessibleInterface* line(int row) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(list());
    return iface ? iface->child(row) : nullptr;
  }
  // The words of a list line ("w0101-w0011"), as the meanings report heads
  // it with "Invert Pattern" and "Use List Words" checked.
  QString heading(int row) {
    const QStringList parts = list()->item(row)->text().section(": ", 1).split(" - ");
    return parts.value(1) + "-" + parts.value(0);
  }

  AppDir dir;
};

TEST_F(ListChoice, ToggleOnALineShowsItsMeaningAsAClickDoes) {
  ASSERT_EQ(window.nCurWord, 1);
  QAccessibleInterface* third = line(2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->role(), QAccessible::ListItem);
  EXPECT_EQ(third->text(QAccessible::Name), list()->item(2)->text());
  ASSERT_NE(third->actionInterface(), nullptr);
  EXPECT_EQ(third->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});

  third->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(window.nCurWord, 3);
  EXPECT_EQ(words(), heading(2));
  EXPECT_EQ(list()->currentRow(), 2);  // the keys go on from the line chosen
  QTest::keyClick(list(), Qt::Key_Down);
  EXPECT_EQ(window.nCurWord, 4);
  EXPECT_EQ(words(), heading(3));

  // A single-choice list keeps its one line chosen: toggling it again
  // changes nothing, and shows nothing again.
  QSignalSpy meaning(get("txtMeaning"), SIGNAL(textChanged()));
  line(3)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(list()->currentRow(), 3);
  EXPECT_EQ(window.nCurWord, 4);
  EXPECT_EQ(meaning.count(), 0);
}

TEST_F(ListChoice, EachWayOfChoosingRunsTheHandlerOnce) {
  // One report writes the meaning box a fixed number of times: count them
  // for a direct call, then for every way of choosing a line.
  auto* meaning = qobject_cast<QPlainTextEdit*>(get("txtMeaning"));
  QSignalSpy once(meaning, &QPlainTextEdit::textChanged);
  list()->setCurrentRow(1);
  once.clear();
  window.lstWords_Click();
  const int perReport = static_cast<int>(once.count());
  ASSERT_GT(perReport, 0);

  struct Way {
    const char* what;
    int row;
    std::function<void()> choose;
  };
  const Way ways[] = {
      {"mouse click", 4,
       [&] {
         QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(list()->item(4)).center());
       }},
      {"arrow key", 5, [&] { QTest::keyClick(list(), Qt::Key_Down); }},
      {"accessible toggle", 2,
       [&] { line(2)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction()); }},
  };
  for (const Way& way : ways) {
    QSignalSpy spy(meaning, &QPlainTextEdit::textChanged);
    way.choose();
    EXPECT_EQ(spy.count(), perReport) << way.what;
    EXPECT_EQ(window.nCurWord, way.row + 1) << way.what;
    EXPECT_EQ(words(), heading(way.row)) << way.what;
  }
}

TEST_F(Accessibility, TheButtonIsReadAsItsCaptionReads) {
  // "Tell Me" reads "Stop" while a run goes on: the name must follow, or a
  // screen reader would announce a button that is not there.
  lotwise::test::AppDir dir;  // the run writes its page into the program's folder
  auto* button = qobject_cast<QPushButton*>(get("cmdcalc"));
  ASSERT_NE(button, nullptr);
  qobject_cast<QLineEdit*>(get("txtChar"))->setText("ABCDEFGHIJ");  // long enough to be stopped
  qobject_cast<QLineEdit*>(get("txtlength"))->setText("7");
  QString nameDuringRun;
  lotwise::test::WhenReady midRun([&] { return button->text() == "Stop"; },
                                  [&] {
                                    nameDuringRun = spokenName(button);
                                    QTest::mouseClick(button, Qt::LeftButton);  // the stop request
                                  });
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(nameDuringRun, "Stop");
  EXPECT_EQ(spokenName(button), "Tell Me");
}

TEST_F(Accessibility, TabFollowsTheOrderOfTheDesign) {
  QStringList order{"txtQuestion", "txtChar"};
  for (int i = 0; i < 16; ++i)
    order << QString("txtSet_%1").arg(i);
  order += QStringList{"txtFix_16", "txtFix_0", "txtFix_1", "txtFix_2", "txtResult2", "lstWords", "txtMeaning",
                       "Picture1",  "cmdAbout", "cmdcalc",  "txtWord",  "chkInvert",  "cmdClose", "Picture2"};

  for (qsizetype i = 0; i + 1 < order.size(); ++i) {
    QWidget* from = get(order[i]);
    QWidget* to = get(order[i + 1]);
    ASSERT_TRUE(from && to);
    from->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == from; }))
        << order[i].toStdString() << " does not take the focus";
    QTest::keyClick(from, Qt::Key_Tab);
    QWidget* landed = QApplication::focusWidget();
    EXPECT_EQ(landed, to) << "Tab from " << order[i].toStdString() << " lands on "
                          << (landed ? describe(landed).toStdString() : std::string("nothing")) << ", not on "
                          << order[i + 1].toStdString();
  }
}

}  // namespace
