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

// A path or a data file's text in a message is shown as it stands: a
// folder named like markup must not make Qt's text engine reach for a file.
TEST(MessageBoxes, ShowTheirTextAsPlainText) {
  const QString text = QStringLiteral("<img src=\"/nowhere/fifo\"> <b>not bold</b>");
  Qt::TextFormat format = Qt::AutoText;
  lotwise::test::whenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    format = box->textFormat();
    box->done(QMessageBox::Ok);
  });
  platform::messageBox(nullptr, text, QStringLiteral("Lotwise"), platform::Icon::None);
  EXPECT_EQ(format, Qt::PlainText);
  QMessageBox* notice = platform::showNotice(nullptr, text, QStringLiteral("Lotwise"));
  EXPECT_EQ(notice->textFormat(), Qt::PlainText);
  EXPECT_EQ(notice->text(), text);
  delete notice;
}

}  // namespace
