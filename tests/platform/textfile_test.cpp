#include "platform/error.h"
#include "platform/textfile.h"
#include "support/errorof.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using lotwise::test::errorOf;

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

}  // namespace
