#include "randomdigits.h"

#include "platform/error.h"

#include <QTime>
#include <cmath>
#include <cstring>

namespace util {
namespace {

// Position k (1-based) of this text is the digit of a draw. Only 1..36 can
// come up; the tail is there because the pool has always been this long.
constexpr char16_t kPool[] =
    u"94687140829384756657483920157392846"
    u"674839";

quint64 splitmix64(quint64& x) {
  quint64 z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

rng::State initialState() {
  quint64 seed = 0x4C6F747769736531ull;
  return {splitmix64(seed), splitmix64(seed), splitmix64(seed), splitmix64(seed)};
}

quint64 rotl(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }

// xoshiro256**: small, fast and good enough for a divination grid.
struct Generator {
  rng::State s = initialState();

  quint64 step() {
    const quint64 result = rotl(s[1] * 5, 7) * 9;
    const quint64 t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotl(s[3], 45);
    return result;
  }
};

Generator& generator() {
  static Generator g;
  return g;
}

std::function<float()>& clockOverride() {
  static std::function<float()> c;
  return c;
}

}  // namespace

QChar digitForDraw(double r) {
  if (!(r >= 0.0 && r < 1.0))
    platform::raiseInvalidCall();
  // Ties go to the even position: 0.5 lands on 18.5 and picks 18. Positions
  // 1 and 36 are reached from half an interval each.
  const double x = r * 35.0 + 1.0;
  double k = std::floor(x);
  const double diff = x - k;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(k, 2.0) != 0.0))
    k += 1.0;
  return QChar(kPool[static_cast<int>(k) - 1]);
}

QString RandomDigits(qint16 count) {
  if (count < 1)
    return {};
  rng::randomize(rng::timer());
  QString result;
  result.reserve(count);
  for (qint16 i = 0; i < count; ++i)
    result += digitForDraw(rng::next());
  return result;
}

namespace rng {

double next() {
  // The top 53 bits make a double in [0, 1) with every value equally likely.
  return static_cast<double>(generator().step() >> 11) * 0x1.0p-53;
}

void randomize(double x) {
  // XOR the seed's hash into the state, then step once: two re-seeds with
  // the same value, even back to back, never cancel out, and the draws
  // after them depend on everything drawn before.
  quint64 bits;
  std::memcpy(&bits, &x, sizeof bits);
  Generator& g = generator();
  for (quint64& word : g.s)
    word ^= splitmix64(bits);
  if (g.s == State{})  // the one state xoshiro cannot leave
    g.s = initialState();
  g.step();
}

float timer() {
  if (clockOverride())
    return clockOverride()();
  return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

void setClock(std::function<float()> c) { clockOverride() = std::move(c); }

State state() { return generator().s; }

void setState(const State& s) { generator().s = s == State{} ? initialState() : s; }

}  // namespace rng

}  // namespace util
