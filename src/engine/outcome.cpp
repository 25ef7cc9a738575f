#include "outcome.h"

#include "util/numbers.h"

namespace engine {

QStringView trimSpaces(QStringView text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && text[begin] == QLatin1Char(' '))
    ++begin;
  while (end > begin && text[end - 1] == QLatin1Char(' '))
    --end;
  return text.sliced(begin, end - begin);
}

QString outcomeTotal(const QString& symbolsText, const QString& lengthText) {
  const double symbols = static_cast<double>(trimSpaces(symbolsText).size());
  return util::formatGeneral(util::power(symbols, util::Val(lengthText)));
}

QString outcomeText(qint32 count, const QString& total) {
  return QString::number(count) + QLatin1String(" of ") + total + QLatin1String(" combinations");
}

}  // namespace engine
