#include "error.h"

#include <QtGlobal>
#include <cerrno>

namespace platform {

Error::Error(int number, QString description, QString reason)
    : m_number(number),
      m_description(std::move(description)),
      m_reason(std::move(reason)),
      m_what(QStringLiteral("Error %1: %2").arg(number).arg(m_description).toUtf8()) {}

Error fileError(int systemError, const QString& fallbackReason) {
  QString reason = fallbackReason.isEmpty() ? QStringLiteral("cause unknown") : fallbackReason;
  if (systemError > 0)
    reason = qt_error_string(systemError);
  switch (systemError) {
    // A file size limit stops a write as a full disk does: no room for it.
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return Error(DiskFull, QStringLiteral("Disk full"), reason);
    case EACCES:
    case EPERM:
      return Error(PermissionDenied, QStringLiteral("Permission denied"), reason);
    case ENOENT:
      return Error(FileNotFound, QStringLiteral("File not found"), reason);
    default:
      return Error(PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(reason), reason);
  }
}

void raiseOverflow() { throw Error(Overflow, QStringLiteral("Overflow")); }
void raiseTypeMismatch() { throw Error(TypeMismatch, QStringLiteral("Type mismatch")); }
void raiseInvalidCall() { throw Error(InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument")); }
void raiseSubscriptOutOfRange() { throw Error(SubscriptOutOfRange, QStringLiteral("Subscript out of range")); }

}  // namespace platform
