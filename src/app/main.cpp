// The entry point reads the command line, then starts the windowing runtime
// with the main window, once it is settled where the program's files live.
#include "app/commandline.h"
#include "app/ending.h"
#include "app/frmcombination.h"
#include "data/records.h"
#include "data/datahome.h"
#include "platform/programpath.h"
#include "platform/windows.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  const app::CommandLine commandLine = app::readCommandLine(argc, argv);
  if (commandLine.exitCode)
    return *commandLine.exitCode;
  app::catchDisplayFailure();
  QApplication app(argc, argv);
  app::releaseDisplayFailure();
  if (!commandLine.styleChosen)
    QApplication::setStyle("Fusion");
  data::chooseFileHome(platform::programPath(), {data::kWordsFile, data::kDictionaryFile});
  frmCombination window;
  platform::fitOnScreen(&window);
  window.show();
  app::endOnRequest(window);
  return QApplication::exec();
}
