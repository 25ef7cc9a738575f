// The entry point only starts the windowing runtime with the main window.
#include "app/frmcombination.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  frmCombination window;
  window.show();
  return QApplication::exec();
}
