// Writing a board file so that nothing is lost: the new bytes replace the file whole or not at
// all, and the file they replace is kept beside it as "<name>.bak" (one generation).
#pragma once

#include <QByteArray>
#include <QString>

QString backupPathFor(const QString& path);
// True once `bytes` are the file. On failure the file and its backup are as they were; bytes
// equal to the file's leave both untouched, so the backup stays the last version that differed.
bool saveKeepingBackup(const QString& path, const QByteArray& bytes);
