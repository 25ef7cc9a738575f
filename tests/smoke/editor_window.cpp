// The dictionary editor on a real X server: opened over the shipped data
// files, checked, and photographed from the screen for the README.
//
//   editor_window <data folder> <screenshot.png>   (run under Xvfb)
#include "editor/frmedit.h"
#include "platform/apppath.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

int failures = 0;

void expect(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    ++failures;
  }
}

bool holdsColour(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
        return true;
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: editor_window <data folder> <screenshot.png>\n");
    return 2;
  }
  if (QGuiApplication::platformName() != "xcb") {
    std::fprintf(stderr, "FAIL: needs a real X server (run under Xvfb), got %s\n", qPrintable(app.platformName()));
    return 1;
  }
  QApplication::setStyle("Fusion");

  QTemporaryDir folder;
  for (const char* name : {"words.wdb", "dictionary.wdb"})
    QFile::copy(QString(argv[1]) + "/" + name, folder.filePath(name));
  platform::setAppPath(folder.path());

  frmEdit editor;
  editor.show();
  expect(QTest::qWaitForWindowExposed(&editor), "the editor window is shown");

  expect(editor.windowTitle() == "LTW Editor", "caption LTW Editor");
  expect(editor.findChild<QGroupBox*>("Frame")->title() == "Dictionary : Row 1 of 256", "row 1 in the frame");
  expect(editor.findChild<QLineEdit*>("txtCode_0")->text() == "0000", "the word list from the file");
  expect(editor.findChild<QLineEdit*>("Text1")->text() == "0000", "row 1 from the dictionary");
  expect(!editor.bWordsChanged && !editor.bDictChanged, "nothing changed by opening");

  // The X server paints the window some time after it is exposed: grab
  // until every colour of the design is on the screen, or give up after 10 s.
  const QRgb designColours[] = {qRgb(224, 224, 224), qRgb(255, 224, 192), qRgb(255, 192, 255), qRgb(192, 0, 192)};
  QImage shot;
  const bool painted = QTest::qWaitFor(
      [&] {
        shot = editor.screen()->grabWindow(editor.winId()).toImage();
        return std::all_of(std::begin(designColours), std::end(designColours),
                           [&](QRgb colour) { return holdsColour(shot, colour); });
      },
      10000);
  expect(painted, "the design's colours on the screen within 10 s");
  expect(shot.width() >= 700 && shot.height() >= 450, "a window of the design's size");
  expect(holdsColour(shot, qRgb(224, 224, 224)), "the window's grey");
  expect(holdsColour(shot, qRgb(255, 224, 192)), "the word list's buttons");
  expect(holdsColour(shot, qRgb(255, 192, 255)), "the dictionary's buttons");
  expect(holdsColour(shot, qRgb(192, 0, 192)), "the frame's caption colour");
  expect(shot.save(argv[2]), "the screenshot is saved");
  return failures ? 1 : 0;
}
