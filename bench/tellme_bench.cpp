// The whole Tell Me run on a real main window (offscreen), against a bare
// odometer loop that writes the same text into a std::string. Prints the
// time per combination, the ratio to the bare loop, the peak memory against
// the size of the text, and how long a stop click waits to be handled.
#include "app/frmcombination.h"
#include "platform/apppath.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kSymbols = "ABraCaDabra";

// Peak resident memory since the last reset, in bytes.
double peakResidentBytes() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() * 1024;
  return 0;
}

void resetPeak() {
  QFile clear("/proc/self/clear_refs");
  if (clear.open(QIODevice::WriteOnly))
    clear.write("5");
}

// The reference: every combination, in odometer order, appended to a string.
std::string bareOdometer(const std::string& symbols, int length) {
  std::string text;
  std::vector<size_t> digit(length, 0);
  std::string current(length, symbols[0]);
  const size_t n = symbols.size();
  for (;;) {
    if (!text.empty())
      text += ' ';
    text += current;
    int p = length - 1;
    while (p >= 0 && ++digit[p] == n) {
      digit[p] = 0;
      current[p] = symbols[0];
      --p;
    }
    if (p < 0)
      break;
    current[p] = symbols[digit[p]];
  }
  return text;
}

double bareSeconds(int length) {
  const auto start = Clock::now();
  std::string text = bareOdometer(kSymbols, length);
  benchmark::DoNotOptimize(text.data());
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Fixture {
  QTemporaryDir dir;
  frmCombination* window = nullptr;
  Fixture() {
    for (const char* name : {"words.wdb", "dictionary.wdb"})
      QFile::copy(QString(LOTWISE_DATA_DIR) + "/" + name, dir.filePath(name));
    platform::setAppPath(dir.path());
    window = new frmCombination;
    window->show();
    QCoreApplication::processEvents();
  }
  ~Fixture() { delete window; }
  void setLength(int length) {
    window->findChild<QLineEdit*>("txtChar")->setText(QString::fromStdString(kSymbols));
    window->findChild<QLineEdit*>("txtlength")->setText(QString::number(length));
  }
};

Fixture* gFixture = nullptr;

Fixture& fixture() {
  if (!gFixture)
    gFixture = new Fixture;
  return *gFixture;
}

void BM_BareOdometer(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  const double combinations = std::pow(double(kSymbols.size()), length);
  double seconds = 0;
  for (auto _ : state)
    seconds += bareSeconds(length);
  state.counters["ns_per_combination"] = seconds / state.iterations() / combinations * 1e9;
}

void BM_TellMeRun(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  const double combinations = std::pow(double(kSymbols.size()), length);
  Fixture& f = fixture();
  f.setLength(length);
  // What the bare window holds before a run: the baseline of the memory target.
  QCoreApplication::processEvents();
  const double windowBytes = peakResidentBytes();
  double runSeconds = 0, peak = 0;
  for (auto _ : state) {
    resetPeak();
    const double before = peakResidentBytes();
    const auto start = Clock::now();
    f.window->cmdcalc_Click();
    runSeconds += std::chrono::duration<double>(Clock::now() - start).count();
    peak = std::max(peak, peakResidentBytes() - before);
  }
  const double perRun = runSeconds / state.iterations();
  const double bare = bareSeconds(length);
  // The text of every combination with its separating blank, as UTF-16.
  const double textBytes = combinations * (length + 1) * 2;
  state.counters["ns_per_combination"] = perRun / combinations * 1e9;
  state.counters["ratio_to_bare"] = perRun / bare;
  state.counters["text_MB"] = textBytes / 1e6;
  state.counters["window_MB"] = windowBytes / 1e6;
  state.counters["run_peak_MB"] = peak / 1e6;
  state.counters["peak_per_text"] = peak / textBytes;
}

// A stop click during the Length 6 run: from the moment it is posted to the
// moment the window handles it.
void BM_StopLatency(benchmark::State& state) {
  Fixture& f = fixture();
  f.setLength(6);
  auto* button = f.window->findChild<QPushButton*>("cmdcalc");
  double worstMs = 0, totalMs = 0;
  int samples = 0;
  for (auto _ : state) {
    std::atomic<bool> posted{false};
    Clock::time_point postedAt;
    std::thread clicker([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      postedAt = Clock::now();
      posted = true;
      QMetaObject::invokeMethod(button, [&] {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - postedAt).count();
        worstMs = std::max(worstMs, ms);
        totalMs += ms;
        ++samples;
        button->click();  // reads "Stop": the stop branch
      }, Qt::QueuedConnection);
    });
    f.window->cmdcalc_Click();
    clicker.join();
  }
  state.counters["stop_ms_mean"] = samples ? totalMs / samples : -1;
  state.counters["stop_ms_worst"] = worstMs;
}

}  // namespace

BENCHMARK(BM_BareOdometer)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TellMeRun)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopLatency)->Iterations(20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  delete gFixture;  // the window goes before the application object
  return 0;
}
