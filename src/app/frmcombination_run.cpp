// The Tell Me run: one button starts a run and, while it reads "Stop",
// stops the enumeration; a run ends with the kings, the numbered word pairs
// and the meaning of the first pair. Every step is guarded on its own: a
// step that fails is skipped without a message and the run goes on.
#include "frmcombination.h"

#include "engine/grid.h"
#include "data/datahome.h"
#include "platform/error.h"
#include "platform/htmlview.h"
#include "platform/memory.h"
#include "platform/resumenext.h"
#include "platform/textfile.h"
#include "platform/wholefile.h"
#include "platform/windows.h"
#include "run/tellme.h"
#include "util/gwords.h"
#include "util/numbers.h"
#include "util/randomdigits.h"
#include "util/splitfields.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <utility>

using platform::resumeNext;

namespace {

engine::Grid gridOf(const std::array<QLineEdit*, 16>& cells) {
  engine::Grid grid;
  for (size_t i = 0; i < cells.size(); ++i)
    grid[i] = cells[i]->text();
  return grid;
}

}  // namespace

void frmCombination::cmdcalc_Click() {
  if (cmdcalc->text() == run::kTellMe)
    startRun();
  else
    stopRun();
}

void frmCombination::mnuStart_Click() { cmdcalc->click(); }

void frmCombination::stopRun() {
  // Only a request: the enumeration that delivered this click sees it before
  // its next step, and the interrupted run then completes.
  resumeNext([&] { bStop = true; });
  resumeNext([&] { txtChar->setEnabled(true); });
  resumeNext([&] { txtlength->setEnabled(true); });
  resumeNext([&] { cmdcalc->setText(run::kTellMe); });
  meaningsStep();
}

void frmCombination::startRun() {
  ending = false;
  resumeNext([&] { txtResults->setText(QString()); });
  resumeNext([&] { txtResult2->setPlainText(QString()); });
  resumeNext([&] { lstWords->clear(); });
  resumeNext([&] { bStop = false; });
  resumeNext([&] { txtChar->setEnabled(false); });
  resumeNext([&] { txtlength->setEnabled(false); });
  resumeNext([&] { cmdcalc->setText(run::kStop); });

  for (QLineEdit* cell : txtSet) {
    resumeNext([&] {
      if (const std::optional<QString> bit = run::cellForDigit(util::RandomDigits(1)))
        cell->setText(*bit);
    });
  }

  resumeNext([&] {
    const quint8 length = util::toByte(txtlength->text());
    running = true;
    Engine(txtChar->text(), length);
  });
  running = false;
  if (ending) {
    // The program is going: leave the button idle and do nothing more.
    cmdcalc->setText(run::kTellMe);
    txtChar->setEnabled(true);
    txtlength->setEnabled(true);
    return;
  }

  resumeNext([&] {
    // The combinations can run to gigabytes; giving them back to the system
    // is left to a worker thread.
    QString listed = txtResults->text();
    txtResults->setText(run::kPairList);
    platform::releaseLater(std::move(listed));
  });
  resumeNext([&] { lblOutcomes->setText(run::countCaption(txtChar->text())); });
  resumeNext([&] { txtResult2->setPlainText(run::bitReport(txtResults->text(), gridOf(txtSet))); });
  resumeNext([&] { cmdcalc->setText(run::kTellMe); });
  resumeNext([&] { txtChar->setEnabled(true); });
  resumeNext([&] { txtlength->setEnabled(true); });
  closingSteps();
  if (!cutShort.isEmpty())
    platform::messageBox(this, std::exchange(cutShort, QString()), "Lotwise", platform::Icon::Information);
}

void frmCombination::closingSteps() {
  // The kings, the list and the meanings, from one reading of the files.
  const ReadingScope scope(this);
  resumeNext([&] { util::gWords = util::SplitFields(txtResults->text().replace(' ', ','), ","); });

  qint32 pairs = 0;
  resumeNext([&] { pairs = util::toLong(util::Val(util::gWords.value(0))); });
  const engine::Grid grid = gridOf(txtSet);
  for (qint32 n = 1; n <= pairs; ++n) {
    const QString pair = util::gWords.value(n);
    if (pair.isEmpty())
      continue;
    const QChar first = pair.front(), last = pair.back();
    const QString word1 = GetWord(engine::columnCode(grid, first));
    const QString word2 = GetWord(engine::columnCode(grid, last));
    // A letter outside A..D names no king.
    resumeNext([&] { lblWord.at(engine::letterIndex(first))->setText(word1); });
    resumeNext([&] { lblWord.at(engine::letterIndex(last))->setText(word2); });
    resumeNext([&] { lstWords->addItem(run::listLine(n, util::toInteger(txtlength->text()), word1, word2)); });
  }
  meaningsStep();
}

void frmCombination::meaningsStep() {
  if (chkShowAll->checkState() == Qt::Checked || meaningsViewShown()) {
    ShowMeanings(0);
  } else {
    nCurWord = 1;
    ShowMeanings(nCurWord);
  }
}

void frmCombination::cmdSave_Click() {
  const QString path = data::appFile("results.txt");
  // Confirmed only once the whole file is on disk; otherwise the user
  // learns where it should have gone and why it did not.
  std::optional<platform::Error> failure;
  const bool built = resumeNext([&] {
    QStringList lines{platform::multiLineText(txtResult2), QString(), QString()};
    for (int i = 0; i < lstWords->count(); ++i)
      lines << lstWords->item(i)->text();
    failure = data::writeFile(path, platform::encodeText(lines.join("\r\n") + "\r\n"));
  });
  if (!built)
    failure = platform::Error(platform::OutOfMemory, "Out of memory");
  if (failure)
    platform::messageBox(this, "The results could not be saved to \r\n" + path + "\r\n\r\n" + failure->description(),
                         "Lotwise", platform::Icon::Critical);
  else
    platform::messageBox(this, "The results has been saved to \r\n" + path, "Lotwise", platform::Icon::None);
}
