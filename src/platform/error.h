// The one failure type of the program: a number and a description.
#pragma once

#include <QString>
#include <QByteArray>
#include <exception>
#include <cstdint>

namespace platform {

// Numbers follow the classic BASIC runtime, so that a user who reads
// "Error 53" in a message box can look it up as before.
enum ErrorNumber : std::uint8_t {
  InvalidProcedureCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  TypeMismatch = 13,
  BadFileName = 52,
  FileNotFound = 53,
  DiskFull = 61,
  PermissionDenied = 70,
  PathFileAccessError = 75,
  PathNotFound = 76,
};

class Error : public std::exception {
public:
  // reason: the system's own words for a failed file operation, if any.
  Error(int number, QString description, QString reason = {});

  int number() const noexcept { return m_number; }
  const QString& description() const noexcept { return m_description; }
  // The system's words ("Permission denied"), or the description when the
  // failure did not come from the system.
  const QString& reason() const noexcept { return m_reason.isEmpty() ? m_description : m_reason; }
  const char* what() const noexcept override { return m_what.constData(); }

private:
  int m_number;
  QString m_description;
  QString m_reason;
  QByteArray m_what;
};

// A failed file operation as the user is told it, from the system's error
// number (errno): a full disk, a refused permission and a missing file each
// have a number of their own; anything else is "Path/File access error"
// followed by the system's reason. fallbackReason stands in for the
// system's words when the number is 0 (the failure was found by Qt itself).
Error fileError(int systemError, const QString& fallbackReason = {});

// Shorthands for the failures the utility routines raise.
[[noreturn]] void raiseOverflow();
[[noreturn]] void raiseTypeMismatch();
[[noreturn]] void raiseInvalidCall();
[[noreturn]] void raiseSubscriptOutOfRange();

}  // namespace platform
