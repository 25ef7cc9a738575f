#include "error.h"

namespace platform {

Error::Error(int number, QString description)
    : m_number(number),
      m_description(std::move(description)),
      m_what(QStringLiteral("Error %1: %2").arg(number).arg(m_description).toUtf8()) {}

void raiseOverflow() { throw Error(Overflow, QStringLiteral("Overflow")); }
void raiseTypeMismatch() { throw Error(TypeMismatch, QStringLiteral("Type mismatch")); }
void raiseInvalidCall() { throw Error(InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument")); }
void raiseSubscriptOutOfRange() { throw Error(SubscriptOutOfRange, QStringLiteral("Subscript out of range")); }

}  // namespace platform
