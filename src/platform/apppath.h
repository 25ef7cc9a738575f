// Where the program's files live is the data home's to say (data/datahome.h);
// this header keeps the names older callers use.
#pragma once

#include "data/datahome.h"
#include "platform/programpath.h"

namespace platform {

using data::appFile;
using data::appPath;
using data::chooseFileHome;
using data::kInstalledMarker;
using data::setAppPath;

}  // namespace platform
