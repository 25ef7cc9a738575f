#include "wordlookup.h"

#include "data/records.h"
#include "util/text.h"

namespace engine {

WordList::WordList(const QString& text) {
  data::RecordReader reader(text);
  while (!reader.atEnd()) {
    const QStringList record = reader.readRecord(data::kWordFields);
    m_words.insert(util::trimSpaces(record.value(0)).toString(), util::trimSpaces(record.value(1)).toString());
  }
}

}  // namespace engine
