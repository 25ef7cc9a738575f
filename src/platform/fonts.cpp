#include "fonts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

void installFontSubstitutions() {
  static const bool installed = [] {
    QFont::insertSubstitution(kTimes, "Liberation Serif");
    QFont::insertSubstitution(kCourier, "Liberation Mono");
    QFont::insertSubstitutions(kSans, {"Liberation Sans", "DejaVu Sans"});
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
