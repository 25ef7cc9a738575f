#include "wordlookup.h"

#include "data/records.h"
#include "platform/resumenext.h"
#include "util/fileexists.h"
#include "util/text.h"

namespace engine {

QString lookupWord(const QString& wordsPath, const QString& code, bool* troubled) {
  QString word;
  std::optional<data::RecordReader> reader;
  if (util::FileExists(wordsPath))
    platform::resumeNext([&] { reader.emplace(data::RecordReader::fromFile(wordsPath)); });
  if (!reader) {
    if (troubled)
      *troubled = true;
    return word;
  }
  while (!reader->atEnd()) {
    const QStringList record = reader->readRecord(data::kWordFields);
    if (util::trimSpaces(record.value(0)) == code)
      word = util::trimSpaces(record.value(1)).toString();
  }
  return word;
}

}  // namespace engine
