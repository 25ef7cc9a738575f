// The bit grid as plain data, and the codes read from it.
#pragma once

#include <QChar>
#include <QString>
#include <array>

namespace engine {

// Cell i of the grid lies in row i div 4 + 1 and column i mod 4 (A..D).
using Grid = std::array<QString, 16>;

// The column a character stands for: its upper-cased character code in the
// program's code page minus that of "A" (A 0, B 1, C 2, D 3; other
// characters give other numbers, the blank -33).
int letterIndex(QChar character);

// The texts of the cells letterIndex + 4 (row - 1) for rows 1 to 4 that lie
// inside the grid, joined: for A to D the column's code read top to bottom.
// E takes rows 2 to 4 of column A, M only the last cell of column A, P only
// cell 15; most other characters take no cell at all.
QString columnCode(const Grid& grid, QChar character);

}  // namespace engine
