#include "splitfields.h"

#include "numbers.h"
#include "platform/error.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace util {
namespace {

constexpr char16_t kQuote = u'\'';

bool onlySpaces(const QString& text) {
  return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

// The order of the sort modes; the sort never moves equal fields, so a
// stable sort with the same test gives what the exchange passes give.
void sortFields(QStringList& fields, qsizetype count, qint32 sortMode) {
  // The passes count fields in 16 bits.
  if (count > std::numeric_limits<qint16>::max())
    platform::raiseOverflow();
  if (sortMode < 1 || sortMode > 4 || count < 2)
    return;
  const auto first = fields.begin() + 1;
  const auto last = first + count;
  if (sortMode == 1) {
    std::stable_sort(first, last, [](const QString& a, const QString& b) { return a < b; });
  } else if (sortMode == 3) {
    std::stable_sort(first, last, [](const QString& a, const QString& b) { return b < a; });
  } else {
    // Every field meets a neighbour in the first pass, so a field whose
    // leading number is out of range fails the whole sort either way.
    std::vector<std::pair<double, QString>> keyed;
    keyed.reserve(static_cast<std::size_t>(count));
    for (auto it = first; it != last; ++it)
      keyed.emplace_back(Val(*it), std::move(*it));
    if (sortMode == 2)
      std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    else
      std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return b.first < a.first; });
    auto it = first;
    for (auto& entry : keyed)
      *it++ = std::move(entry.second);
  }
}

}  // namespace

qint32 CountFields(const QString& text, const QString& separator) {
  qsizetype count = 0;
  if (separator.isEmpty()) {
    count = text.size();
  } else {
    for (qsizetype at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, at + 1))
      ++count;
  }
  if (count > std::numeric_limits<qint32>::max())
    platform::raiseOverflow();
  return static_cast<qint32>(count);
}

QStringList SplitFields(const QString& text, QString delimiters, ListSink* list, bool stripQuotes, qint32 maxFields,
                        qint32 sortMode) {
  if (onlySpaces(delimiters))
    delimiters = QStringLiteral("{}");

  QString opening, closing, working;
  if (delimiters.size() == 1) {
    opening = delimiters;
    working = delimiters + text + delimiters;
  } else if (delimiters.size() == 2) {
    opening = delimiters.left(1);
    closing = delimiters.mid(1);
    working = text + delimiters;
  } else {
    working = text;  // no opening character: no field at all
  }

  // Sized from the openings before the scan, so quotes and the field limit
  // leave empty elements at the end.
  const qint32 size = CountFields(working, opening);
  if (size < 1)
    platform::raiseSubscriptOutOfRange();
  QStringList result(size);

  qsizetype count = 0;
  qsizetype start = -1;  // index of the first character of the field under way
  bool inQuote = false;
  const QChar open = opening.isEmpty() ? QChar() : opening.front();
  const bool hasOpening = !opening.isEmpty();

  auto addField = [&](const QString& field) {
    result[++count] = field;
    if (list && !field.isEmpty())
      list->AddItem(field);
  };

  for (qsizetype p = 0; p < working.size(); ++p) {
    const QChar ch = working[p];
    if (hasOpening && ch == open && !inQuote) {
      if (start < 0) {
        start = p + 1;  // whatever stands before the first opening is dropped
        continue;
      }
      // The closing character is taken to stand just before this opening;
      // two openings side by side make an empty field.
      const qsizetype length = std::max<qsizetype>(0, p - start - closing.size());
      QString field = working.mid(start, length);
      if (!closing.isEmpty()) {
        const qsizetype cut = field.indexOf(closing);
        if (cut >= 0)
          field.truncate(cut);
      }
      if (stripQuotes)
        field.remove(kQuote);
      addField(field);
      start = p + 1;

      if (maxFields >= 2 && maxFields < size - 1 && count + 1 == maxFields) {
        // The rest of the caller's text, from the character that stands at
        // this position of the working text: in one-character mode the text
        // after this separator, in pair mode from this opening on.
        addField(text.mid(p));
        break;
      }
    } else if (ch == kQuote && !inQuote) {
      inQuote = stripQuotes;
    } else if (ch == kQuote && inQuote) {
      inQuote = false;
    }
  }

  result[0] = QString::number(count);
  if (sortMode > 0)
    sortFields(result, count, sortMode);
  return result;
}

}  // namespace util
