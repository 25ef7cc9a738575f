// A yield that a tight loop can afford before every step. Handling pending
// events costs about a microsecond even when there are none, far more than
// one step of a long enumeration; so the events are handled on the first
// call and then whenever a millisecond has passed, which keeps a click well
// under the time a user could notice while the loop runs at full speed.
#pragma once

#include <QElapsedTimer>

namespace platform {

class PacedYield {
public:
  PacedYield() { m_clock.start(); }

  void operator()() {
    if (--m_untilClockCheck > 0)
      return;
    m_untilClockCheck = kStepsPerClockCheck;
    if (m_first || m_clock.nsecsElapsed() >= kIntervalNs) {
      m_first = false;
      yieldNow();
      m_clock.restart();
    }
  }

private:
  static void yieldNow();

  static constexpr int kStepsPerClockCheck = 256;
  static constexpr qint64 kIntervalNs = 1'000'000;
  QElapsedTimer m_clock;
  int m_untilClockCheck = 1;
  bool m_first = true;
};

}  // namespace platform
