// Reading fields and records, and the text form they are written in.
#include "data/records.h"
#include "platform/textfile.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Records = std::vector<std::vector<std::string>>;

// Reads records to the end, failing the test on a step that does not move on.
Records readAll(const QString& text, int fields) {
  data::RecordReader reader(text);
  Records records;
  while (!reader.atEnd()) {
    const qsizetype before = reader.position();
    std::vector<std::string> record;
    for (const QString& field : reader.readRecord(fields))
      record.push_back(field.toStdString());
    records.push_back(record);
    if (reader.position() <= before) {
      ADD_FAILURE() << "no progress at " << before;
      break;
    }
  }
  return records;
}

Records readBytes(const std::string& bytes, int fields) {
  return readAll(platform::decodeText(QByteArrayView(bytes.data(), qsizetype(bytes.size()))), fields);
}

struct ReadCase {
  const char* name;
  std::string bytes;
  int fields;
  Records expected;
};

TEST(RecordReader, ReadingRules) {
  const std::vector<ReadCase> cases = {
      {"hand-made unquoted line", "0101,abc", 2, {{"0101", "abc"}}},
      {"values stay text", "007,1e3\r\n", 2, {{"007", "1e3"}}},
      {"quoted field keeps commas and line breaks",
       "\"0000\",\"0001\",\"a - b\",\"one, two\r\nthree\"\r\n",
       4,
       {{"0000", "0001", "a - b", "one, two\r\nthree"}}},
      {"a record spans lines",
       "0101\r\nabc\r\n\"0110\",\r\n\"def\"\r\n",
       2,
       {{"0101", "abc"}, {"0110", ""}, {"def", ""}}},
      {"a short line takes the rest from the next", "\"a\",\"b\"\r\n\"c\",\"d\"\r\n", 4, {{"a", "b", "c", "d"}}},
      {"lone CR and lone LF end lines", "a,b\rc,d\ne,f\r\n", 2, {{"a", "b"}, {"c", "d"}, {"e", "f"}}},
      {"spaces: skipped before, dropped after, kept inside and in quotes",
       "   a b  ,  \"  c  \"  \r\n",
       2,
       {{"a b", "  c  "}}},
      {"text after a closing quote is dropped", "\"ab\"cd,\"x\"\"y\r\n\"z\",w", 2, {{"ab", "x"}, {"z", "w"}}},
      {"an unterminated quote takes the rest", "\"0101\",\"abc\r\nmore, text", 2, {{"0101", "abc\r\nmore, text"}}},
      {"an unterminated quote right at the end", "0101,\"", 2, {{"0101", ""}}},
      {"no line end after the last record", "\"0101\",\"abc\"", 2, {{"0101", "abc"}}},
      {"trailing line ends and blanks add no record", "\"0101\",\"abc\"\r\n\r\n  \r\n\n", 2, {{"0101", "abc"}}},
      {"empty text", "", 2, {}},
      {"only spaces", "      ", 4, {}},
      {"only line ends", "\r\n\r\n\n\r", 2, {}},
      {"blank lines between records are skipped", "a,b\r\n\r\n   \r\nc,d\r\n", 2, {{"a", "b"}, {"c", "d"}}},
      {"a blank line inside a record is an empty field", "a\r\n\r\nb\r\n", 2, {{"a", ""}, {"b", ""}}},
      {"empty fields", ",,\"\",\r\n\"\",\"\",\"\",\"\"\r\n", 4, {{"", "", "", ""}, {"", "", "", ""}}},
      {"a record cut short gets empty fields", "\"0000\",\"0001\"", 4, {{"0000", "0001", "", ""}}},
      {"NUL bytes are characters", "a\0b,\"\0c\"\r\n"s, 2, {{"a\0b"s, "\0c"s}}},
      {"Windows-1252 text", "caf\xe9,\x80 \x93ok\x94\r\n", 2, {{"caf\u00e9", "\u20ac \u201cok\u201d"}}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readBytes(c.bytes, c.fields), c.expected);
  }
}

