// The board files under tests/data/boards, read whole; a missing one stops the test run.
// ORIVOX_TEST_DATA is given to each test executable by tests/CMakeLists.txt.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray boardFixture(const QString& name) {
  QFile f(QStringLiteral(ORIVOX_TEST_DATA "/boards/") + name);
  if (!f.open(QIODevice::ReadOnly))
    qFatal("missing fixture %s", qPrintable(name));
  return f.readAll();
}
