#include "programpath.h"

#include <QByteArray>
#include <QFile>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

QString programPath() {
  QByteArray exe(PATH_MAX, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", exe.data(), size_t(exe.size()));
  if (length <= 0 || length >= exe.size())
    return QString();
  exe.truncate(length);
  const qsizetype slash = exe.lastIndexOf('/');
  if (slash < 0)
    return QString();
  const QByteArray folder = slash == 0 ? QByteArray("/") : exe.left(slash);
  // Qt turns a name that is not valid UTF-8 into one that names nothing on
  // disk (QCoreApplication::applicationDirPath() then says "").
  QString name = QFile::decodeName(folder);  // not const: returned, it moves
  if (QFile::encodeName(name) == folder)
    return name;
  static const int handle = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  return handle < 0 ? QString() : QStringLiteral("/proc/self/fd/%1").arg(handle);
}

}  // namespace platform
