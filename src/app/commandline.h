// The command line, read before any window or platform plugin is needed:
// --help and --version answer without a display, and a missing display is
// said in one line rather than by Qt's abort.
#pragma once

#include <optional>

namespace app {

struct CommandLine {
  std::optional<int> exitCode;  // the program ends here with it
  bool styleChosen = false;     // -style: the user's, not the design's Fusion
};

// Qt's own options (-platform, -style, -geometry, ...) are accepted and left
// in argv for QApplication.
CommandLine readCommandLine(int argc, char* argv[]);

// Until the window's runtime has started: a display Qt fails to open ends
// the program with exit code 1 and one line, instead of an abort.
void catchDisplayFailure();
void releaseDisplayFailure();

}  // namespace app
