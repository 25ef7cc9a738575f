// Numbers in text, the way the program has always read and written them.
// The separators are fixed: "," groups thousands, "." marks decimals.
#pragma once

#include <QString>
#include <QStringView>

namespace util {

// The leading number of a text: blanks, tabs and line feeds are skipped
// anywhere; an optional sign, digits with at most one ".", an optional
// exponent (E or D, optional sign, digits); &H and &O introduce hexadecimal
// and octal integers, 16-bit up to &HFFFF (so &HFFFF is -1), 32-bit above.
// Reading stops at the first character that cannot continue the number; a
// text without a leading number gives 0. A number out of range ("1e999",
// or &H and &O beyond 32 bits) raises an overflow.
double Val(QStringView text);

// True when the whole text, apart from blanks around it, is one number:
// optional sign, digits with optional "," separators, at most one ".",
// optional exponent, or the &H and &O forms. The empty text is not numeric,
// nor is a number out of range.
bool IsNumeric(QStringView text);

// The value of a text that must be numeric as a whole (IsNumeric); a number
// out of range raises an overflow, any other text a type mismatch.
double numberFromText(QStringView text);

// Conversions to whole numbers: halves go to the even neighbour
// (2.5 -> 2, 3.5 -> 4); a value outside the type raises an overflow.
quint8 toByte(double value);
qint16 toInteger(double value);
qint32 toLong(double value);
// The same from a text, through numberFromText.
quint8 toByte(QStringView text);
qint16 toInteger(QStringView text);
qint32 toLong(QStringView text);

// Checked 32-bit arithmetic: an overflow raises an error.
qint32 addChecked(qint32 a, qint32 b);

// base raised to exponent; a result beyond a double raises an overflow, an
// undefined one (a negative base to a fractional power) an invalid call.
double power(double base, double exponent);

// General number form: up to 15 significant digits, no grouping, no
// trailing zeros; magnitudes from 1E+15 on are written in exponent form
// ("1E+15", "1.5E+20"), and so are those below 1E-4 ("1E-05"), as the
// classic runtime writes them. A non-finite value raises an overflow.
QString formatGeneral(double value);

}  // namespace util
