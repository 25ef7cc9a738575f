#include "platform/error.h"
#include "platform/windows.h"
#include "support/modal.h"

#include <gtest/gtest.h>

namespace {

TEST(ShowFailure, CriticalBoxTitledWithTheNumber) {
  lotwise::test::SeenBox seen;
  lotwise::test::answerMessageBox(&seen);
  platform::showFailure(nullptr, platform::Error(platform::DiskFull, QStringLiteral("Disk full")));
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.title, "Error 61");
  EXPECT_EQ(seen.text, "Disk full");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

}  // namespace
