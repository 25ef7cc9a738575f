// A fresh program folder per test: every file of the program resolves in a
// temporary directory that disappears with the fixture.
#pragma once

#include "platform/apppath.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lotwise::test {

class AppDir {
public:
  AppDir() { platform::setAppPath(m_dir.path()); }
  ~AppDir() { platform::setAppPath(QString()); }
  AppDir(const AppDir&) = delete;
  AppDir& operator=(const AppDir&) = delete;

  QString path() const { return m_dir.path(); }
  QString file(const QString& name) const { return m_dir.filePath(name); }

  void write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QByteArray read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  bool exists(const QString& name) const { return QFile::exists(file(name)); }

private:
  QTemporaryDir m_dir;
};

}  // namespace lotwise::test
