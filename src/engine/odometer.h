// The combination engine's odometer: every string of a given length over
// the characters of a symbol text, in odometer order (the first position
// varies slowest), one small step at a time so that the window can hand
// control back to the user between steps. Repeated symbols are not merged.
#pragma once

#include <QString>
#include <QStringView>
#include <vector>
#include <cstdint>

namespace engine {

class Odometer {
public:
  enum class Step : std::uint8_t {
    Advanced,   // a position moved on; no combination yet
    Found,      // current() holds a complete combination
    Exhausted,  // every combination has been found
    Idle,       // no position to work on (length 0): nothing ever happens
  };

  Odometer(QString symbols, int length);

  Step step();
  QStringView current() const { return QStringView(m_current.data(), m_size); }

private:
  QString m_symbols;
  int m_length;
  // digits[p] is the 1-based index into the symbols of the character at
  // position p; 0 means none yet, symbols + 1 means it ran past the last.
  std::vector<int> m_digits;
  int m_position = 1;
  // The characters placed at positions 1..position: a fixed buffer, as the
  // step runs millions of times in a long enumeration.
  std::vector<QChar> m_current;
  int m_size = 0;
};

inline Odometer::Step Odometer::step() {
  if (m_length < 1)
    return Step::Idle;
  const int digit = ++m_digits[m_position];
  const bool ranPast = digit > m_symbols.size();
  if (m_position == m_length)
    m_size = m_length - 1;  // the last position is replaced
  if (ranPast) {
    if (m_position == 1)
      return Step::Exhausted;
    m_digits[m_position] = 0;
    --m_position;
    m_size = m_position - 1;
    return Step::Advanced;
  }
  m_current[m_size++] = m_symbols[digit - 1];
  if (m_position != m_length) {
    ++m_position;
    return Step::Advanced;
  }
  return Step::Found;
}

}  // namespace engine
