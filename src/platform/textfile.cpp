#include "textfile.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {
namespace {

constexpr const char* kCodePage = "windows-1252";

}  // namespace

QString decodeText(QByteArrayView bytes) {
  QStringDecoder decoder(kCodePage);
  return decoder.decode(bytes);
}

QByteArray encodeText(QStringView text) {
  QStringEncoder encoder(kCodePage);
  QByteArray bytes = encoder.encode(text);
  if (!encoder.hasError())
    return bytes;
  // The converter writes an unmappable character as the SUB control (0x1A),
  // one byte per code point; those bytes become "?".
  qsizetype b = 0;
  for (qsizetype i = 0; i < text.size() && b < bytes.size(); ++i, ++b) {
    char32_t cp = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    if (bytes[b] == '\x1a' && cp != 0x1a)
      bytes[b] = '?';
  }
  return bytes;
}

}  // namespace platform
