// The words of the results box, shared by the run and the meanings report.
#pragma once

#include <QStringList>

namespace util {

// Element 0: the number of words as decimal text; elements 1..n: the words.
extern QStringList gWords;

}  // namespace util
