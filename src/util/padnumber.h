// Right-aligned number text for the numbered word-pair lines.
#pragma once

#include <QString>

namespace util {

// value formatted as "#,##0" (rounded, "," between thousands, "-" when
// negative), blank-padded on the left to width characters, or cut on the
// left when longer. A negative width raises an error.
QString PadNumber(double value, qint16 width);

}  // namespace util
