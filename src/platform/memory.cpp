#include "memory.h"

#include "resumenext.h"

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
  constexpr std::size_t kSlice = 8 << 20;
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  // Only whole pages inside the text are given back; the arithmetic stays on
  // the text's own pointer, which madvise() takes as it is.
  char* const begin = const_cast<char*>(reinterpret_cast<const char*>(text.constData()));
  char* const end = begin + static_cast<std::size_t>(text.size()) * sizeof(QChar);
  const std::size_t misalign = reinterpret_cast<quintptr>(begin) % page;
  for (char* at = begin + (page - misalign) % page; end - at >= static_cast<std::ptrdiff_t>(page); at += kSlice) {
    const std::size_t length = std::min(kSlice, static_cast<std::size_t>(end - at) / page * page);
    madvise(at, length, MADV_DONTNEED);
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
  // With no thread to be had (std::system_error), the text goes here and now.
  resumeNext([&held] {
    std::thread([held = std::move(held)]() mutable {
      giveBackPages(held);
      held = QString();
    }).detach();
  });
}

}  // namespace platform
