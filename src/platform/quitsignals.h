// SIGTERM, SIGINT and SIGHUP as requests to end the program, handled on the event
// loop like any other event: whatever handler is running when one arrives
// (a save, say) finishes first.
#pragma once

#include <QObject>
#include <functional>

namespace platform {

// From now on, each SIGTERM, SIGINT or SIGHUP calls quit on context's thread, from
// the event loop, for as long as context lives. Called once per program;
// a later call replaces the earlier handler.
void onQuitSignals(QObject* context, std::function<void()> quit);

}  // namespace platform
