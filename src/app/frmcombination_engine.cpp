// The combination engine's procedures: the enumeration that a Tell Me run
// shows in the outcome label and the results box, and the test that decides
// whether "Tell Me" may be pressed at all.
#include "frmcombination.h"

#include "app/enumerationoutput.h"
#include "engine/odometer.h"
#include "engine/outcome.h"
#include "engine/reading.h"
#include "platform/memory.h"
#include "platform/pacedyield.h"
#include "platform/resumenext.h"
#include "util/numbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <cmath>
#include <new>

namespace {

// Characters the results box will hold once every combination is listed,
// when that is a sensible amount to set aside beforehand.
qsizetype foreseenCharacters(qsizetype symbols, int length, qsizetype already) {
  constexpr double kMostToSetAside = 1 << 28;
  const double total = already + std::pow(double(symbols), length) * (length + 1);
  return total <= kMostToSetAside ? static_cast<qsizetype>(total) : 0;
}

// What the user is told when the text could take no more combinations.
QString cutShortMessage(const EnumerationOutput& output) {
  // The same fixed separators as every other number the program shows.
  QLocale locale = QLocale::c();
  locale.setNumberOptions({});
  const QString after =
      QStringLiteral("The run was cut short after %1 combinations: ").arg(locale.toString(output.listed()));
  switch (output.full()) {
    case EnumerationOutput::Full::Box:
      return after + QStringLiteral("the results box cannot hold more than %1 characters.")
                         .arg(locale.toString(static_cast<qint64>(output.limit())));
    case EnumerationOutput::Full::Memory:
      return after + QStringLiteral("there was no more memory to hold them.");
    case EnumerationOutput::Full::No:
      break;
  }
  return {};
}

}  // namespace

void frmCombination::txtChar_Change() {
  cachedTotalStale = true;
  check();
}

void frmCombination::txtlength_Change() {
  cachedTotalStale = true;
  check();
}

void frmCombination::check() {
  if (txtChar->text().isEmpty()) {
    cmdcalc->setEnabled(false);
    return;
  }
  const QString length = txtlength->text();
  bool usable = false;
  // A length too large to read is no usable length.
  platform::resumeNext([&] { usable = util::IsNumeric(length) && util::Val(length) > 0; });
  cmdcalc->setEnabled(usable);
}

const QString* frmCombination::outcomeTotal() {
  if (cachedTotalStale) {
    cachedTotalStale = false;
    cachedTotalValid =
        platform::resumeNext([&] { cachedTotal = engine::outcomeTotal(txtChar->text(), txtlength->text()); });
  }
  return cachedTotalValid ? &cachedTotal : nullptr;
}

void frmCombination::Engine(const QString& symbols, quint8 length) {
  cutShort.clear();
  engine::Odometer odometer(symbols, length);
  EnumerationOutput output(txtResults, lblOutcomes, platform::availableMemory);
  output.madeOf(symbols);
  output.reserve(foreseenCharacters(symbols.size(), length, txtResults->text().size()));
  platform::PacedYield yield;
  qint32 count = 0;

  try {
    while (!bStop) {
      // Paced on purpose: pending events are handled at the first step and
      // then once a millisecond has passed, not before every step. A click
      // still waits only about a millisecond, the stop takes effect before
      // the next step and the count matches the combinations listed, while
      // handling events at every step would make a Length 6 run some 30
      // times slower.
      yield();
      switch (odometer.step()) {
        case engine::Odometer::Step::Found: {
          // At its maximum the count stays; the combination is still shown.
          qint32 next = count;
          platform::resumeNext([&] { next = util::addChecked(count, 1); });
          if (output.found(next, outcomeTotal(), odometer.current()))
            count = next;
          else
            bStop = true;  // the text can take no more: the run goes on as after a stop
          break;
        }
        case engine::Odometer::Step::Exhausted:
          bStop = true;
          break;
        case engine::Odometer::Step::Advanced:
        case engine::Odometer::Step::Idle:
          break;
      }
    }
  } catch (const std::bad_alloc&) {
    output.ranOutOfMemory();
    bStop = true;
  }
  cutShort = cutShortMessage(output);
}

QString frmCombination::GetWord(const QString& BinCode) {
  const ReadingScope scope(this);
  return reading->word(BinCode, &dataFileTrouble);
}
