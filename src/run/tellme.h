// The Tell Me run's texts, computed apart from the window: the drawn grid
// cells, the count caption, the bit report and the numbered word pairs.
#pragma once

#include "engine/grid.h"

#include <QString>
#include <optional>

namespace run {

inline const QString kTellMe = QStringLiteral("Tell Me");
inline const QString kStop = QStringLiteral("Stop");
// The eight ordered pairs of grid columns.
inline const QString kPairList = QStringLiteral("DA DC CB BA AD AB BC CD");
// A cell takes the character at the drawn position; only 1..9 can be drawn.
inline const QString kBitPattern = QStringLiteral("011010100110101010100010111");

// The text a grid cell takes for a drawn digit text, or nothing when the
// digit is 0 and the cell keeps its text. A text that is not one digit
// raises an error.
std::optional<QString> cellForDigit(const QString& digit);

// "2 x (characters of the Symbols text) combinations", blanks counted.
QString countCaption(const QString& symbols);

// The pair list on its own line, then for each grid row the pair list with
// every letter replaced by that row's bit in the letter's column; blanks
// stay. Every line ends with CR LF.
QString bitReport(const QString& pairs, const engine::Grid& grid);

// One numbered line of the word-pair list: the number right-aligned in
// width characters (without thousands separators), ": ", word1, " - ",
// word2. A negative width raises an error.
QString listLine(int number, qint16 width, const QString& word1, const QString& word2);

}  // namespace run
