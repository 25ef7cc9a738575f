// Handlers whose work is still to be built; each does nothing yet.
#include "frmcombination.h"

void frmCombination::cmdEditData_Click() {}
void frmCombination::mnuEdit_Click() {}
