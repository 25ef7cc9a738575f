#include "records.h"

#include "platform/textfile.h"
#include "util/text.h"

namespace data {

QString fieldText(const QString& field) {
  const QStringView value = util::trimSpaces(field);
  QString text;
  text.reserve(value.size() + 8);
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value.at(i);
    if (c == u'"') {
      text += u'\'';
    } else if (c == u'\r') {
      text += u"\r\n";
      if (i + 1 < value.size() && value.at(i + 1) == u'\n')
        ++i;
    } else if (c == u'\n') {
      text += u"\r\n";
    } else {
      text += c;
    }
  }
  return text;
}

QString recordText(const QStringList& fields) {
  QString text;
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0)
      text += u',';
    text += u'"' + fieldText(fields.at(i)) + u'"';
  }
  text += u"\r\n";
  return text;
}

QByteArray fileBytes(const QList<QStringList>& records) {
  QString text;
  for (const QStringList& record : records)
    text += recordText(record);
  return platform::encodeText(text);
}

}  // namespace data
