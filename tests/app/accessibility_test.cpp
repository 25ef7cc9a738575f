// What a screen reader meets in the main window: a name for every control
// that takes the focus, and the tab order of the design.
#include "app/frmcombination.h"
#include "support/appdir.h"
#include "support/datafolder.h"
#include "support/printers.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

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

TEST_F(Accessibility, NamesAreTheCaptionsOrTheLabelsBesideThem) {
  const struct {
    const char* control;
    const char* name;
  } rows[] = {
      {"txtQuestion", "Enter Question:"},  // the prompt beside it
      {"txtChar", "Symbols:"},
      {"cmdcalc", "Tell Me"},
      {"cmdClose", "Close Application"},
      {"cmdAbout", "About"},
      {"chkInvert", "Invert Pattern"},
      {"txtFix_16", "Column A"},  // the headers read A..D, whatever their index
      {"txtFix_2", "Column D"},
      {"txtSet_0", "Row 1 column A"},
      {"txtSet_15", "Row 4 column D"},
  };
  for (const auto& row : rows) {
    QWidget* w = get(row.control);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(spokenName(w), row.name) << row.control;
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
  QTimer::singleShot(30, &window, [&] {
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
