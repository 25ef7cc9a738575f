// Form_Resize: the right-hand column and the meanings area follow the
// window's size; nothing moves.
#include "app/frmcombination.h"
#include "support/datafolder.h"

#include "support/appdir.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

// Sizes of the stretched controls, in twips. The list follows the meanings
// view less what it leaves to show whole rows (listShort).
struct Stretch {
  int outcomesWidth, columnWidth, meaningsHeight, meaningHeight;
  bool operator==(const Stretch&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Stretch& s) {
  return os << "{outcomes " << s.outcomesWidth << ", column " << s.columnWidth << ", view " << s.meaningsHeight
            << ", meaning " << s.meaningHeight << "}";
}

class Layout : public ::testing::Test {
protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    menuHeight = window.height() - window.centralWidget()->height();
  }
  QWidget* get(const char* name) { return window.findChild<QWidget*>(name); }
  int w(const char* name) { return get(name)->width() * 15; }
  int h(const char* name) { return get(name)->height() * 15; }

  // Resizes the client area to the given twips.
  void clientTwips(int width, int height) {
    window.resize(width / 15, height / 15 + menuHeight);
    const QSize wanted(width / 15, height / 15);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.centralWidget()->size() == wanted; }))
        << "client area " << window.centralWidget()->width() << " x " << window.centralWidget()->height();
  }
  Stretch stretch() {
    for (const char* same : {"txtResult2", "txtWord", "txtMeaning", "txtMeanings"})
      EXPECT_EQ(w(same), w("txtResults")) << same;
    const int listShort = h("txtMeanings") - h("lstWords");
    EXPECT_GE(listShort, 0);
    EXPECT_LT(listShort, rowTwips()) << "the list is shorter than whole rows need";
    return {w("lblOutcomes"), w("txtResults"), h("txtMeanings"), h("txtMeaning")};
  }
  int rowTwips() {
    auto* list = window.findChild<QListWidget*>("lstWords");
    list->addItem("1");
    const int row = list->sizeHintForRow(list->count() - 1) * 15;
    delete list->takeItem(list->count() - 1);
    return row;
  }
  QList<QRect> fixedGeometry() {
    QList<QRect> all;
    QWidget* controls = get("client");
    for (QWidget* child : controls->findChildren<QWidget*>()) {
      const QString name = child->objectName();
      if (name.isEmpty() || name.startsWith("Picture") || child->parentWidget() != controls)
        continue;
      all << QRect(child->pos(), name.startsWith("txtMeaning") || name == "txtResults" || name == "txtResult2" ||
                                         name == "txtWord" || name == "lstWords" || name == "lblOutcomes"
                                     ? QSize()
                                     : child->size());
    }
    return all;
  }

  lotwise::test::DataFolder dir;  // whole data files: no warning over the window
  frmCombination window;
  int menuHeight = 0;
};

TEST_F(Layout, DesignSizeGivesTheDesignNumbers) {
  EXPECT_EQ(stretch(), (Stretch{3030, 8190, 2865, 2295}));
  // Right edges 180 twips from the window's, bottoms 360 above the bar.
  EXPECT_EQ((get("txtResults")->x() + get("txtResults")->width()) * 15, 14010 - 180);
  EXPECT_EQ((get("txtMeaning")->y() + get("txtMeaning")->height()) * 15, 8730 - 1335 - 360);
  EXPECT_EQ((get("txtMeanings")->y() + get("txtMeanings")->height()) * 15, 8730 - 1335 - 360);
}

TEST_F(Layout, StretchesWithTheWindowAndMovesNothing) {
  const QList<QRect> before = fixedGeometry();
  clientTwips(14010 + 1500, 8730);
  EXPECT_EQ(stretch(), (Stretch{4530, 9690, 2865, 2295}));
  clientTwips(14010, 8730 + 600);
  EXPECT_EQ(stretch(), (Stretch{3030, 8190, 3465, 2895}));
  EXPECT_EQ(fixedGeometry(), before);
  EXPECT_EQ(get("Picture1")->y() * 15, 8730 + 600 - 1335);
}

TEST_F(Layout, TooSmallKeepsTheLastSizesWithoutAnError) {
  clientTwips(6000, 8730);
  const Stretch narrow = stretch();
  EXPECT_EQ(narrow.columnWidth, 6000 - 5640 - 180);
  // Narrower than the column's left edge plus margin: the column keeps its
  // last width, the label (further right) also keeps its own.
  clientTwips(4500, 8730);
  EXPECT_EQ(stretch(), narrow);
  // Too low for the meanings area: it keeps its last height.
  clientTwips(14010, 8730);
  clientTwips(14010, 4500);
  EXPECT_EQ(stretch(), (Stretch{3030, 8190, 2865, 2295}));
  // Back to the design size, the design numbers return.
  clientTwips(14010, 8730);
  EXPECT_EQ(stretch(), (Stretch{3030, 8190, 2865, 2295}));
}

