// FIFOs that the program must never open, watched from a thread of the test.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace lotwise::test {

// Notes every FIFO that someone opens for reading. Such an open waits for a
// writer, so the watcher keeps trying to become one: once the write end
// opens, a reader is there; it is closed at once, so that the reader meets
// the end of the file and a faulty view is caught rather than left hanging.
class FifoWatcher {
public:
  explicit FifoWatcher(const QStringList& fifos) : m_fifos(fifos), m_thread([this] { watch(); }) {}
  ~FifoWatcher() { stop(); }
  FifoWatcher(const FifoWatcher&) = delete;
  FifoWatcher& operator=(const FifoWatcher&) = delete;

  // The FIFOs opened while it watched.
  QStringList stop() {
    m_stop = true;
    if (m_thread.joinable())
      m_thread.join();
    return m_opened;
  }

private:
  void watch() {
    while (!m_stop) {
      for (const QString& fifo : m_fifos) {
        const int fd = open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
          close(fd);
          if (!m_opened.contains(fifo))
            m_opened << fifo;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a poll, not a wait for an outcome
    }
  }

  QStringList m_fifos, m_opened;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace lotwise::test
