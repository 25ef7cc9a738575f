// shotcheck: reads what the main window shows from screenshots taken by
// grabwindow, and checks the meanings page against the shipped data files,
// for the real-window journey test.
//
//   shotcheck top <shot.png>
//       prints the height of the menu bar: where the client area starts
//   shotcheck hint <before.png> <after.png> <from-x>
//       the question hint shown before typing is gone after it: the hint's
//       area right of <from-x> held the hint's glyphs before and holds
//       nothing but the question bar's grey after
//   shotcheck grid <startup.png> <shot.png>
//       prints the 16 grid cells of <shot.png> as 0s and 1s, cell 0 first
//   shotcheck band <shot.png> <x> <y>
//       prints the top and the height of the run of (nearly) one colour
//       that holds the pixel (x, y), in the column x
//   shotcheck span <shot.png> <y> <#RRGGBB>
//       prints the first and the last x of that colour in the line y
//   shotcheck box <shot.png> <#RRGGBB>
//       prints the left, top, width and height of the smallest rectangle
//       that holds every pixel of that colour, in the picture's own
//       coordinates (the question bar need not show); fails when none does
//   shotcheck page <data-dir> <grid> <pair> <page.htm>
//       the page holds exactly the entry of the word pair (two column
//       letters, as the word-pair list gives them) for the grid, with
//       "Invert Pattern" checked, as the data files in <data-dir> give it
//
// Coordinates are those of the client area below the menu bar: the tool
// finds the menu bar's height from the question bar's grey. The data files
// are read here on their own terms, by a reader of this tool, so that the
// check does not lean on the program's code.
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QRect>
#include <QStringList>

#include <array>
#include <cstdlib>
#include <cstdio>
#include <optional>

namespace {

constexpr QRgb kQuestionBar = 0xffc0c0c0;
constexpr int kQuestionBarHeight = 41;  // 615 twips

int fail(const QString& message) {
  std::fprintf(stderr, "shotcheck: %s\n", qPrintable(message));
  return 1;
}

struct Shot {
  QImage image;
  int top = 0;  // height of the menu bar

