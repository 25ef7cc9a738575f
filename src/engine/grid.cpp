#include "grid.h"

#include "platform/textfile.h"

namespace engine {

int letterIndex(QChar character) {
  const QString upper = QString(character).toUpper();
  // A character outside the code page is written, and so counted, as "?".
  const QByteArray code = platform::encodeText(upper.left(1));
  return (code.isEmpty() ? int('?') : int(static_cast<unsigned char>(code.at(0)))) - int('A');
}

QString columnCode(const Grid& grid, QChar character) {
  const int column = letterIndex(character);
  QString code;
  for (int row = 0; row < 4; ++row) {
    const int cell = column + 4 * row;
    if (cell >= 0 && cell < 16)
      code += grid[cell];
  }
  return code;
}

}  // namespace engine
