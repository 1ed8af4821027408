// Safe replacement of a file with a backup of the previous version, and why a save failed.
#include "documents/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

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

// Why `path` could not take `size` bytes, looked for once the write failed: the usual causes in
// the carer's words, otherwise the system's own.
QString whyNotWritten(const QString& path, qint64 size, const QString& systemError) {
  const QFileInfo info(path);
  const QFileInfo folder(info.absolutePath());
  if (info.isDir())
    return QStringLiteral("c'est le nom d'un dossier");
  if (folder.exists() && !folder.isDir())
    return QStringLiteral("%1 n'est pas un dossier")
        .arg(QDir::toNativeSeparators(folder.filePath()));
  if (!folder.isDir())
    return QStringLiteral("le dossier %1 n'existe pas")
        .arg(QDir::toNativeSeparators(folder.filePath()));
  if (!folder.isWritable())
    return QStringLiteral("le dossier %1 est protégé en écriture")
        .arg(QDir::toNativeSeparators(folder.filePath()));
  const QStorageInfo disk(folder.filePath());
  if (disk.isValid() && disk.isReadOnly())
    return QStringLiteral("le disque est protégé en écriture");
  if (disk.isValid() && disk.bytesAvailable() < size)
    return QStringLiteral("le disque est plein");
  return QStringLiteral("le système a refusé l'écriture (%1)").arg(systemError);
}

FileSaveResult failed(const QString& path, qint64 size, const QSaveFile& file) {
  return FileSaveResult::failure(whyNotWritten(path, size, file.errorString()));
}
} // namespace

QString backupPathFor(const QString& path) {
  return path + QStringLiteral(".bak");
}

FileSaveResult saveWithBackup(const QString& path, const QByteArray& bytes) {
  // The file already holds these bytes: rewriting it would make its backup a copy of it, and
  // the only earlier version would be gone.
  QByteArray previous;
  const bool existed = QFileInfo(path).isFile();
  if (existed && readAll(path, previous) && previous == bytes)
    return FileSaveResult::success();

  QSaveFile file(path);
  if (!prepare(file, bytes)) {
    const FileSaveResult why = failed(path, bytes.size(), file);
    file.cancelWriting();
    return why;
  }
  if (!existed)
    return file.commit() ? FileSaveResult::success() : failed(path, bytes.size(), file);

  // The previous file is kept before it is replaced; when that cannot be done, neither is the
  // save: the carer is told and may save under another name.
  const QString bakPath = backupPathFor(path);
  if (!readAll(path, previous)) {
    file.cancelWriting();
    return FileSaveResult::failure(QStringLiteral("le fichier en place ne peut pas être relu pour "
                                                  "en garder une copie"));
  }
  QByteArray olderBackup;
  const bool hadBackup = QFileInfo(bakPath).isFile() && readAll(bakPath, olderBackup);
  QSaveFile backup(bakPath);
  if (!prepare(backup, previous) || !backup.commit()) {
    const QString why = whyNotWritten(bakPath, previous.size(), backup.errorString());
    backup.cancelWriting();
    file.cancelWriting();
    return FileSaveResult::failure(
        QStringLiteral("la copie de sauvegarde %1 ne peut pas être faite : %2")
            .arg(QDir::toNativeSeparators(bakPath), why));
  }
  if (file.commit())
    return FileSaveResult::success();
  const FileSaveResult why = failed(path, bytes.size(), file);
  // The board file stayed as it was: so does its backup.
  if (hadBackup) {
    QSaveFile restore(bakPath);
    if (prepare(restore, olderBackup))
      restore.commit();
  } else {
    QFile::remove(bakPath);
  }
  return why;
}

bool saveKeepingBackup(const QString& path, const QByteArray& bytes) {
  return saveWithBackup(path, bytes).ok();
}
