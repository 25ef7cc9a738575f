// Random digits for the bit grid, and the program's one random generator.
#pragma once

#include <QString>
#include <array>
#include <functional>

namespace util {

// A text of count random decimal digits, drawn from a pool whose digits come
// with fixed weights ("4" and "8" most often, "0" and "1" least). The
// generator is re-seeded from the clock on every call. A count below 1
// returns "" and leaves the generator untouched.
QString RandomDigits(qint16 count);

// The digit that a draw r (0 <= r < 1) picks from the pool.
QChar digitForDraw(double r);

namespace rng {
// The next value r of the generator, 0 <= r < 1.
double next();
// Mixes x into the generator's state without discarding the rest of it:
// re-seeding twice with the same x does not repeat the same draws.
void randomize(double x);
// Seconds since midnight with their fraction, as the re-seed takes them.
float timer();
// Test seam: replaces the clock (an empty function restores the real one).
void setClock(std::function<float()> clock);
// Test seam: the generator's whole state, to replay or compare draws.
using State = std::array<quint64, 4>;
State state();
void setState(const State& state);
}  // namespace rng

}  // namespace util
