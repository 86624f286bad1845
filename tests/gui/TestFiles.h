// Whole files written and read back by the window's file tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace abrivo::testing {

inline bool writeFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace abrivo::testing
