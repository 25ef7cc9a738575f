// The entry point only starts the windowing runtime with the main window,
// once it is settled where the program's files live.
#include "app/filesafety.h"
#include "app/frmcombination.h"
#include "data/records.h"
#include "platform/apppath.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  platform::chooseFileHome(platform::programPath(), {data::kWordsFile, data::kDictionaryFile});
  frmCombination window;
  window.show();
  app::guardFiles(window);
  return QApplication::exec();
}
