#include "util/splitfields.h"

#include "support/errorof.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace {

using lotwise::test::errorOf;
using namespace util;

class RecordingSink : public ListSink {
public:
  void AddItem(const QString& item) override { items.append(item); }
  QStringList items;
};

QStringList manyFields(int n) {
  QStringList fields;
  for (int i = 0; i < n; ++i)
    fields.append(QString::number((i * 7919) % n));
  return fields;
}

TEST(SplitFields, CutsTextByMode) {
  struct Case {
    const char* what;
    QString text;
    QString delimiters;
    bool stripQuotes;
    qint32 maxFields;
    qint32 sortMode;
    QStringList expected;
  };
  const Case cases[] = {
      {"the pair list with its blanks turned into commas",
       "DA,DC,CB,BA,AD,AB,BC,CD",
       ",",
       false,
       0,
       0,
       {"8", "DA", "DC", "CB", "BA", "AD", "AB", "BC", "CD"}},
      {"empty text is one empty field", "", ",", false, 0, 0, {"1", ""}},
      {"empty runs are fields", "a,,b", ",", false, 0, 0, {"3", "a", "", "b"}},
      {"a tab is a delimiter, not a blank", "a\tb", "\t", false, 0, 0, {"2", "a", "b"}},
      {"pairs", "{a}{b}", "{}", false, 0, 0, {"2", "a", "b"}},
      {"outside the pairs is dropped", "x{a}junk{b}", "{}", false, 0, 0, {"2", "a", "b"}},
      {"empty delimiters mean {}", "{a}", "", false, 0, 0, {"1", "a"}},
      {"two blanks mean {}", "{a}", "  ", false, 0, 0, {"1", "a"}},
      {"a blank delimiter cannot split at blanks", "a b", " ", false, 0, 0, {"0"}},
      {"two openings side by side make an empty field", "{{a}", "{}", false, 0, 0, {"2", "", "a"}},
      {"quotes group and are stripped; the array keeps its size", "'x,y',z", ",", true, 0, 0, {"2", "x,y", "z", ""}},
      {"without stripQuotes quotes are plain characters", "'x,y',z", ",", false, 0, 0, {"3", "'x", "y'", "z"}},
      {"an unclosed quote hides every later separator", "it's,x", ",", true, 0, 0, {"0", "", ""}},
      {"field limit: the last field holds the rest", "a,b,c,d", ",", false, 3, 0, {"3", "a", "b", "c,d", ""}},
      {"field limit 1 is no limit", "a,b,c,d", ",", false, 1, 0, {"4", "a", "b", "c", "d"}},
      {"field limit above the fields is no limit", "a,b,c,d", ",", false, 5, 0, {"4", "a", "b", "c", "d"}},
      {"field limit in pair mode starts the rest at its opening",
       "{a}{b}{c}",
       "{}",
       false,
       2,
       0,
       {"2", "a", "{b}{c}", ""}},
      {"numeric ascending", "10,9,100", ",", false, 0, 2, {"3", "9", "10", "100"}},
      {"text ascending", "10,9,100", ",", false, 0, 1, {"3", "10", "100", "9"}},
      {"text descending", "10,9,100", ",", false, 0, 3, {"3", "9", "100", "10"}},
      {"numeric descending", "10,9,100", ",", false, 0, 4, {"3", "100", "10", "9"}},
      {"other modes keep the order", "10,9,100", ",", false, 0, 5, {"3", "10", "9", "100"}},
      {"negative mode keeps the order", "10,9,100", ",", false, 0, -1, {"3", "10", "9", "100"}},
      {"text order is by character code", "b,B,a", ",", false, 0, 1, {"3", "B", "a", "b"}},
      {"equal numbers keep their order", "2,02,1", ",", false, 0, 2, {"3", "1", "2", "02"}},
      {"a field without a number counts as 0", "x,-1,3", ",", false, 0, 2, {"3", "-1", "x", "3"}},
      {"three or more characters: one element per character", "abc", "xyz", false, 0, 0, {"0", "", ""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitFields(c.text, c.delimiters, nullptr, c.stripQuotes, c.maxFields, c.sortMode), c.expected) << c.what;
  }
}

TEST(SplitFields, ThreeCharacterDelimitersOnEmptyTextIsAnError) {
  EXPECT_EQ(errorOf([] { SplitFields("", "abc"); }), platform::SubscriptOutOfRange);
}

TEST(SplitFields, ListSinkGetsNonEmptyFieldsInOrderOfAppearance) {
  RecordingSink sink;
  SplitFields("b,,a", ",", &sink);
  EXPECT_EQ(sink.items, QStringList({"b", "a"}));

  sink.items.clear();
  EXPECT_EQ(SplitFields("b,,a", ",", &sink, false, 0, 1), QStringList({"3", "", "a", "b"}));
  EXPECT_EQ(sink.items, QStringList({"b", "a"}));  // filled before sorting

  sink.items.clear();
  SplitFields("a,b,c", ",", &sink, false, 2);
  EXPECT_EQ(sink.items, QStringList({"a", "b,c"}));
}

TEST(SplitFields, SortingPastSixteenBitsOverflows) {
  const QStringList fields = manyFields(32768);
  const QString text = fields.join(',');
  EXPECT_EQ(errorOf([&] { SplitFields(text, ","); }), 0);
  EXPECT_EQ(errorOf([&] { SplitFields(text, ",", nullptr, false, 0, 9); }), platform::Overflow);
  EXPECT_EQ(errorOf([&] { SplitFields(text, ",", nullptr, false, 0, 1); }), platform::Overflow);

  const QStringList below = SplitFields(fields.mid(1).join(','), ",", nullptr, false, 0, 2);
  ASSERT_EQ(below.size(), 32768);
  EXPECT_EQ(below[0], QString("32767"));
  for (qsizetype i = 1; i + 1 < below.size(); ++i)
    ASSERT_EQ(below[i].toInt() + 1, below[i + 1].toInt()) << i;
}

TEST(SplitFields, NumericSortFailsOnANumberBeyondADouble) {
  EXPECT_EQ(errorOf([] { SplitFields("1,1e999", ",", nullptr, false, 0, 2); }), platform::Overflow);
  EXPECT_EQ(SplitFields("1e999", ",", nullptr, false, 0, 2), QStringList({"1", "1e999"}));
}

TEST(CountFields, CountsOverlappingMatches) {
  EXPECT_EQ(CountFields("aaa", "aa"), 2);
  EXPECT_EQ(CountFields("abc", ""), 3);
  EXPECT_EQ(CountFields("", ""), 0);
  EXPECT_EQ(CountFields("abc", "abcd"), 0);
  EXPECT_EQ(CountFields("a,b,c", ","), 2);
}

TEST(SwapValues, ExchangesTwoTexts) {
  QString a = "left", b = "right";
  SwapValues(a, b);
  EXPECT_EQ(a, QString("right"));
  EXPECT_EQ(b, QString("left"));
}

}  // namespace
