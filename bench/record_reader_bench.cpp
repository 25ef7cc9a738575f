// Reading 10 MB of records: garbage and a dictionary-like text. Both should
// take a small fraction of a second; the time must grow with the size only.
#include "data/records.h"
#include "platform/textfile.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

QByteArray garbage(qsizetype size) {
  std::mt19937 random(7);
  QByteArray bytes(size, ' ');
  for (char& c : bytes)
    c = char(random());
  return bytes;
}

QByteArray dictionaryText(qsizetype size) {
  QString text;
  for (int r = 0; text.size() < size; ++r)
    text += data::recordText({"0101", "0110", "word - word", QStringLiteral("Row %1.\r\nSecond line.").arg(r)});
  return platform::encodeText(text);
}

void readToEnd(benchmark::State& state, const QByteArray& bytes) {
  const int fields = int(state.range(0));
  for (auto _ : state) {
    data::RecordReader reader(platform::decodeText(bytes));
    qsizetype records = 0;
    while (!reader.atEnd()) {
      reader.readRecord(fields);
      ++records;
    }
    benchmark::DoNotOptimize(records);
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}

constexpr qsizetype kTenMegabytes = 10 * 1024 * 1024;

void BM_Garbage(benchmark::State& state) {
  static const QByteArray bytes = garbage(kTenMegabytes);
  readToEnd(state, bytes);
}

void BM_Dictionary(benchmark::State& state) {
  static const QByteArray bytes = dictionaryText(kTenMegabytes);
  readToEnd(state, bytes);
}

BENCHMARK(BM_Garbage)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dictionary)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
