// The outcome label of the enumeration: "N of T combinations".
#pragma once

#include <QString>

namespace engine {

// T: the number of symbols (the symbols text without the spaces around it)
// raised to the leading number of the length text, in general number form.
// Raises an overflow when the total is beyond a double.
QString outcomeTotal(const QString& symbolsText, const QString& lengthText);

QString outcomeText(qint32 count, const QString& total);

}  // namespace engine
