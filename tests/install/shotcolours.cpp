// shotcolours: whether a screenshot of a whole screen shows the program's
// main window, by the fill colours of its design.
//
//   shotcolours <shot.png> <min-pixels> #RRGGBB [#RRGGBB ...]
//
// Exit code 0 when every colour covers at least <min-pixels> pixels of the
// picture; otherwise 1, naming each colour that falls short with its count.
// A count rather than a single pixel, so that a stray pixel of the desktop's
// own picture cannot pass for a painted window.
#include <QColor>
#include <QHash>
#include <QImage>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[]) {
  QStringList args;
  for (int i = 1; i < argc; ++i)
    args << QString::fromLocal8Bit(argv[i]);
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: shotcolours <shot.png> <min-pixels> #RRGGBB [#RRGGBB ...]\n");
    return 2;
  }
  const QImage image = QImage(args[0]).convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) {
    std::fprintf(stderr, "shotcolours: cannot read the picture %s\n", qPrintable(args[0]));
    return 2;
  }
  bool numeric = false;
  const int minimum = args[1].toInt(&numeric);
  if (!numeric || minimum < 1) {
    std::fprintf(stderr, "shotcolours: %s is no pixel count\n", qPrintable(args[1]));
    return 2;
  }

  QHash<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      ++counts[line[x] | 0xff000000u];
  }
  int rc = 0;
  for (const QString& name : args.mid(2)) {
    const QColor colour = QColor::fromString(name);
    if (!colour.isValid()) {
      std::fprintf(stderr, "shotcolours: %s is no colour\n", qPrintable(name));
      return 2;
    }
    const int count = counts.value(colour.rgb() | 0xff000000u);
    if (count < minimum) {
      std::fprintf(stderr, "shotcolours: %s covers %d pixels, fewer than %d\n", qPrintable(name), count, minimum);
      rc = 1;
    }
  }
  return rc;
}
