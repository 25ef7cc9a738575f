// The data files shipped with the program: complete, in order, consistent
// with each other and written in the exact text form.
#include "data/records.h"
#include "platform/textfile.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kDataDir = QStringLiteral(LOTWISE_DATA_DIR);

QString code(int value) { return QString::number(value, 2).rightJustified(4, u'0'); }

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The offset of the first byte that Windows-1252 leaves undefined or that
// is a control character other than the CR LF pair of a line end; -1 if none.
qsizetype firstUncleanByte(const QByteArray& bytes) {
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes.at(i));
    const bool crLf = (b == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') ||
                      (b == '\n' && i > 0 && bytes.at(i - 1) == '\r');
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D || (b < 0x20 && !crLf))
      return i;
  }
  return -1;
}

// Reads every record and checks that writing them again gives the very same
// bytes: every field quoted and trimmed, no stray quote, CR LF after each.
QList<QStringList> readExactly(const QString& name, int fields) {
  const QByteArray bytes = bytesOf(kDataDir + u'/' + name);
  EXPECT_EQ(firstUncleanByte(bytes), -1) << name.toStdString() << ": a byte outside the code page or a stray control";
  data::RecordReader reader(platform::decodeText(bytes));
  QList<QStringList> records;
  QString rewritten;
  while (!reader.atEnd() && records.size() <= 1000) {
    records << reader.readRecord(fields);
    rewritten += data::recordText(records.last());
  }
  EXPECT_EQ(bytes.count('"'), records.size() * fields * 2) << name.toStdString() << ": a field holds a double quote";
  const QByteArray again = platform::encodeText(rewritten);
  qsizetype same = 0;
  while (same < again.size() && same < bytes.size() && again.at(same) == bytes.at(same))
    ++same;
  EXPECT_TRUE(again == bytes) << name.toStdString() << " leaves the exact text form at byte " << same;
  return records;
}

TEST(ShippedData, WordsAndDictionaryAreCompleteAndConsistent) {
  const QList<QStringList> words = readExactly(data::kWordsFile, data::kWordFields);
  ASSERT_EQ(words.size(), data::kWordRecords);
  for (int k = 0; k < words.size(); ++k) {
    EXPECT_EQ(words[k][0], code(k)) << "word record " << k;
    EXPECT_FALSE(words[k][1].isEmpty()) << "word record " << k;
  }

  const QList<QStringList> rows = readExactly(data::kDictionaryFile, data::kDictionaryFields);
  ASSERT_EQ(rows.size(), data::kDictionaryRows);
  for (int r = 0; r < rows.size(); ++r) {
    const int first = r / 16, second = r % 16;
    const QStringList& row = rows[r];
    EXPECT_EQ(row[0], code(first)) << "row " << r + 1;
    EXPECT_EQ(row[1], code(second)) << "row " << r + 1;
    EXPECT_EQ(row[2], words[first][1] + " - " + words[second][1]) << "row " << r + 1;
    EXPECT_FALSE(row[3].trimmed().isEmpty()) << "row " << r + 1;
  }
}

}  // namespace
