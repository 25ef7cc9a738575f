// A fresh program folder per test: every file of the program resolves in a
// temporary directory that disappears with the fixture.
#pragma once

#include "platform/apppath.h"
#include "support/files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lotwise::test {

class AppDir {
public:
  AppDir() { platform::setAppPath(m_dir.path()); }
  // The program folder is a subfolder of that name, for names that need one.
  explicit AppDir(const QString& name) : m_path(m_dir.filePath(name)) {
    QDir().mkdir(m_path);
    platform::setAppPath(m_path);
  }
  ~AppDir() { platform::setAppPath(QString()); }
  AppDir(const AppDir&) = delete;
  AppDir& operator=(const AppDir&) = delete;

  QString path() const { return m_path; }
  QString file(const QString& name) const { return m_path + QLatin1Char('/') + name; }

  void write(const QString& name, const QByteArray& bytes) const { put(file(name), bytes); }
  QByteArray read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  bool exists(const QString& name) const { return QFile::exists(file(name)); }

private:
  QTemporaryDir m_dir;
  QString m_path = m_dir.path();
};

}  // namespace lotwise::test
