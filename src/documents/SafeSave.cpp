// Safe replacement of a file with a backup of the previous version.
#include "documents/SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// The bytes sit in a buffer until flushed: a full disk shows only then, and a commit after a
// failed flush would still replace the old file with a short one.
bool prepare(QSaveFile& file, const QByteArray& bytes) {
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool readAll(const QString& path, QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  bytes = file.readAll();
  return file.error() == QFileDevice::NoError;
}
} // namespace

QString backupPathFor(const QString& path) {
  return path + QStringLiteral(".bak");
}

bool saveKeepingBackup(const QString& path, const QByteArray& bytes) {
  // The file already holds these bytes: rewriting it would make its backup a copy of it, and
  // the only earlier version would be gone.
  QByteArray previous;
  const bool existed = QFileInfo(path).isFile();
  if (existed && readAll(path, previous) && previous == bytes)
    return true;

  QSaveFile file(path);
  if (!prepare(file, bytes)) {
    file.cancelWriting();
    return false;
  }
  if (!existed)
    return file.commit();

  // The previous file is kept before it is replaced; when that cannot be done, neither is the
  // save: the carer is told and may save under another name.
  const QString bakPath = backupPathFor(path);
  if (!readAll(path, previous)) {
    file.cancelWriting();
    return false;
  }
  QByteArray olderBackup;
  const bool hadBackup = QFileInfo(bakPath).isFile() && readAll(bakPath, olderBackup);
  QSaveFile backup(bakPath);
  if (!prepare(backup, previous) || !backup.commit()) {
    backup.cancelWriting();
    file.cancelWriting();
    return false;
  }
  if (file.commit())
    return true;
  // The board file stayed as it was: so does its backup.
  if (hadBackup) {
    QSaveFile restore(bakPath);
    if (prepare(restore, olderBackup))
      restore.commit();
  } else {
    QFile::remove(bakPath);
  }
  return false;
}
