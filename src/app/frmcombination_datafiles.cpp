// The warning about the data files. Blank or wrong kings and meanings look
// like a real reading, so a word list or dictionary that falls short is
// named to the user, in a box that leaves the window free to use. So is a
// run without a data folder of the user's, which writes nothing, and edits
// kept aside when the program was last ended from outside.
#include "data/check.h"
#include "data/records.h"
#include "data/unsaved.h"
#include "engine/reading.h"
#include "frmcombination.h"
#include "data/datahome.h"
#include "platform/windows.h"

#include <QMessageBox>
#include <QShowEvent>
#include <QTimer>

void frmCombination::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!dataFilesChecked) {
    dataFilesChecked = true;
    // After the window is on screen, so that the warning shows above it.
    QTimer::singleShot(0, this, [this] {
      QStringList notices{data::readOnlyNotice(), data::unsavedNotice(data::unsavedFiles(data::appPath()))};
      notices.removeAll(QString());
      warnAboutDataFiles(notices.join(QStringLiteral("\n\n")));
    });
  }
}

frmCombination::ReadingScope::ReadingScope(frmCombination* window) : m_window(window), m_owner(!window->reading) {
  if (m_owner)
    window->reading =
        std::make_unique<engine::Reading>(data::appFile(data::kWordsFile), data::appFile(data::kDictionaryFile));
}

frmCombination::ReadingScope::~ReadingScope() {
  if (m_owner)
    m_window->reading.reset();
}

void frmCombination::warnAboutDataFiles(const QString& startNotice) {
  dataFileTrouble = false;
  // After a run, from the run's own reading.
  const ReadingScope scope(this);
  QStringList parts{startNotice, data::dataFilesWarning(reading->files(), data::shippedFolder())};
  parts.removeAll(QString());
  if (parts.isEmpty())
    return;
  const QString warning = parts.join(QStringLiteral("\n\n"));
  // One box at a time: one still open is brought up to date.
  if (dataWarning) {
    dataWarning->setText(warning);
    dataWarning->raise();
    return;
  }
  dataWarning = platform::showNotice(this, warning, QStringLiteral("Lotwise"));
}
