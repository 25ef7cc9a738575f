// The meanings report: the entry of each wanted word pair, from the codes of
// the grid columns its letters name, in the word and meaning boxes and on
// the page meanings_tmp.htm, which the view shows in "Show All Meanings"
// mode. The option boxes and a click on the word-pair list redraw it.
#include "frmcombination.h"

#include "app/resultwords.h"
#include "engine/grid.h"
#include "engine/meanings.h"
#include "engine/reading.h"
#include "data/datahome.h"
#include "platform/htmlview.h"
#include "platform/resumenext.h"
#include "platform/textfile.h"
#include "platform/wholefile.h"
#include "util/gwords.h"
#include "util/numbers.h"
#include "util/splitfields.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

using platform::resumeNext;

namespace {

// A grayed box does not count as checked.
bool checked(const QCheckBox* box) { return box->checkState() == Qt::Checked; }

}  // namespace

bool frmCombination::meaningsViewShown() const { return txtMeanings->isVisibleTo(client); }

void frmCombination::ShowMeanings(qint32 wordNo) {
  const ReadingScope scope(this);
  resumeNext([&] { util::gWords = app::resultWords(txtResults->text(), wordNo >= 1 ? wordNo : lstWords->count()); });

  // The page is made in memory and written whole at the end, so that the
  // view never finds half a page.
  const QString pagePath = data::appFile("meanings_tmp.htm");
  QString page;

  const qint32 first = wordNo >= 1 ? wordNo : 1;
  const qint32 last = wordNo >= 1 ? wordNo : lstWords->count();
  engine::Grid grid;
  for (int i = 0; i < 16; ++i)
    grid[i] = txtSet[i]->text();

  for (qint32 k = first; k <= last; ++k) {
    if (k >= util::gWords.size())
      continue;
    const QString& word = util::gWords.at(k);
    QString code1 = word.isEmpty() ? QString() : engine::columnCode(grid, word.front());
    QString code2 = word.isEmpty() ? QString() : engine::columnCode(grid, word.back());
    if (checked(chkInvert))
      util::SwapValues(code1, code2);
    QString word1 = GetWord(code1), word2 = GetWord(code2);
    if (checked(chkInvertWords))
      util::SwapValues(word1, word2);

    txtMeaning->setPlainText(QString());
    const std::optional<engine::DictionaryEntry> entry = reading->entry(code1, code2, &dataFileTrouble);
    if (!entry)
      continue;
    const QString heading = checked(chkListWords) ? word1 + "-" + word2 : entry->words;
    txtWord->setText(heading);
    page += engine::headingLine(heading, entry->code1 == entry->code2) + QLatin1String("\r\n");
    txtMeaning->setPlainText(entry->meaning);
    page += engine::meaningLine(entry->meaning) + QLatin1String("\r\n");
  }

  // A page that cannot be written is skipped without a message. The view is
  // given the page as written rather than the file: another copy of the
  // program may write the same file meanwhile.
  QString written;
  resumeNext([&] {
    const QByteArray bytes = platform::encodeText(page);
    written = platform::decodeText(bytes);
    data::writeFile(pagePath, bytes);
  });
  txtMeanings->showPage(pagePath, written);
  txtMeanings->setVisible(checked(chkShowAll));
  if (dataFileTrouble)
    warnAboutDataFiles();
}

void frmCombination::refreshMeanings() {
  if (meaningsViewShown() || checked(chkShowAll))
    ShowMeanings(0);
  else
    ShowMeanings(nCurWord);
}

void frmCombination::chkInvert_Click() { refreshMeanings(); }
void frmCombination::chkListWords_Click() { refreshMeanings(); }
void frmCombination::chkInvertWords_Click() { refreshMeanings(); }

void frmCombination::chkShowAll_Click() {
  if (checked(chkShowAll)) {
    txtMeanings->show();
    ShowMeanings(0);
  } else {
    txtMeanings->hide();
    ShowMeanings(nCurWord);
  }
}

void frmCombination::lstWords_Click() {
  const QListWidgetItem* selected = lstWords->currentItem();
  resumeNext([&] { nCurWord = util::toLong(util::Val(selected ? selected->text() : QString())); });
  if (!meaningsViewShown())
    ShowMeanings(nCurWord);
}
