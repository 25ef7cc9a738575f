// Text files of the program: Windows-1252 on disk, lines ended by CR LF.
// Files written on other machines by the earlier program read the same way.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

QString decodeText(QByteArrayView bytes);
// A character outside the code page is written as "?".
QByteArray encodeText(QStringView text);

}  // namespace platform
