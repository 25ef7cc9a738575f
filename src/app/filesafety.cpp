#include "filesafety.h"

#include "data/leftovers.h"
#include "editor/frmedit.h"
#include "frmcombination.h"
#include "platform/apppath.h"
#include "platform/quitsignals.h"
#include "platform/windows.h"

#include <QTimer>

namespace app {

void guardFiles(frmCombination& window) {
  // A run that may write nothing reads the installed files in place: that
  // folder is not the user's to tidy.
  if (!platform::writeRefusal())
    data::tidyLeftovers(platform::appPath());
  // Queued, so that it shows above the window rather than before it.
  QTimer::singleShot(0, &window, [&window] {
    const QString notice = data::unsavedNotice(data::unsavedFiles(platform::appPath()));
    if (!notice.isEmpty())
      platform::showNotice(&window, notice, QStringLiteral("Lotwise"));
  });
  platform::onQuitSignals(&window, [&window] { quitFromOutside(window); });
}

void quitFromOutside(frmCombination& window) {
  for (frmEdit* editor : window.findChildren<frmEdit*>())
    if (editor->isVisible())
      editor->keepUnsavedAside();
  window.mnuExit_Click();
}

}  // namespace app
