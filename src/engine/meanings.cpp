#include "meanings.h"

#include "data/records.h"

namespace engine {

std::optional<DictionaryEntry> findEntryIn(const QString& dictionaryText, const QString& code1, const QString& code2) {
  data::RecordReader reader(dictionaryText);
  while (!reader.atEnd()) {
    const QStringList row = reader.readRecord(data::kDictionaryFields);
    if (row.value(0) == code1 && row.value(1) == code2)
      return DictionaryEntry{row.value(0), row.value(1), row.value(2), row.value(3)};
  }
  return std::nullopt;
}

QString headingLine(const QString& heading, bool equalCodes) {
  return QLatin1String("<b><i>") + heading +
         (equalCodes ? QLatin1String("</></b><br>") : QLatin1String("</i></b><br>"));
}

QString meaningLine(const QString& meaning) { return meaning + QLatin1String("<br><br>"); }

}  // namespace engine
