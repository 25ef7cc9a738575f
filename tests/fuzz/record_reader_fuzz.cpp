// The record reader over arbitrary bytes: it must always reach the end,
// move on at every record, and read back whatever the writer makes of a
// record it produced.
#include "data/records.h"
#include "fuzzcheck.h"
#include "platform/textfile.h"

#include <cstddef>
#include <cstdint>

namespace {

void readAll(const QString& text, int fields) {
  data::RecordReader reader(text);
  qsizetype records = 0;
  while (!reader.atEnd()) {
    const qsizetype before = reader.position();
    const QStringList record = reader.readRecord(fields);
    FUZZ_CHECK(record.size() == fields);
    FUZZ_CHECK(reader.position() > before && reader.position() <= text.size());
    FUZZ_CHECK(++records <= text.size());

    // Written and read again, the record comes back as the writer stores
    // each field, and nothing is left over.
    const QString written = data::recordText(record);
    data::RecordReader again(platform::decodeText(platform::encodeText(written)));
    const QStringList back = again.readRecord(fields);
    for (int i = 0; i < fields; ++i)
      FUZZ_CHECK(back.at(i) == data::fieldText(record.at(i)));
    FUZZ_CHECK(again.atEnd());
    FUZZ_CHECK(data::recordText(back) == written);
  }
  FUZZ_CHECK(reader.readField().isEmpty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const QString text = platform::decodeText(QByteArrayView(bytes, qsizetype(size)));
  readAll(text, data::kWordFields);
  readAll(text, data::kDictionaryFields);
  return 0;
}
