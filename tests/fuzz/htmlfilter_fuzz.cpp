// Meanings as a sender might write them, through the view's filter and then
// Qt's text engine, as the meanings view takes them: the copy must hold only
// the kept formatting, nested no deeper than the limit, read the same when
// filtered again, and lay out without the engine asking for any file. A
// slow input fails through libFuzzer's time limit per input.
#include "fuzzcheck.h"
#include "platform/htmlfilter.h"
#include "platform/textfile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The engine asks here for every style sheet and image a page names.
class Document : public QTextDocument {
protected:
  QVariant loadResource(int type, const QUrl& name) override {
    std::fprintf(stderr, "the copy asked for a resource: type %d, %s\n", type, qPrintable(name.toString()));
    std::abort();
  }
};

bool isLetter(QChar c) { return (c >= u'a' && c <= u'z'); }

QChar charAt(const QString& text, qsizetype i) { return i < text.size() ? text.at(i) : QChar(); }

// Reads the copy's markup strictly, on its own terms: each "<" starts a tag
// of a kept name, with only quoted values of the kept attributes; closing
// tags match; the nest never passes the limit.
void checkShape(const QString& copy) {
  static const QStringList kept{"a", "b", "big",   "br",     "em",  "font", "i", "li", "ol",
                                "p", "s", "small", "strong", "sub", "sup",  "u", "ul"};
  static const QStringList attributes{"color", "size", "align", "name", "href"};
  QStringList open;
  for (qsizetype at = copy.indexOf(u'<'); at >= 0; at = copy.indexOf(u'<', at + 1)) {
    const bool closing = charAt(copy, at + 1) == u'/';
    qsizetype pos = at + (closing ? 2 : 1);
    const qsizetype nameStart = pos;
    while (isLetter(charAt(copy, pos)))
      ++pos;
    const QString name = copy.mid(nameStart, pos - nameStart);
    FUZZ_CHECK(kept.contains(name));
    if (closing) {
      FUZZ_CHECK(charAt(copy, pos) == u'>');
      FUZZ_CHECK(!open.isEmpty() && open.last() == name);
      open.removeLast();
      continue;
    }
    while (charAt(copy, pos) == u' ') {
      const qsizetype keyStart = ++pos;
      while (isLetter(charAt(copy, pos)))
        ++pos;
      FUZZ_CHECK(attributes.contains(copy.mid(keyStart, pos - keyStart)));
      FUZZ_CHECK(charAt(copy, pos) == u'=' && charAt(copy, pos + 1) == u'"');
      const qsizetype end = copy.indexOf(u'"', pos + 2);
      FUZZ_CHECK(end > 0);
      const QString value = copy.mid(pos + 2, end - pos - 2);
      FUZZ_CHECK(!value.contains(u'<') && !value.contains(u'>') && !value.contains(u'(') && !value.contains(u'/'));
      FUZZ_CHECK(!value.contains(u'&') && !value.contains(u'\'') && !value.contains(u' '));
      pos = end + 1;
    }
    FUZZ_CHECK(charAt(copy, pos) == u'>');
    if (name != QLatin1String("br"))
      open << name;
    FUZZ_CHECK(open.size() <= platform::kMaxHtmlDepth);
  }
  FUZZ_CHECK(open.isEmpty());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // QTextDocument needs the fonts of a GUI application; it lives as long as
  // the process.
  static QGuiApplication* app = new QGuiApplication(*argc, *argv);
  (void)app;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const QString page = platform::decodeText(QByteArrayView(bytes, qsizetype(size)));
  const QString copy = platform::harmlessHtml(page);
  checkShape(copy);
  FUZZ_CHECK(platform::harmlessHtml(copy) == copy);

  Document document;
  document.setHtml(copy);
  document.setTextWidth(400);
  const QSizeF laidOut = document.size();
  FUZZ_CHECK(laidOut.width() >= 0 && laidOut.height() >= 0);
  QImage shown(200, 200, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&shown);
  document.drawContents(&painter, QRectF(0, 0, 200, 200));
  return 0;
}
