#include "quitsignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

// The self-pipe: the signal handler writes one byte, the only thing it may
// safely do; the event loop reads it.
std::array<int, 2> wakeUp{-1, -1};

extern "C" void noteQuitSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  // A full socket already holds a request: losing this byte loses nothing.
  [[maybe_unused]] const ssize_t written = ::write(wakeUp[0], &byte, 1);
  errno = savedErrno;
}

}  // namespace

void onQuitSignals(QObject* context, std::function<void()> quit) {
  if (wakeUp[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakeUp.data()) != 0)
    return;  // without the socket the signals keep their default: they end the program
  auto* notifier = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [quit = std::move(quit)] {
    std::array<char, 64> bytes{};
    while (::read(wakeUp[1], bytes.data(), bytes.size()) > 0) {
    }
    quit();
  });
  struct sigaction action = {};
  action.sa_handler = noteQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
}

}  // namespace platform