  QRgb at(int x, int y) const { return image.pixel(x, y + top) | 0xff000000u; }
  bool dark(int x, int y) const { return qGray(at(x, y)) < 128; }
  int width() const { return image.width(); }
  int height() const { return image.height() - top; }
};

// The client area starts where the question bar's grey starts, at the left
// edge and across the bar's height.
std::optional<Shot> load(const QString& path) {
  Shot shot;
  shot.image = QImage(path).convertToFormat(QImage::Format_RGB32);
  if (shot.image.isNull())
    return std::nullopt;
  for (int y = 0; y + kQuestionBarHeight <= shot.image.height(); ++y) {
    if ((shot.image.pixel(1, y) | 0xff000000u) == kQuestionBar &&
        (shot.image.pixel(1, y + kQuestionBarHeight - 1) | 0xff000000u) == kQuestionBar &&
        (shot.image.pixel(1, y + kQuestionBarHeight) | 0xff000000u) != kQuestionBar) {
      shot.top = y;
      return shot;
    }
  }
  return std::nullopt;
}

// --- hint -----------------------------------------------------------------

const QRect kHintArea(192, 10, 562, 26);  // x 192..753, y 10..35

int hint(const Shot& before, const Shot& after, int fromX) {
  int glyphs = 0, leftOver = 0;
  for (int y = kHintArea.top(); y <= kHintArea.bottom(); ++y) {
    for (int x = std::max(fromX, kHintArea.left()); x <= kHintArea.right(); ++x) {
      if (before.dark(x, y))
        ++glyphs;
      if (after.at(x, y) != kQuestionBar)
        ++leftOver;
    }
  }
  std::printf("hint area right of x %d: %d dark pixels before typing, %d pixels not grey after\n", fromX, glyphs,
              leftOver);
  if (glyphs < 100)
    return fail("the hint's area did not show the hint before typing");
  if (leftOver > 0)
    return fail("the hint's glyphs are still there after typing");
  return 0;
}

// --- grid -----------------------------------------------------------------

// Cell i: column i % 4, row i / 4, in pixels of the client area.
constexpr std::array<int, 4> kCellLeft{8, 96, 184, 272};
constexpr std::array<int, 4> kCellWidth{64, 64, 64, 56};
constexpr std::array<int, 4> kCellTop{88, 120, 152, 184};
constexpr int kCellHeight = 29;
constexpr int kInset = 3;  // the frame of the box

// The dark (text) pixels of one cell. The rows' backgrounds differ, the
// text colour does not, so only the glyph's shape is compared.
using Mask = QList<bool>;

Mask cellMask(const Shot& shot, int cell) {
  const int column = cell % 4, row = cell / 4;
  Mask mask;
  for (int y = kCellTop[row] + kInset; y < kCellTop[row] + kCellHeight - kInset; ++y)
    for (int x = kCellLeft[column] + kInset; x < kCellLeft[column] + kCellWidth[column] - kInset; ++x)
      mask << shot.dark(x, y);
  return mask;
}

int distance(const Mask& a, const Mask& b) {
  int d = 0;
  for (qsizetype i = 0; i < a.size(); ++i)
    d += a[i] != b[i];
  return d;
}

int inked(const Mask& m) { return static_cast<int>(m.count(true)); }

// The digit a cell shows, or nullopt when it looks like neither reference.
std::optional<char> readCell(const Mask& cell, const Mask& zero, const Mask& one) {
  const int d0 = distance(cell, zero), d1 = distance(cell, one);
  const int best = std::min(d0, d1), other = std::max(d0, d1);
  const int size = std::min(inked(zero), inked(one));
  // Anti-aliasing on the two row backgrounds shifts a few edge pixels; a
  // digit still lies far closer to its own reference than to the other.
  if (best * 4 > size || other < 3 * best + 10)
    return std::nullopt;
  return d0 < d1 ? '0' : '1';
}

int grid(const Shot& startup, const Shot& shot) {
  // At start-up rows 1 and 3 show "0", rows 2 and 4 "1" in every column.
  QByteArray cells;
  for (int cell = 0; cell < 16; ++cell) {
    const int column = cell % 4;
    const Mask zero = cellMask(startup, column), one = cellMask(startup, 4 + column);
    if (inked(zero) < 20 || inked(one) < 20)
      return fail(QString("no digits in column %1 of the start-up picture").arg(column));
    // The start-up picture's own rows 3 and 4 must read back as 0 and 1, or
    // the method cannot be trusted.
    if (readCell(cellMask(startup, 8 + column), zero, one) != '0' ||
        readCell(cellMask(startup, 12 + column), zero, one) != '1')
      return fail(QString("the start-up picture's column %1 does not read as 0 1 0 1").arg(column));
    const std::optional<char> digit = readCell(cellMask(shot, cell), zero, one);
    if (!digit)
      return fail(QString("cell %1 shows neither 0 nor 1").arg(cell));
    cells += *digit;
  }
  std::printf("%s\n", cells.constData());
  return 0;
}

// --- band, span -----------------------------------------------------------

// Fusion paints a selected item with a slight gradient: neighbours that
// differ by a few steps of each channel belong to the same run.
bool similar(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 32 && std::abs(qGreen(a) - qGreen(b)) <= 32 &&
         std::abs(qBlue(a) - qBlue(b)) <= 32;
}

int band(const Shot& shot, int x, int y) {
  const QRgb colour = shot.at(x, y);
  int top = y, bottom = y;
  while (top > 0 && similar(shot.at(x, top - 1), colour))
    --top;
  while (bottom + 1 < shot.height() && similar(shot.at(x, bottom + 1), colour))
    ++bottom;
  std::printf("%d %d\n", top, bottom - top + 1);
  return 0;
}

int span(const Shot& shot, int y, QRgb colour) {
  int first = -1, last = -1;
  for (int x = 0; x < shot.width(); ++x) {
    if (shot.at(x, y) == colour) {
      if (first < 0)
        first = x;
      last = x;
    }
  }
  if (first < 0)
    return fail(QString("no pixel of %1 in line %2").arg(QColor(colour).name()).arg(y));
  std::printf("%d %d\n", first, last);
  return 0;
}

// --- page -----------------------------------------------------------------

// The next n fields of a data file: quoted fields run to the closing quote,
// line breaks included; unquoted ones to the next comma or line end.
class Records {
public:
  explicit Records(QByteArray bytes) : m_bytes(std::move(bytes)) {}

