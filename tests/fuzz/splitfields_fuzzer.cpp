// SplitFields with delimiters and options taken from the input: nothing may
// crash, and the result must keep the shape its callers rely on.
#include "fuzzcheck.h"
#include "util/numbers.h"
#include "util/splitfields.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>

namespace {

using lotwise::fuzz::errorOf;
using namespace util;

class RecordingSink : public ListSink {
public:
  void AddItem(const QString& item) override { items.append(item); }
  QStringList items;
};

qint32 naiveCount(const QString& text, const QString& separator) {
  if (separator.isEmpty())
    return static_cast<qint32>(text.size());
  qint32 n = 0;
  for (qsizetype p = 0; p + separator.size() <= text.size(); ++p)
    n += QStringView(text).sliced(p, separator.size()) == separator;
  return n;
}

bool inOrder(const QString& a, const QString& b, qint32 sortMode) {
  switch (sortMode) {
    case 1:
      return !(b < a);
    case 2:
      return !(Val(b) < Val(a));
    case 3:
      return !(a < b);
    case 4:
      return !(Val(a) < Val(b));
  }
  return true;
}

}  // namespace

// Layout: options byte (delimiter length in bits 0-1, stripQuotes bit 2,
// list bit 3, sort mode from the high bits), field limit byte, the
// delimiter characters, then the text. Bytes are Latin-1 characters.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2)
    return 0;
  const int options = data[0];
  const qint32 maxFields = static_cast<int8_t>(data[1]) % 12;
  const auto delimiterLength = std::min<size_t>(options & 3, size - 2);
  const bool stripQuotes = options & 4;
  const bool withList = options & 8;
  const qint32 sortMode = (options >> 4) % 7 - 1;
  const char* bytes = reinterpret_cast<const char*>(data);
  const QString delimiters = QString::fromLatin1(bytes + 2, static_cast<qsizetype>(delimiterLength));
  const QString text =
      QString::fromLatin1(bytes + 2 + delimiterLength, static_cast<qsizetype>(size - 2 - delimiterLength));

  FUZZ_CHECK(CountFields(text, delimiters) == naiveCount(text, delimiters));

  RecordingSink sink;
  QStringList result;
  const int error = errorOf(
      [&] { result = SplitFields(text, delimiters, withList ? &sink : nullptr, stripQuotes, maxFields, sortMode); });
  const bool blank = std::all_of(delimiters.cbegin(), delimiters.cend(), [](QChar c) { return c == u' '; });
  const bool noOpening = !blank && delimiters.size() >= 3;
  if (error == platform::SubscriptOutOfRange) {
    FUZZ_CHECK(noOpening && text.isEmpty());
    return 0;
  }
  if (error == platform::Overflow) {
    // Only a numeric sort meets a leading number beyond a double.
    FUZZ_CHECK(sortMode == 2 || sortMode == 4);
    return 0;
  }
  FUZZ_CHECK(error == 0);

  FUZZ_CHECK(!result.isEmpty());
  bool ok = false;
  const int count = result[0].toInt(&ok);
  FUZZ_CHECK(ok && count >= 0 && count < result.size());
  for (qsizetype i = count + 1; i < result.size(); ++i)
    FUZZ_CHECK(result[i].isEmpty());
  const QStringList fields = result.mid(1, count);

  if (noOpening)
    FUZZ_CHECK(count == 0 && result.size() == text.size());

  // One character, no quotes, no limit: exactly the runs between separators.
  if (delimiters.size() == 1 && !blank && !stripQuotes && maxFields < 2 && sortMode <= 0) {
    FUZZ_CHECK(fields == text.split(delimiters.front()));
    FUZZ_CHECK(result.size() == count + 1);
  }

  if (withList) {
    QStringList nonEmpty;
    for (const QString& f : fields) {
      if (!f.isEmpty())
        nonEmpty.append(f);
    }
    QStringList items = sink.items;
    if (sortMode > 0) {  // the list keeps the order of appearance
      std::sort(items.begin(), items.end());
      std::sort(nonEmpty.begin(), nonEmpty.end());
    }
    FUZZ_CHECK(items == nonEmpty);
  }

  for (qsizetype i = 0; i + 1 < fields.size(); ++i)
    FUZZ_CHECK(inOrder(fields[i], fields[i + 1], sortMode));
  return 0;
}
