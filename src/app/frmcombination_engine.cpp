// The combination engine's procedures: the enumeration that a Tell Me run
// shows in the outcome label and the results box, and the test that decides
// whether "Tell Me" may be pressed at all.
#include "frmcombination.h"

#include "app/enumerationoutput.h"
#include "data/records.h"
#include "engine/odometer.h"
#include "engine/outcome.h"
#include "engine/wordlookup.h"
#include "platform/apppath.h"
#include "platform/pacedyield.h"
#include "platform/resumenext.h"
#include "util/numbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

// Characters the results box will hold once every combination is listed,
// when that is a sensible amount to set aside beforehand.
qsizetype foreseenCharacters(qsizetype symbols, int length, qsizetype already) {
  constexpr double kMostToSetAside = 1 << 28;
  const double total = already + std::pow(double(symbols), length) * (length + 1);
  return total <= kMostToSetAside ? static_cast<qsizetype>(total) : 0;
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
  engine::Odometer odometer(symbols, length);
  EnumerationOutput output(txtResults, lblOutcomes);
  output.reserve(foreseenCharacters(symbols.size(), length, txtResults->text().size()));
  platform::PacedYield yield;
  qint32 count = 0;

  while (!bStop) {
    yield();
    switch (odometer.step()) {
      case engine::Odometer::Step::Found:
        // At its maximum the count stays; the combination is still shown.
        platform::resumeNext([&] { count = util::addChecked(count, 1); });
        output.found(count, outcomeTotal(), odometer.current());
        break;
      case engine::Odometer::Step::Exhausted:
        bStop = true;
        break;
      case engine::Odometer::Step::Advanced:
      case engine::Odometer::Step::Idle:
        break;
    }
  }
}

QString frmCombination::GetWord(const QString& BinCode) {
  return engine::lookupWord(platform::appFile(data::kWordsFile), BinCode, &dataFileTrouble);
}
