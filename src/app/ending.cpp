#include "ending.h"

#include "editor/frmedit.h"
#include "frmcombination.h"
#include "platform/quitsignals.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <cstdio>

namespace app {
namespace {

frmEdit* openEditor(frmCombination& window) {
  const QList<frmEdit*> editors = window.findChildren<frmEdit*>();
  for (frmEdit* editor : editors)
    if (editor->isVisible())
      return editor;
  return nullptr;
}

}  // namespace

void endOnRequest(frmCombination& window) {
  platform::onQuitSignals(&window, [&window] { endFromOutside(window); });
  // A logout that lets the program ask keeps waiting while it does, and
  // is called off when the edits cannot be kept nor saved.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager& manager) {
    const bool interactive = manager.allowsInteraction();
    const bool ending = endFromOutside(window, interactive);
    if (interactive) {
      manager.release();
      if (!ending)
        manager.cancel();
    }
  });
}

bool endFromOutside(frmCombination& window, bool interactive) {
  if (frmEdit* editor = openEditor(window)) {
    const QStringList lost = editor->keepUnsavedAside();
    for (const QString& why : lost)
      std::fprintf(stderr, "lotwise: %s%s\n", qPrintable(why),
                   interactive ? "; Lotwise goes on running so that they can be saved" : "");
    if (!lost.isEmpty()) {
      if (!interactive) {
        QCoreApplication::exit(1);
        return true;
      }
      // The closing question; once it is answered and the editor has
      // closed, the request to end stands.
      if (!editor->closeAsking())
        return false;
    }
  }
  window.mnuExit_Click();
  return true;
}

}  // namespace app
