#include "records.h"

namespace data {

QString fieldText(const QString& value) {
  qsizetype start = 0, end = value.size();
  while (start < end && value.at(start) == u' ')
    ++start;
  while (end > start && value.at(end - 1) == u' ')
    --end;

  QString text;
  text.reserve(end - start + 8);
  for (qsizetype i = start; i < end; ++i) {
    const QChar c = value.at(i);
    if (c == u'"') {
      text += u'\'';
    } else if (c == u'\r') {
      text += u"\r\n";
      if (i + 1 < end && value.at(i + 1) == u'\n')
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

}  // namespace data
