// The utility routines on the sizes that matter: SplitFields over a million
// fields should stay well under a second.
#include "util/numbers.h"
#include "util/padnumber.h"
#include "util/randomdigits.h"
#include "util/splitfields.h"

#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

QString fieldsText(int n) {
  QStringList fields;
  fields.reserve(n);
  for (int i = 0; i < n; ++i)
    fields.append(QString::number(i % 997));
  return fields.join(',');
}

void SplitFieldsMillion(benchmark::State& state) {
  const QString text = fieldsText(1'000'000);
  for (auto _ : state)
    benchmark::DoNotOptimize(util::SplitFields(text, QStringLiteral(",")));
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(SplitFieldsMillion)->Unit(benchmark::kMillisecond);

void SplitFieldsNumericSort(benchmark::State& state) {
  const QString text = fieldsText(32767);
  for (auto _ : state)
    benchmark::DoNotOptimize(util::SplitFields(text, QStringLiteral(","), nullptr, false, 0, 2));
}
BENCHMARK(SplitFieldsNumericSort)->Unit(benchmark::kMillisecond);

void CountFieldsMillion(benchmark::State& state) {
  const QString text = fieldsText(1'000'000);
  for (auto _ : state)
    benchmark::DoNotOptimize(util::CountFields(text, QStringLiteral(",")));
}
BENCHMARK(CountFieldsMillion)->Unit(benchmark::kMillisecond);

void ValAndGeneralForm(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(util::formatGeneral(util::Val(u" 1234.5678e-3")));
}
BENCHMARK(ValAndGeneralForm);

void PadNumberLine(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(util::PadNumber(12345, 8));
}
BENCHMARK(PadNumberLine);

void RandomDigitsCell(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(util::RandomDigits(1));
}
BENCHMARK(RandomDigitsCell);

}  // namespace
