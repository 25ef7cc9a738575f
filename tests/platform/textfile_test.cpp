#include "platform/error.h"
#include "platform/textfile.h"
#include "support/errorof.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using lotwise::test::errorOf;

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    all.append(char(b));
  const QString text = platform::decodeText(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(text.at(0x80), QChar(0x20AC));  // euro sign
  EXPECT_EQ(text.at(0xE9), QChar(0xE9));
  EXPECT_EQ(platform::encodeText(text), all);
}

TEST(CodePage, CharactersOutsideItBecomeQuestionMarks) {
  EXPECT_EQ(platform::encodeText(QString::fromUtf8("a\u4e2db\U0001F600c\u001a")), QByteArray("a?b?c\x1a"));
}

TEST(TextFiles, WriteLinesWithCrLfAndReadThemBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("out.txt");
  {
    platform::TextWriter out(path);
    out.writeLine(u"caf\u00e9");
    out.write(u"x");
    out.writeLine(u"");
    out.close();
  }
  EXPECT_EQ(bytesOf(path), QByteArray("caf\xe9\r\nx\r\n"));
  EXPECT_EQ(platform::readTextFile(path), QString::fromUtf8("café\r\nx\r\n"));

  platform::TextWriter again(path);  // truncates
  again.close();
  EXPECT_EQ(bytesOf(path), QByteArray());
}

TEST(TextFiles, FailuresCarryNumbers) {
  QTemporaryDir dir;
  EXPECT_EQ(errorOf([&] { platform::readTextFile(dir.filePath("missing.txt")); }), platform::FileNotFound);
  EXPECT_EQ(errorOf([&] { platform::readTextFile(dir.filePath("no/such.txt")); }), platform::PathNotFound);
  EXPECT_EQ(errorOf([&] { platform::TextWriter(dir.filePath("no/such.txt")); }), platform::PathNotFound);
  EXPECT_EQ(errorOf([&] { platform::readTextFile(dir.path()); }), platform::PathFileAccessError);
}

TEST(TextFiles, InjectedWriteFaultFiresOnce) {
  QTemporaryDir dir;
  platform::TextWriter out(dir.filePath("out.txt"));
  platform::testing::failWriteAfter(2);
  EXPECT_EQ(errorOf([&] { out.writeLine(u"one"); }), 0);
  EXPECT_EQ(errorOf([&] { out.writeLine(u"two"); }), platform::DiskFull);
  EXPECT_EQ(errorOf([&] { out.writeLine(u"three"); }), 0);
  out.close();
  EXPECT_EQ(bytesOf(dir.filePath("out.txt")), QByteArray("one\r\nthree\r\n"));
}

TEST(CopyFile, ReplacesTheTargetByteForByte) {
  QTemporaryDir dir;
  const QString source = dir.filePath("a"), target = dir.filePath("b");
  QByteArray content("\x00\x01\r\n\xff long line", 14);
  {
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    QFile t(target);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("an older and much longer content");
  }
  platform::copyFile(source, target);
  EXPECT_EQ(bytesOf(target), content);
  EXPECT_EQ(errorOf([&] { platform::copyFile(dir.filePath("missing"), target); }), platform::FileNotFound);
  EXPECT_EQ(bytesOf(target), content);  // a failed copy leaves the target alone
}

}  // namespace
