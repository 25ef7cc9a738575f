#include "memory.h"

#include <QFile>
#include <algorithm>
#include <system_error>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace platform {

qint64 availableMemory() {
  QFile info(QStringLiteral("/proc/meminfo"));
  if (!info.open(QIODevice::ReadOnly))
    return -1;
  // One small read; the file is generated afresh at every open.
  const QByteArray all = info.read(4096);
  const qsizetype at = all.indexOf("MemAvailable:");
  if (at < 0)
    return -1;
  const qsizetype end = all.indexOf('\n', at);
  const QByteArray field = all.mid(at + 13, end < 0 ? -1 : end - at - 13).trimmed();  // "123456 kB"
  bool ok = false;
  const qint64 kilobytes = field.left(field.indexOf(' ')).toLongLong(&ok);
  return ok ? kilobytes * 1024 : -1;
}

namespace {

// Unmapping a large block holds the process's memory map locked for the
// whole time, and the window's thread waits on that lock as soon as it asks
// for memory itself. So the pages go back a slice at a time, each slice
// holding the lock for about a millisecond, and the emptied block is then
// unmapped at once.
void giveBackPages([[maybe_unused]] const QString& text) {
#ifdef Q_OS_LINUX
  constexpr quintptr kSlice = 8 << 20;
  const quintptr page = static_cast<quintptr>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<quintptr>(text.constData());
  const quintptr end = begin + static_cast<quintptr>(text.size()) * sizeof(QChar);
  for (quintptr at = (begin + page - 1) / page * page; at + page <= end; at += kSlice) {
    const quintptr length = std::min(kSlice, (end - at) / page * page);
    madvise(reinterpret_cast<void*>(at), length, MADV_DONTNEED);
  }
#endif
}

}  // namespace

void releaseLater(QString&& text) {
  // Below this (64 MB), freeing takes a few milliseconds, and the allocator
  // may keep the pages for the next run.
  constexpr qsizetype kWorthAThread = 32 << 20;
  QString held = std::move(text);
  if (held.size() < kWorthAThread || !held.isDetached())
    return;
  try {
    std::thread([held = std::move(held)]() mutable {
      giveBackPages(held);
      held = QString();
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the text goes here and now.
  }
}

}  // namespace platform
