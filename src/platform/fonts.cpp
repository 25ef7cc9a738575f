#include "fonts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

void installFontSubstitutions() {
  static const bool installed = [] {
    // Each family in turn: Liberation, then Google's Chrome OS faces, then
    // the URW faces of Ghostscript, all with the widths of the design's
    // fonts. Only then the general families, whose wider letters cut words.
    QFont::insertSubstitutions(kTimes, {"Liberation Serif", "Tinos", "Nimbus Roman"});
    QFont::insertSubstitutions(kCourier, {"Liberation Mono", "Cousine", "Nimbus Mono PS"});
    QFont::insertSubstitutions(kSans, {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"});
    return true;
  }();
  (void)installed;
}

QFont designFont(const char* family, qreal points, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  font.setBold(bold);
  if (qstrcmp(family, kCourier) == 0)
    font.setStyleHint(QFont::TypeWriter);  // the bit report lines up its columns
  else if (qstrcmp(family, kTimes) == 0)
    font.setStyleHint(QFont::Serif);
  else
    font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace platform
