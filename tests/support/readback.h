// The records of a data file's bytes, as the program reads them back.
#pragma once

#include "data/records.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace lotwise::test {

inline QList<QStringList> recordsOf(const QByteArray& bytes, int fields) {
  data::RecordReader reader{QString::fromLatin1(bytes)};
  QList<QStringList> records;
  while (!reader.atEnd())
    records << reader.readRecord(fields);
  return records;
}

}  // namespace lotwise::test
