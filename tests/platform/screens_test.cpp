// A top-level window and its frame on the screen: at the first show, and
// after a move to a smaller screen. ctest starts this binary on an offscreen
// platform with two screens side by side, a large one and a small one.
#include "platform/windows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

constexpr int kWait = 10000;

std::string text(const QRect& r) {
  return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class Screens : public ::testing::Test {
protected:
  void SetUp() override {
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2) << "the offscreen platform was not given two screens";
    large = screens[0];
    small = screens[1];
    ASSERT_GT(large->availableGeometry().width(), small->availableGeometry().width());
  }
  QScreen* large = nullptr;
  QScreen* small = nullptr;
};

TEST_F(Screens, TheFramedWindowLiesOnItsScreenFromTheFirstShow) {
  for (const QSize wanted : {QSize(600, 400), QSize(2600, 1700)}) {
    SCOPED_TRACE(wanted.width());
    QWidget window;
    window.resize(wanted);
    platform::fitOnScreen(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.windowHandle()->frameMargins().isNull()) << "the platform gave the window no frame";
    EXPECT_TRUE(QTest::qWaitFor([&] { return large->availableGeometry().contains(window.frameGeometry()); }, kWait))
        << text(window.frameGeometry()) << " on " << text(large->availableGeometry());
    // A window that fits keeps its size; one too large takes the whole area.
    if (wanted.width() < large->availableGeometry().width())
      EXPECT_EQ(window.size(), wanted);
    else
      EXPECT_EQ(window.frameGeometry().width(), large->availableGeometry().width());
  }
}

TEST_F(Screens, AWindowMovedToASmallerScreenIsFittedToIt) {
  QWidget window;
  window.resize(large->availableGeometry().size() * 3 / 4);
  platform::fitOnScreen(&window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.move(small->availableGeometry().topLeft() + QPoint(40, 30));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return window.screen() == small && small->availableGeometry().contains(window.frameGeometry()); }, kWait))
      << text(window.frameGeometry()) << " on " << text(small->availableGeometry());
}

}  // namespace
