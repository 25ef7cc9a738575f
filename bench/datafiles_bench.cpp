// What the default Tell Me run reads from the data files: the opens of
// words.wdb and dictionary.wdb in one run (counted with inotify), the bytes
// those opens read, and the time of the run, on a real main window
// (offscreen) with the shipped files. Argument 0: the window as it starts,
// one meaning shown; 1: "Show All Meanings" checked, all eight pairs.
#include "app/frmcombination.h"
#include "platform/apppath.h"
#include "support/opencounter.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

void BM_DefaultRunReads(benchmark::State& state) {
  QTemporaryDir dir;
  const QStringList files{dir.filePath("words.wdb"), dir.filePath("dictionary.wdb")};
  for (const QString& file : files)
    QFile::copy(QString(LOTWISE_DATA_DIR) + "/" + QFileInfo(file).fileName(), file);
  platform::setAppPath(dir.path());
  {
    frmCombination window;
    window.show();
    QCoreApplication::processEvents();  // the start-up check reads the files once, before counting
    if (state.range(0) == 1)
      window.findChild<QCheckBox*>("chkShowAll")->setChecked(true);
    lotwise::test::OpenCounter counter(files);
    if (!counter.watching()) {
      state.SkipWithError("inotify cannot watch the data files");
      return;
    }
    counter.take();
    double best = 1e9;
    QList<int> opens{0, 0};
    for (auto _ : state) {
      const auto start = Clock::now();
      window.cmdcalc_Click();
      best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
      const QList<int> run = counter.take();
      opens[0] += run[0];
      opens[1] += run[1];
    }
    const double runs = double(state.iterations());
    state.counters["words_opens_per_run"] = opens[0] / runs;
    state.counters["dictionary_opens_per_run"] = opens[1] / runs;
    state.counters["data_bytes_read_per_run"] =
        (opens[0] * QFileInfo(files[0]).size() + opens[1] * QFileInfo(files[1]).size()) / runs;
    state.counters["best_run_ms"] = best * 1e3;
  }
  platform::setAppPath(QString());
}

}  // namespace

BENCHMARK(BM_DefaultRunReads)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
