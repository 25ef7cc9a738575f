// Acting in the middle of a run. A run hands the window its events only
// from inside its steps, so an action that must happen "during the run" is
// polled for there: it runs, nested in the run, as soon as the run has
// reached the state it needs. A slow or busy machine then makes the wait
// longer, never the test wrong.
#pragma once

#include <QTimer>
#include <functional>

namespace lotwise::test {

class WhenReady {
public:
  // act() runs once, at the first event-loop pass (nested or not) at which
  // ready() holds. Polled every millisecond for as long as this object lives.
  WhenReady(std::function<bool()> ready, std::function<void()> act) : m_ready(std::move(ready)), m_act(std::move(act)) {
    QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] {
      if (!m_ready())
        return;
      m_poll.stop();
      m_done = true;
      m_act();
    });
    m_poll.start(1);
  }
  WhenReady(const WhenReady&) = delete;
  WhenReady& operator=(const WhenReady&) = delete;

  bool done() const { return m_done; }

private:
  std::function<bool()> m_ready;
  std::function<void()> m_act;
  QTimer m_poll;
  bool m_done = false;
};

}  // namespace lotwise::test
