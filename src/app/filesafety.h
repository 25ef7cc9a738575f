// The program's files when it starts after being killed, and when it is
// ended from outside: nothing half written stays behind, and no edit is
// lost without a word.
#pragma once

class frmCombination;

namespace app {

// Once at start-up, the main window built: tidies what a killed save or
// page write left in the data folder (data::tidyLeftovers), names any
// edits kept aside there to the user once the window shows, and lets
// SIGTERM and SIGINT end the program as Ctrl+Q does (quitFromOutside).
void guardFiles(frmCombination& window);

// Ends the program as Ctrl+Q does, from the event loop, so that a save
// under way has finished. With the editor open, its unsaved edits are kept
// beside their files first (frmEdit::keepUnsavedAside): nobody may be there
// to answer its closing questions, which would otherwise hold the ending.
void quitFromOutside(frmCombination& window);

}  // namespace app
