// Whole files as tests look at them: the bytes of a file, a file written in
// one go, and the entries of a folder.
#pragma once

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <string>

namespace lotwise::test {

// Bytes as std::string, so that a failure prints them as readable text;
// "<missing>" when the file cannot be read.
inline std::string bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

inline void put(const QString& path, QByteArrayView bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes.data(), bytes.size()), bytes.size());
}

// Every entry, hidden ones included, in name order: what a write left behind.
inline QStringList entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

}  // namespace lotwise::test
