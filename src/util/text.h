// Small text helpers shared by the layers above.
#pragma once

#include <QStringView>

namespace util {

// The text without the spaces at its start and end; tabs and other blanks
// stay, as the data files and the boxes have always been trimmed.
inline QStringView trimSpaces(QStringView text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin] == u' ')
    ++begin;
  while (end > begin && text[end - 1] == u' ')
    --end;
  return text.sliced(begin, end - begin);
}

}  // namespace util