  bool atEnd() const { return m_pos >= m_bytes.size(); }

  QList<QByteArray> next(int n) {
    QList<QByteArray> fields;
    while (fields.size() < n && !atEnd())
      fields << field();
    while (fields.size() < n)
      fields << QByteArray();
    return fields;
  }

private:
  QByteArray field() {
    while (peek() == ' ')
      ++m_pos;
    QByteArray value;
    if (peek() == '"') {
      const qsizetype close = m_bytes.indexOf('"', m_pos + 1);
      const qsizetype end = close < 0 ? m_bytes.size() : close;
      value = m_bytes.mid(m_pos + 1, end - m_pos - 1);
      m_pos = end + 1;
      while (!atEnd() && peek() != ',' && peek() != '\r' && peek() != '\n')
        ++m_pos;
    } else {
      const qsizetype start = m_pos;
      while (!atEnd() && peek() != ',' && peek() != '\r' && peek() != '\n')
        ++m_pos;
      value = m_bytes.mid(start, m_pos - start);
      while (value.endsWith(' '))
        value.chop(1);
    }
    // Past one separator: a comma, CR LF, CR or LF.
    if (peek() == ',') {
      ++m_pos;
    } else if (peek() == '\r') {
      ++m_pos;
      if (peek() == '\n')
        ++m_pos;
    } else if (peek() == '\n') {
      ++m_pos;
    }
    return value;
  }

  char peek() const { return atEnd() ? '\0' : m_bytes[m_pos]; }

  QByteArray m_bytes;
  qsizetype m_pos = 0;
};

std::optional<QByteArray> readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  return file.readAll();
}

QByteArray columnCode(const QByteArray& grid, char letter) {
  const int column = letter - 'A';
  QByteArray code;
  for (int row = 0; row < 4; ++row)
    code += grid[4 * row + column];
  return code;
}

int page(const QString& dataDir, const QByteArray& grid, const QByteArray& pair, const QString& pagePath) {
  if (grid.size() != 16 || grid.count('0') + grid.count('1') != 16)
    return fail("not a grid of 16 bits: " + QString::fromLatin1(grid));
  if (pair.size() != 2 || pair[0] < 'A' || pair[0] > 'D' || pair[1] < 'A' || pair[1] > 'D')
    return fail("not a pair of column letters: " + QString::fromLatin1(pair));
  const auto words = readAll(dataDir + "/words.wdb");
  const auto dictionary = readAll(dataDir + "/dictionary.wdb");
  const auto shown = readAll(pagePath);
  if (!words || !dictionary)
    return fail("cannot read the data files in " + dataDir);
  if (!shown)
    return fail("cannot read " + pagePath);

  // "Invert Pattern" is checked: the pair's second letter gives Code 1.
  const QByteArray code1 = columnCode(grid, pair[1]), code2 = columnCode(grid, pair[0]);

  auto wordOf = [&](const QByteArray& code) {
    QByteArray word;  // the last record with the code wins
    for (Records r(*words); !r.atEnd();) {
      const QList<QByteArray> f = r.next(2);
      if (f[0].trimmed() == code)
        word = f[1].trimmed();
    }
    return word;
  };

  std::optional<QByteArray> expected;
  for (Records r(*dictionary); !r.atEnd() && !expected;) {
    const QList<QByteArray> f = r.next(4);
    if (f[0] == code1 && f[1] == code2) {
      const QByteArray ending = code1 == code2 ? "</></b><br>" : "</i></b><br>";
      expected = "<b><i>" + wordOf(code1) + "-" + wordOf(code2) + ending + "\r\n" + f[3] + "<br><br>\r\n";
    }
  }
  if (!expected)
    return fail(QString("the dictionary has no row %1, %2").arg(code1, code2));
  if (*shown != *expected) {
    std::fprintf(stderr, "expected page:\n%s\nshown page:\n%s\n", expected->constData(), shown->constData());
    return fail(QString("the page does not hold the entry of %1 (codes %2, %3)")
                    .arg(QString::fromLatin1(pair), QString::fromLatin1(code1), QString::fromLatin1(code2)));
  }
  std::printf("page holds the entry of %s: codes %s %s, heading %s\n", pair.constData(), code1.constData(),
              code2.constData(), QByteArray(*expected).left(expected->indexOf("<br>")).constData());
  return 0;
}

