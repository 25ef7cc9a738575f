// How long the meanings view takes over the meanings that froze or crashed
// Qt's text engine: 100,000 nested <b>, and 10,000 nested
// <table><tr><td>, <ul><li> and <div>. For each: the filter alone, and the
// document made from the filtered page and laid out (what the view does,
// shown or hidden). Then a whole Tell Me run on a real main window
// (offscreen) whose rows hold such a meaning as deep as the longest meaning
// allowed lets it go, with the view shown (eight of them on the page, each
// nest going on inside the one before) and hidden (one). The document made
// from the unfiltered page, as before, runs at smaller nests only: at full
// size it takes minutes, or for ever.
#include "app/frmcombination.h"
#include "data/datafile.h"
#include "engine/meanings.h"
#include "platform/apppath.h"
#include "platform/htmlfilter.h"
#include "support/fixtures.h"
#include "util/randomdigits.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextDocument>
#include <array>
#include <benchmark/benchmark.h>

namespace {

using namespace lotwise::test;

struct Nest {
  const char* name;
  const char* open;
  int times;
};

const Nest kNests[] = {
    {"bold", "<b>", 100000},
    {"table", "<table><tr><td>", 10000},
    {"list", "<ul><li>", 10000},
    {"div", "<div>", 10000},
};

QString meaning(const Nest& nest, int times, const char* between = "") {
  return (QString(nest.open) + between).repeated(times) + "deepest";
}

// The page of one entry, as the report writes it.
QString page(const QString& meaning) {
  return engine::headingLine("Bowl - Ember", false) + "\r\n" + engine::meaningLine(meaning) + "\r\n";
}

void laidOut(const QString& html) {
  QTextDocument document;
  document.setHtml(html);
  document.setTextWidth(400);
  benchmark::DoNotOptimize(document.size());
}

void BM_Filter(benchmark::State& state) {
  const Nest& nest = kNests[state.range(0)];
  const QString text = page(meaning(nest, nest.times));
  state.SetLabel(nest.name);
  for (auto _ : state)
    benchmark::DoNotOptimize(platform::harmlessHtml(text));
  state.SetBytesProcessed(state.iterations() * text.size() * qint64(sizeof(QChar)));
}

void BM_SetHtmlFiltered(benchmark::State& state) {
  const Nest& nest = kNests[state.range(0)];
  const QString text = page(meaning(nest, nest.times));
  state.SetLabel(nest.name);
  for (auto _ : state)
    laidOut(platform::harmlessHtml(text));
}

void BM_SetHtmlUnfiltered(benchmark::State& state) {
  const Nest& nest = kNests[state.range(0)];
  const QString text = page(meaning(nest, int(state.range(1))));
  state.SetLabel(nest.name);
  for (auto _ : state)
    laidOut(text);
}

// A run whose every pair finds the meaning. The meaning is spaced so that
// the plain meaning box can break it into lines.
void BM_Run(benchmark::State& state) {
  const Nest& nest = kNests[state.range(0)];
  const bool shown = state.range(1) == 1;
  state.SetLabel(QString("%1, view %2").arg(nest.name, shown ? "shown" : "hidden").toStdString());
  QTemporaryDir dir;
  platform::setAppPath(dir.path());
  {
    auto write = [&](const char* name, const QByteArray& bytes) {
      QFile file(dir.filePath(name));
      if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    };
    write("words.wdb", wordsFile());
    // The same draws each time: a first run tells which rows the next read.
    util::rng::setClock([] { return 43200.5f; });
    const util::rng::State draws = util::rng::state();
    write("dictionary.wdb", dictionaryFile());
    frmCombination window;
    window.show();
    if (shown) {
      window.findChild<QCheckBox*>("chkShowAll")->setChecked(true);
      window.chkShowAll_Click();
    }
    QCoreApplication::processEvents();
    window.cmdcalc_Click();
    QStringList columns;
    for (int column = 0; column < 4; ++column) {
      QString code;
      for (int row = 0; row < 4; ++row)
        code += window.findChild<QLineEdit*>(QString("txtSet_%1").arg(column + 4 * row))->text();
      columns << code;
    }
    const int longest = int((data::kMaxFieldChars - 7) / (qstrlen(nest.open) + 1));
    const QString hostile = meaning(nest, longest, " ");
    QByteArray dictionary;
    for (int a = 0; a < 16; ++a)
      for (int b = 0; b < 16; ++b) {
        const QString c1 = codeOf(a), c2 = codeOf(b);
        dictionary += entryRow(c1, c2, columns.contains(c1) && columns.contains(c2) ? hostile : "m" + c1 + "-" + c2);
      }
    write("dictionary.wdb", dictionary);
    for (auto _ : state) {
      util::rng::setState(draws);
      window.cmdcalc_Click();
      QCoreApplication::processEvents();  // painted, as on screen
    }
    util::rng::setClock({});
  }
  platform::setAppPath(QString());
}

void nests(benchmark::internal::Benchmark* b) {
  for (int i = 0; i < int(std::size(kNests)); ++i)
    b->Arg(i);
}

// Nested tables take about twice as long to lay out for each level: 16
// take a second, 20 some 20 s.
void smallNests(benchmark::internal::Benchmark* b) {
  const std::array tables{8, 12, 16}, others{500, 1000, 2000};
  for (int i = 0; i < int(std::size(kNests)); ++i)
    for (int times : i == 1 ? tables : others)
      b->Args({i, times});
}

void runs(benchmark::internal::Benchmark* b) {
  for (int i = 0; i < int(std::size(kNests)); ++i)
    for (int shown : {0, 1})
      b->Args({i, shown});
}

}  // namespace

BENCHMARK(BM_Filter)->Apply(nests)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetHtmlFiltered)->Apply(nests)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetHtmlUnfiltered)->Apply(smallNests)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Run)->Apply(runs)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
