// Text files of the program: Windows-1252 on disk, lines ended by CR LF.
// Files written on other machines by the earlier program read the same way.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace platform {

QString decodeText(QByteArrayView bytes);
// A character outside the code page is written as "?".
QByteArray encodeText(QStringView text);

// The whole content of a text file, decoded. Throws platform::Error when the
// file cannot be opened or read.
QString readTextFile(const QString& path);

// A text file created anew (an existing one is truncated). Every operation
// throws platform::Error on failure; the destructor closes quietly.
class TextWriter {
public:
  explicit TextWriter(const QString& path);
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  void write(QStringView text);
  void writeLine(QStringView text);  // text, then CR LF
  // Everything written is on disk afterwards.
  void close();

private:
  void writeBytes(const QByteArray& bytes);
  QFile m_file;
};

// Replaces target by a byte-for-byte copy of source.
void copyFile(const QString& source, const QString& target);

namespace testing {
// Makes the n-th write from now on (1 = the next one) fail as a full disk,
// once. 0 switches the fault off.
void failWriteAfter(int n);
}  // namespace testing

}  // namespace platform
