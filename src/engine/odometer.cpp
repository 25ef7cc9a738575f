#include "odometer.h"

namespace engine {

Odometer::Odometer(QString symbols, int length)
    : m_symbols(std::move(symbols)), m_length(length), m_digits(static_cast<size_t>(std::max(length, 0)) + 1, 0) {
  m_current.resize(static_cast<size_t>(std::max(length, 0)));
}

}  // namespace engine