int box(const QString& file, QRgb colour) {
  const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
  if (image.isNull())
    return fail("cannot read " + file);
  QRect found;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] | 0xff000000u) == colour)
        found |= QRect(x, y, 1, 1);
  }
  if (found.isNull())
    return fail(QString("no pixel of %1 in %2").arg(QColor(colour).name(), file));
  std::printf("%d %d %d %d\n", found.x(), found.y(), found.width(), found.height());
  return 0;
}

int usage() {
  return fail(
      "usage: shotcheck top <shot.png> | hint <before.png> <after.png> <from-x> | grid <startup.png> <shot.png> | "
      "band <shot.png> <x> <y> | span <shot.png> <y> <#RRGGBB> | box <shot.png> <#RRGGBB> | page <data-dir> <grid> "
      "<pair> <page.htm>");
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // pictures only, no window
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments().mid(1);
  if (args.isEmpty())
    return usage();
  const QString& command = args[0];

  auto shotArg = [&](int i) -> std::optional<Shot> {
    std::optional<Shot> shot = load(args[i]);
    if (!shot)
      fail("no main window in " + args[i] + " (cannot find the question bar)");
    return shot;
  };
  auto intArg = [&](int i, int& value) {
    bool ok = false;
    value = args[i].toInt(&ok);
    return ok;
  };

  if (command == "top" && args.size() == 2) {
    const auto shot = shotArg(1);
    if (!shot)
      return 1;
    std::printf("%d\n", shot->top);
    return 0;
  }
  if (command == "hint" && args.size() == 4) {
    const auto before = shotArg(1), after = shotArg(2);
    int fromX = 0;
    if (!before || !after || !intArg(3, fromX))
      return 1;
    return hint(*before, *after, fromX);
  }
  if (command == "grid" && args.size() == 3) {
    const auto startup = shotArg(1), shot = shotArg(2);
    return startup && shot ? grid(*startup, *shot) : 1;
  }
  if (command == "band" && args.size() == 4) {
    const auto shot = shotArg(1);
    int x = 0, y = 0;
    if (!shot || !intArg(2, x) || !intArg(3, y) || x < 0 || y < 0 || x >= shot->width() || y >= shot->height())
      return 1;
    return band(*shot, x, y);
  }
  if (command == "span" && args.size() == 4) {
    const auto shot = shotArg(1);
    int y = 0;
    const QColor colour = QColor::fromString(args[3]);
    if (!shot || !intArg(2, y) || y < 0 || y >= shot->height() || !colour.isValid())
      return 1;
    return span(*shot, y, colour.rgb() | 0xff000000u);
  }
  if (command == "box" && args.size() == 3) {
    const QColor colour = QColor::fromString(args[2]);
    return colour.isValid() ? box(args[1], colour.rgb() | 0xff000000u) : usage();
  }
  if (command == "page" && args.size() == 5)
    return page(args[1], args[2].toLatin1(), args[3].toLatin1(), args[4]);
  return usage();
}
