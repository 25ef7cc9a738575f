// Opening the dictionary editor. The design keeps both entry points
// disabled; the handlers work all the same when called.
#include "editor/frmedit.h"
#include "frmcombination.h"

void frmCombination::cmdEditData_Click() {
  // One editor for the program's life; it reads both files afresh every time
  // it opens, and the main window waits here until it is closed.
  if (!editor)
    editor = new frmEdit(this);
  editor->exec();
}

void frmCombination::mnuEdit_Click() { cmdEditData_Click(); }
