// The yardstick of the start-up benchmark: the least a Qt 6 Widgets program
// with a main window and an HTML view can do. Same size as the main window,
// so that both paint and keep a window surface of the same area.
#include <QApplication>
#include <QMainWindow>
#include <QTextBrowser>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Bare");
  window.setCentralWidget(new QTextBrowser);
  window.resize(934, 601);
  window.show();
  return QApplication::exec();
}
