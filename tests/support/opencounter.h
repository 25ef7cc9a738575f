// Counts the opens of given files with inotify, by any process: what a run
// reads shows here however it reads it. The kernel queues an event at the
// moment of each open, so the count is complete as soon as the call that
// made the opens has returned. Closes are watched as well: the kernel
// merges an event with the one queued just before it when the two are the
// same, and a close between two opens keeps them apart.
#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace lotwise::test {

class OpenCounter {
public:
  explicit OpenCounter(const QStringList& paths) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    for (const QString& path : paths)
      m_watches << (m_fd < 0 ? -1 : inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN | IN_CLOSE));
  }
  ~OpenCounter() {
    if (m_fd >= 0)
      close(m_fd);
  }
  OpenCounter(const OpenCounter&) = delete;
  OpenCounter& operator=(const OpenCounter&) = delete;

  // False when a file could not be watched: the counts would mean nothing.
  bool watching() const { return m_fd >= 0 && !m_watches.contains(-1); }

  // The opens of each file, in the order given, since the last call.
  QList<int> take() {
    QList<int> counts(m_watches.size(), 0);
    alignas(inotify_event) char buffer[4096];
    for (;;) {
      const ssize_t got = read(m_fd, buffer, sizeof buffer);
      if (got <= 0)
        break;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        const qsizetype which = m_watches.indexOf(event->wd);
        if (which >= 0 && (event->mask & IN_OPEN))
          ++counts[which];
        at += ssize_t(sizeof(inotify_event)) + event->len;
      }
    }
    return counts;
  }

private:
  int m_fd;
  QList<int> m_watches;
};

}  // namespace lotwise::test
