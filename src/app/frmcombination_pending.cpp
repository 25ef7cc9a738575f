// Handlers whose work is still to be built; each does nothing yet.
#include "frmcombination.h"

void frmCombination::cmdcalc_Click() {}
void frmCombination::cmdSave_Click() {}
void frmCombination::txtChar_Change() {}
void frmCombination::txtlength_Change() {}
void frmCombination::Engine(const QString&, quint8) {}
void frmCombination::check() {}
QString frmCombination::GetWord(const QString&) { return {}; }
void frmCombination::ShowMeanings(qint32) {}
void frmCombination::lstWords_Click() {}
void frmCombination::chkInvert_Click() {}
void frmCombination::chkListWords_Click() {}
void frmCombination::chkInvertWords_Click() {}
void frmCombination::chkShowAll_Click() {}
