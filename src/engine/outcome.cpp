#include "outcome.h"

#include "util/numbers.h"
#include "util/text.h"

namespace engine {

QString outcomeTotal(const QString& symbolsText, const QString& lengthText) {
  const double symbols = static_cast<double>(util::trimSpaces(symbolsText).size());
  return util::formatGeneral(util::power(symbols, util::Val(lengthText)));
}

QString outcomeText(qint32 count, const QString& total) {
  return QString::number(count) + QLatin1String(" of ") + total + QLatin1String(" combinations");
}

}  // namespace engine
