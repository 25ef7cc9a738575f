// Handlers whose work is still to be built; each does nothing yet.
#include "frmcombination.h"

void frmCombination::ShowMeanings(qint32) {}
void frmCombination::lstWords_Click() {}
void frmCombination::chkInvert_Click() {}
void frmCombination::chkListWords_Click() {}
void frmCombination::chkInvertWords_Click() {}
void frmCombination::chkShowAll_Click() {}
void frmCombination::cmdEditData_Click() {}
void frmCombination::mnuEdit_Click() {}