// Smaller than its controls need, the client area scrolls them: each one
// lies inside the scrolled widget, where it can be brought into view, and
// the button bar lies below all of them. A window that fits shows no scroll
// bar.
TEST_F(Layout, SmallWindowsScrollAndNothingPaintsOverTheBar) {
  auto* area = window.findChild<QScrollArea*>("clientArea");
  ASSERT_EQ(area, window.centralWidget());
  QWidget* controls = get("client");
  const struct {
    int width, height;
    bool fits;
  } sizes[] = {{14010, 8730, true}, {15510, 9330, true},  {14010, 4500, false}, {6000, 8730, false},
               {4500, 3000, false}, {20000, 5000, false}, {14010, 8730, true}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << size.width << " x " << size.height << " twips");
    clientTwips(size.width, size.height);
    QCoreApplication::processEvents();
    EXPECT_EQ(area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible(), !size.fits);
    EXPECT_GE(controls->width(), area->viewport()->width());
    EXPECT_GE(controls->height(), area->viewport()->height());
    const QWidget* bar = get("Picture1");
    EXPECT_EQ(bar->y() + bar->height(), controls->height());
    QList<QWidget*> inBars;
    for (const char* name : {"Picture1", "Picture2"})
      inBars << get(name)->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : controls->findChildren<QWidget*>(Qt::FindDirectChildrenOnly) + inBars) {
      const QRect place(child->mapTo(controls, QPoint(0, 0)), child->size());
      EXPECT_TRUE(controls->rect().contains(place)) << child->objectName().toStdString();
      if (child->parentWidget() == controls && !child->objectName().startsWith("Picture")) {
        EXPECT_LT(place.bottom(), bar->y()) << child->objectName().toStdString();
      }
    }
  }
}

TEST_F(Layout, MinimiseAndRestoreLeaveTheLayoutAsItWas) {
  clientTwips(15510, 9330);
  const Stretch before = stretch();
  window.showMinimized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMinimized(); }, 10000));
  window.showNormal();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isMinimized() && window.isVisible(); }, 10000));
  QCoreApplication::processEvents();  // the resize and show events that restoring posts
  EXPECT_EQ(stretch(), before);
}

// After a run the list's lines lie wholly inside its view or wholly outside
// it, at the design size and taller, scrolled to the top and to the end.
TEST_F(Layout, TheListShowsWholeRows) {
  window.cmdcalc_Click();
  auto* list = window.findChild<QListWidget*>("lstWords");
  ASSERT_EQ(list->count(), 8);
  for (const int taller : {0, 30, 1000}) {
    clientTwips(14010, 8730 + taller);
    QCoreApplication::processEvents();
    for (const int shown : {0, 7}) {
      SCOPED_TRACE(testing::Message() << taller << " twips taller, line " << shown + 1 << " scrolled into view");
      list->scrollToItem(list->item(shown));
      const QRect view = list->viewport()->rect();
      int inside = 0;
      for (int i = 0; i < list->count(); ++i) {
        const QRect line = list->visualItemRect(list->item(i));
        EXPECT_TRUE(view.contains(line) || !view.intersects(line))
            << "line " << i + 1 << " at " << line.top() << ".." << line.bottom() << " in a view of " << view.height();
        inside += view.contains(line);
      }
      EXPECT_GE(inside, 7);
    }
  }
}

TEST_F(Layout, BitReportWrapsAtANarrowWidth) {
  lotwise::test::AppDir dir;  // the run writes its meanings page there
  clientTwips(7500, 8730);
  window.cmdcalc_Click();
  auto* report = window.findChild<QPlainTextEdit*>("txtResult2");
  const QString text = report->toPlainText();
  ASSERT_EQ(text.count('\n'), 5);  // the pair list and four rows, each ended by a line break
  QCoreApplication::processEvents();

  EXPECT_FALSE(report->horizontalScrollBar()->isVisible());
  EXPECT_EQ(report->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(report->verticalScrollBar()->maximum(), 0);
  // Each character comes into view by scrolling down alone.
  const QFontMetrics metrics(report->font());
  for (int p = 0; p < text.size(); ++p) {
    if (text[p] == '\n')
      continue;
    QTextCursor cursor(report->document());
    cursor.setPosition(p);
    report->setTextCursor(cursor);
    report->ensureCursorVisible();
    const QRect caret = report->cursorRect();
    SCOPED_TRACE(p);
    EXPECT_EQ(report->horizontalScrollBar()->value(), 0);
    EXPECT_GE(caret.left(), 0);
    EXPECT_LE(caret.left() + metrics.horizontalAdvance(text[p]), report->viewport()->width());
    EXPECT_GE(caret.top(), 0);
    EXPECT_LE(caret.bottom(), report->viewport()->height());
  }
}

}  // namespace
