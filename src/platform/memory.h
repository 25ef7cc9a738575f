// What the system can still give, and giving a large block back to it.
#pragma once

#include <QString>

namespace platform {

// Bytes the system reports as available for new allocations without
// swapping, or -1 where it does not say. An allocation that merely fits the
// address space can still bring the out-of-memory killer; this figure is
// what a program that grows by gigabytes should stay under.
qint64 availableMemory();

// Drops text. When it is the last holder of a large text, the memory goes
// back to the system on a worker thread: unmapping gigabytes takes a
// noticeable part of a second, which the window should not wait for.
void releaseLater(QString&& text);

}  // namespace platform