TEST(RecordReader, FieldByFieldAndPastTheEnd) {
  data::RecordReader reader(QStringLiteral(" \"a\" , b \r\n"));
  EXPECT_EQ(reader.readField(), "a");
  EXPECT_EQ(reader.readField(), "b");
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(reader.readField(), "");
  EXPECT_EQ(reader.readRecord(2), QStringList({"", ""}));
  EXPECT_THROW(reader.readRecord(0), platform::Error);
}

// Whatever the bytes, reading ends, moves on at every record and yields no
// more records than characters. A slow (quadratic) reader trips the test
// timeout here; the speed itself is measured by bench/record_reader_bench.
TEST(RecordReader, ArbitraryBytesReadToTheEnd) {
  constexpr size_t kSize = 1 << 20;
  std::mt19937 random(4);
  std::string noise(kSize, ' ');
  for (char& c : noise)
    c = char(random());
  std::string fieldsOfJunk;
  while (fieldsOfJunk.size() < kSize)
    fieldsOfJunk += "\"a\"x,  ,\r\r\n\"";
  const std::vector<std::pair<const char*, std::string>> inputs = {
      {"random bytes", noise},
      {"spaces", std::string(kSize, ' ')},
      {"quotes", std::string(kSize, '"')},
      {"commas", std::string(kSize, ',')},
      {"carriage returns", std::string(kSize, '\r')},
      {"an unterminated quote", "\"" + std::string(kSize, 'a')},
      {"junk around quotes", fieldsOfJunk},
  };
  for (const auto& [name, bytes] : inputs) {
    SCOPED_TRACE(name);
    for (int fields : {2, 4})
      EXPECT_LE(readBytes(bytes, fields).size(), bytes.size());
  }
}

TEST(RecordText, ExactBytes) {
  const QByteArray word("\x22\x30\x31\x30\x31\x22\x2C\x22\x61\x62\x63\x22\x0D\x0A");
  EXPECT_EQ(platform::encodeText(data::recordText({"0101", "abc"})), word);
  const QByteArray emptyRow = platform::encodeText(data::recordText({"", "", "", ""}));
  EXPECT_EQ(emptyRow, QByteArray("\"\",\"\",\"\",\"\"\r\n"));
  EXPECT_EQ(emptyRow.size(), 13);
}

TEST(RecordText, FieldsAsStored) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"  two words  ", "two words"},
      {"\tkept\t", "\tkept\t"},  // only spaces are trimmed
      {"   ", ""},
      {"one\ntwo\rthree\r\nfour", "one\r\ntwo\r\nthree\r\nfour"},
      {"line \r\n", "line \r\n"},
      {"say \"hi\"", "say 'hi'"},
  };
  for (const auto& [value, stored] : cases)
    EXPECT_EQ(data::fieldText(value), stored) << value.toStdString();
}

struct RoundTrip {
  const char* name;
  QStringList written;
  QStringList read;
};

TEST(RecordText, ReadsBackAsWritten) {
  const std::vector<RoundTrip> cases = {
      {"a meaning of two lines",
       {"0000", "0001", "a - b", "First line.\r\nSecond line."},
       {"0000", "0001", "a - b", "First line.\r\nSecond line."}},
      {"empty fields", {"", "0001", "", ""}, {"", "0001", "", ""}},
      {"spaces around and inside", {"  0101 ", " two  words  "}, {"0101", "two  words"}},
      {"commas and characters of the code page", {"a, b", "caf\u00e9 \u20ac"}, {"a, b", "caf\u00e9 \u20ac"}},
      {"a double quote does not shift the next field", {"say \"hi\"", "next"}, {"say 'hi'", "next"}},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.name);
    const QString text = platform::decodeText(platform::encodeText(data::recordText(c.written)));
    data::RecordReader reader(text);
    EXPECT_EQ(reader.readRecord(int(c.written.size())), c.read);
    EXPECT_EQ(reader.lastFlaw(), data::RecordReader::Flaw::None);  // what the writer writes is never flawed
    EXPECT_TRUE(reader.atEnd());
  }
}

}  // namespace
