#include "pacedyield.h"

#include "windows.h"

namespace platform {

void PacedYield::yieldNow() { yield(); }

}  // namespace platform
