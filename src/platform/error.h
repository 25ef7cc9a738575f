// The one failure type of the program: a number and a description.
#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

namespace platform {

// Numbers follow the classic BASIC runtime, so that a user who reads
// "Error 53" in a message box can look it up as before.
enum ErrorNumber : int {
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
  Error(int number, QString description);

  int number() const noexcept { return m_number; }
  const QString& description() const noexcept { return m_description; }
  const char* what() const noexcept override { return m_what.constData(); }

private:
  int m_number;
  QString m_description;
  QByteArray m_what;
};

// Shorthands for the failures the utility routines raise.
[[noreturn]] void raiseOverflow();
[[noreturn]] void raiseTypeMismatch();
[[noreturn]] void raiseInvalidCall();
[[noreturn]] void raiseSubscriptOutOfRange();

}  // namespace platform
