// How the program ends when it is asked to from outside: SIGTERM, SIGINT or
// SIGHUP, or the desktop's logout. It ends as Ctrl+Q does, from the event
// loop, so that a save under way finishes first, and never drops the
// editor's unsaved edits without a word.
#pragma once

class frmCombination;

namespace app {

// Once at start-up, the main window built.
void endOnRequest(frmCombination& window);

// A request to end. With the editor open, its unsaved edits are first kept
// beside their files (frmEdit::keepUnsavedAside): nobody may be there to
// answer its closing questions. Edits that cannot be kept are each named on
// standard error with the cause; then, where someone can answer
// (interactive), the program goes on running with the editor's closing
// question on screen, and ends once the editor has closed; where nobody
// can, it ends with exit code 1. False when the program goes on running.
bool endFromOutside(frmCombination& window, bool interactive = true);

}  // namespace app
