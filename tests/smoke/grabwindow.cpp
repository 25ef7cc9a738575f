// grabwindow: saves a PNG of one X11 window, for the real-window smoke test.
//
//   grabwindow <window-id> <out.png> [--timeout-ms N] [#RRGGBB ...]
//
// A freshly mapped window may not have painted yet, so the tool grabs again
// until every listed colour shows up somewhere in the picture (or the timeout
// runs out). That doubles as a cheap check that the window's fill colours are
// the ones it was designed with. Exit code 0 when the PNG is saved and every
// colour was found, 1 otherwise; the PNG is written in either case when a grab
// succeeded, so that a failure can be looked at.
#include <QColor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QStringList>
#include <QThread>
#include <QtGlobal>

#include <cstdio>

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "grabwindow: %s\n", qPrintable(message));
  return 1;
}

// The wanted colours that do not occur in the picture, as #rrggbb texts.
QStringList missingColours(const QImage& image, const QList<QRgb>& wanted) {
  QSet<QRgb> seen;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x)
      seen.insert(line[x] | 0xff000000u);
  }
  QStringList missing;
  for (QRgb colour : wanted)
    if (!seen.contains(colour))
      missing << QColor(colour).name();
  return missing;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "xcb");  // a window id only means something to the X server
  QGuiApplication app(argc, argv);

  QStringList args = QGuiApplication::arguments().mid(1);
  int timeoutMs = 5000;
  QList<QRgb> wanted;
  QStringList positional;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == "--timeout-ms" && i + 1 < args.size()) {
      timeoutMs = args[++i].toInt();
    } else if (arg.startsWith('#')) {
      const QColor colour = QColor::fromString(arg);
      if (!colour.isValid())
        return fail("not a colour: " + arg);
      wanted << (colour.rgb() | 0xff000000u);
    } else {
      positional << arg;
    }
  }
  if (positional.size() != 2)
    return fail("usage: grabwindow <window-id> <out.png> [--timeout-ms N] [#RRGGBB ...]");

  bool ok = false;
  const WId window = positional[0].toULongLong(&ok, 0);
  if (!ok || window == 0)
    return fail("not a window id: " + positional[0]);
  const QString outFile = positional[1];

  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen)
    return fail("no screen (is DISPLAY set?)");

  QElapsedTimer clock;
  clock.start();
  QImage image;
  QStringList missing;
  for (;;) {
    image = screen->grabWindow(window).toImage();
    if (!image.isNull()) {
      missing = missingColours(image, wanted);
      if (missing.isEmpty())
        break;
    }
    if (clock.elapsed() > timeoutMs)
      break;
    QThread::msleep(100);
  }

  if (image.isNull())
    return fail(QString("could not grab window %1").arg(positional[0]));
  if (!image.save(outFile, "PNG"))
    return fail("could not write " + outFile);
  if (!missing.isEmpty())
    return fail(QString("after %1 ms the window still lacks the colours %2 (picture saved as %3)")
                    .arg(timeoutMs)
                    .arg(missing.join(' '), outFile));
  std::printf("grabwindow: %dx%d saved as %s\n", image.width(), image.height(), qPrintable(outFile));
  return 0;
}
