// The whole Tell Me run on a real main window (offscreen), against a bare
// odometer loop that writes the same text into a std::string. Prints the
// time per combination, the ratio to the bare loop, the peak memory against
// the size of the text, and how long a stop click waits to be handled; and,
// for a run far too large to finish, what a stop after 1 s or 5 s costs.
#include "app/frmcombination.h"
#include "platform/apppath.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <memory>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kSymbols = "ABraCaDabra";

// Peak resident memory of this process, in bytes.
double peakResidentBytes() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() * 1024;
  return 0;
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

double bestBareSeconds(int length) {
  double best = bareSeconds(length);
  for (int i = 0; i < 4; ++i)
    best = std::min(best, bareSeconds(length));
  return best;
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
  double best = 1e9;
  for (auto _ : state) {
    const auto start = Clock::now();
    f.window->cmdcalc_Click();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  state.counters["ns_per_combination"] = best / combinations * 1e9;
  state.counters["ratio_to_bare"] = best / bestBareSeconds(length);
}

// Peak memory of a fresh process that shows the window and makes one run of
// the given length (0: no run, the bare window), in bytes.
double childPeakBytes(int length) {
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(), {QString("--peak-child=%1").arg(length)});
  child.waitForFinished(120000);
  return child.readAllStandardOutput().trimmed().toDouble();
}

void BM_PeakMemory(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  double window = 0, run = 0;
  for (auto _ : state) {
    window = childPeakBytes(0);
    run = childPeakBytes(length);
  }
  // The text of every combination with its separating blank, as UTF-16.
  const double text = std::pow(double(kSymbols.size()), length) * (length + 1) * 2;
  state.counters["window_MB"] = window / 1e6;
  state.counters["run_peak_MB"] = run / 1e6;
  state.counters["text_MB"] = text / 1e6;
  // The target: at most 3 times the text above what the bare window needs.
  state.counters["above_window_per_text"] = (run - window) / text;
}

int peakChild(int length) {
  Fixture& f = fixture();
  if (length > 0) {
    f.setLength(length);
    f.window->cmdcalc_Click();
  }
  std::printf("%.0f\n", peakResidentBytes());
  delete gFixture;
  return 0;
}

// A stop click during the Length 6 run: from the moment it is posted to the
// moment the window handles it.
void BM_StopLatency(benchmark::State& state) {
  Fixture& f = fixture();
  f.setLength(6);
  auto* button = f.window->findChild<QPushButton*>("cmdcalc");
  std::vector<double> delays;
  for (auto _ : state) {
    auto postedAt = std::make_shared<Clock::time_point>();
    std::thread clicker([&, postedAt] {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      *postedAt = Clock::now();
      QMetaObject::invokeMethod(
          button,
          [&, postedAt] {
            if (button->text() != "Stop")
              return;  // the run ended first: no sample
            delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - *postedAt).count());
            button->click();  // the stop branch
          },
          Qt::QueuedConnection);
    });
    f.window->cmdcalc_Click();
    clicker.join();
    QCoreApplication::processEvents();  // a click that came too late goes here
  }
  std::sort(delays.begin(), delays.end());
  state.counters["samples"] = double(delays.size());
  state.counters["stop_ms_median"] = delays.empty() ? -1 : delays[delays.size() / 2];
  state.counters["stop_ms_worst"] = delays.empty() ? -1 : delays.back();
}

// Symbols of 200 characters and Length 4: 1.6 billion combinations, more
// than any run lists before the user stops it.
QString twoHundredSymbols() {
  QString symbols;
  for (int i = 0; i < 200; ++i)
    symbols += QChar(u'A' + i % 26);
  return symbols;
}

// A fresh process makes the 200-symbol run and clicks "Stop" after the given
// time; it prints the characters in the results box at the stop, its peak
// memory before the run and at the end, the time from posting the click to
// its handling, and to the window being idle again with the run complete
// and repainted.
int stopChild(int afterMs) {
  Fixture& f = fixture();
  f.window->findChild<QLineEdit*>("txtChar")->setText(twoHundredSymbols());
  f.window->findChild<QLineEdit*>("txtlength")->setText("4");
  auto* button = f.window->findChild<QPushButton*>("cmdcalc");
  auto* results = f.window->findChild<QLineEdit*>("txtResults");
  const double before = peakResidentBytes();
  Clock::time_point postedAt, handledAt;
  qsizetype characters = -1;
  std::thread clicker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
    postedAt = Clock::now();
    QMetaObject::invokeMethod(
        button,
        [&] {
          handledAt = Clock::now();
          if (button->text() != "Stop")
            return;
          characters = results->text().size();
          button->click();
        },
        Qt::QueuedConnection);
  });
  // A run that fills the results box before the click ends by itself with
  // a message: it is answered, and no figures are given.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, &answer, [] {
    if (QWidget* box = QApplication::activeModalWidget())
      box->close();
  });
  answer.start(50);
  f.window->cmdcalc_Click();
  clicker.join();
  QCoreApplication::processEvents();  // the repaint after the run
  const Clock::time_point idleAt = Clock::now();
  auto ms = [&](Clock::time_point at) { return std::chrono::duration<double, std::milli>(at - postedAt).count(); };
  std::printf("%lld %.0f %.0f %.3f %.3f\n", static_cast<long long>(characters), before, peakResidentBytes(),
              ms(handledAt), ms(idleAt));
  delete gFixture;
  return 0;
}

void BM_StopLargeRun(benchmark::State& state) {
  const int afterMs = static_cast<int>(state.range(0));
  QStringList figures;
  for (auto _ : state) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString("--stop-child=%1").arg(afterMs)});
    child.waitForFinished(600000);
    figures = QString(child.readAllStandardOutput()).split(' ', Qt::SkipEmptyParts);
  }
  if (figures.size() != 5) {
    state.SkipWithError("the child process gave no figures");
    return;
  }
  if (figures[0].toLongLong() < 0) {
    state.SkipWithError("the run filled the results box before the stop");
    return;
  }
  const double text = figures[0].toDouble() * 2;  // UTF-16
  const double window = figures[1].toDouble(), peak = figures[2].toDouble();
  state.counters["text_MB"] = text / 1e6;
  state.counters["run_peak_MB"] = peak / 1e6;
  // The target: at most 3 times the text above what the window needed.
  state.counters["above_window_per_text"] = (peak - window) / text;
  state.counters["stop_handled_ms"] = figures[3].toDouble();
  // The target: under 100 ms.
  state.counters["stop_to_idle_ms"] = figures[4].toDouble();
}

}  // namespace

BENCHMARK(BM_BareOdometer)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TellMeRun)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopLatency)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory)->Arg(5)->Arg(6)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopLargeRun)->Arg(1000)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString peak = "--peak-child=";
  if (argc > 1 && QString(argv[1]).startsWith(peak))
    return peakChild(QString(argv[1]).mid(peak.size()).toInt());
  const QString stop = "--stop-child=";
  if (argc > 1 && QString(argv[1]).startsWith(stop))
    return stopChild(QString(argv[1]).mid(stop.size()).toInt());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  delete gFixture;  // the window goes before the application object
  return 0;
}
