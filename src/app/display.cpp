#include "display.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>

namespace app {

namespace {

bool xServerAnswers(const QByteArray& display) {
  // The very call Qt's xcb plugin makes, authorisation included.
  xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

bool compositorAnswers(const QByteArray& display) {
  QString path = QFile::decodeName(display);
  if (!QDir::isAbsolutePath(path)) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
      return false;
    path = QFile::decodeName(runtime) + u'/' + path;
  }
  const QByteArray native = QFile::encodeName(path);
  sockaddr_un address{};
  if (native.size() >= qsizetype(sizeof address.sun_path))
    return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return false;
  const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answers;
}

// "DISPLAY is unset", or its value and, once it was tried, that nothing
// answered there.
QString describe(const char* variable, bool tried) {
  const QByteArray value = qgetenv(variable);
  if (value.isEmpty())
    return QStringLiteral("%1 is unset").arg(QLatin1String(variable));
  return QStringLiteral("%1 is \"%2\"%3")
      .arg(QLatin1String(variable), QString::fromLocal8Bit(value),
           tried ? QStringLiteral(" but nothing answers there") : QString());
}

QString noDisplay(bool tried) {
  return QStringLiteral("no display to open a window on (%1, %2)")
      .arg(describe("DISPLAY", tried), describe("WAYLAND_DISPLAY", tried));
}

}  // namespace

QString noDisplayMessage() { return noDisplay(false); }

QString displayTrouble(bool platformChosen) {
  if (platformChosen)
    return {};
  const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
  if (!wayland.isEmpty() && compositorAnswers(wayland))
    return {};
  const QByteArray x = qgetenv("DISPLAY");
  if (!x.isEmpty() && xServerAnswers(x))
    return {};
  return noDisplay(true);
}

}  // namespace app
