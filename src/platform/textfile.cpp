#include "textfile.h"

#include "error.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {
namespace {

constexpr const char* kCodePage = "windows-1252";
int gWritesUntilFault = 0;

Error openError(const QString& path, const QFile& file) {
  const QFileInfo info(path);
  if (!info.absoluteDir().exists())
    return Error(PathNotFound, QStringLiteral("Path not found"));
  if (file.error() == QFileDevice::OpenError && !info.exists())
    return Error(FileNotFound, QStringLiteral("File not found"));
  if (file.error() == QFileDevice::PermissionsError || (info.exists() && info.isDir()))
    return Error(PathFileAccessError, QStringLiteral("Path/File access error"));
  return Error(PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(file.errorString()));
}

Error writeError(const QFile& file) {
  if (file.error() == QFileDevice::ResourceError)
    return Error(DiskFull, QStringLiteral("Disk full"));
  return Error(PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(file.errorString()));
}

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

QString readTextFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw openError(path, file);
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw Error(PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(file.errorString()));
  return decodeText(bytes);
}

TextWriter::TextWriter(const QString& path) : m_file(path) {
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw openError(path, m_file);
}

TextWriter::~TextWriter() { m_file.close(); }

void TextWriter::write(QStringView text) { writeBytes(encodeText(text)); }

void TextWriter::writeLine(QStringView text) { writeBytes(encodeText(text) + "\r\n"); }

void TextWriter::writeBytes(const QByteArray& bytes) {
  if (gWritesUntilFault > 0 && --gWritesUntilFault == 0)
    throw Error(DiskFull, QStringLiteral("Disk full"));
  if (!m_file.isOpen())
    throw Error(PathFileAccessError, QStringLiteral("Path/File access error: the file is closed"));
  if (m_file.write(bytes) != bytes.size())
    throw writeError(m_file);
}

void TextWriter::close() {
  if (!m_file.isOpen())
    return;
  const bool flushed = m_file.flush() && m_file.error() == QFileDevice::NoError;
  const Error failure = writeError(m_file);
  m_file.close();
  if (!flushed)
    throw failure;
}

void copyFile(const QString& source, const QString& target) {
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly))
    throw openError(source, in);
  const QByteArray bytes = in.readAll();
  if (in.error() != QFileDevice::NoError)
    throw Error(PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(in.errorString()));
  in.close();

  QFile out(target);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw openError(target, out);
  if (out.write(bytes) != bytes.size() || !out.flush())
    throw writeError(out);
  out.close();
}

namespace testing {
void failWriteAfter(int n) { gWritesUntilFault = n; }
}  // namespace testing

}  // namespace platform
