#include "tellme.h"

#include "platform/error.h"
#include "util/numbers.h"
#include "util/padnumber.h"

namespace run {

std::optional<QString> cellForDigit(const QString& digit) {
  const quint8 position = util::toByte(digit);
  if (position == 0)
    return std::nullopt;  // position 0 is not a position of the pattern
  if (position > kBitPattern.size())
    platform::raiseInvalidCall();
  return kBitPattern.mid(position - 1, 1);
}

QString countCaption(const QString& symbols) {
  return QString::number(2 * qint64(symbols.size())) + QLatin1String(" combinations");
}

QString bitReport(const QString& pairs, const engine::Grid& grid) {
  static const QLatin1String kLineEnd("\r\n");
  QString report = pairs + kLineEnd;
  for (int row = 0; row < 4; ++row) {
    for (QChar ch : pairs) {
      if (ch == QLatin1Char(' ')) {
        report += QLatin1Char(' ');
        continue;
      }
      const int cell = engine::letterIndex(ch) + 4 * row;
      if (cell >= 0 && cell < 16)
        report += grid[cell];
    }
    report += kLineEnd;
  }
  return report;
}

QString listLine(int number, qint16 width, const QString& word1, const QString& word2) {
  return util::PadNumber(number, width).remove(QLatin1Char(',')) + QLatin1String(": ") + word1 + QLatin1String(" - ") +
         word2;
}

}  // namespace run
