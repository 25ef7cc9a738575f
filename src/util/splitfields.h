// The delimited field parser, its counting routine and a value exchange.
#pragma once

#include <QString>
#include <QStringList>
#include <utility>

namespace util {

// Anything that takes one item at a time: a list box, a combo box, a test.
class ListSink {
public:
  virtual ~ListSink() = default;
  virtual void AddItem(const QString& item) = 0;
};

// Cuts text into fields. Element 0 of the result holds the number of fields
// found as decimal text, elements 1.. the fields; the array is sized from the
// separator count beforehand, so take the number of fields from element 0.
//   delimiters: one character d: fields between occurrences of d;
//               two characters xy: fields between x and the next y;
//               blank or empty: as "{}"; three or more: no field at all.
//   list:        every non-empty field is also added to it, in order.
//   stripQuotes: single quotes group text and are removed from the fields.
//   maxFields:   2 or more limits the fields; the last holds the rest.
//   sortMode:    1 text ascending, 2 numeric ascending, 3 text descending,
//                4 numeric descending; 0 or below: as found.
// Raises an overflow when sorting more than 32767 fields, and an error when
// the array would have no element at all.
QStringList SplitFields(const QString& text, QString delimiters, ListSink* list = nullptr, bool stripQuotes = false,
                        qint32 maxFields = 0, qint32 sortMode = 0);

// Occurrences of separator in text, overlapping ones included; an empty
// separator matches at every position.
qint32 CountFields(const QString& text, const QString& separator);

template <typename T>
void SwapValues(T& a, T& b) {
  T copy = std::move(a);
  a = std::move(b);
  b = std::move(copy);
}

}  // namespace util
