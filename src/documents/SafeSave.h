// Writing a board file so that nothing is lost: the new bytes replace the file whole or not at
// all, and the file they replace is kept beside it as "<name>.bak" (one generation).
#pragma once

#include <QByteArray>
#include <QString>

QString backupPathFor(const QString& path);

// What a save came to: nothing to say, or why it failed, in words the carer can act on.
class FileSaveResult {
public:
  static FileSaveResult success() { return {}; }
  static FileSaveResult failure(const QString& why) { return FileSaveResult(why); }
  bool ok() const { return FError.isEmpty(); }
  const QString& errorString() const { return FError; }

private:
  FileSaveResult() = default;
  explicit FileSaveResult(const QString& why) : FError(why) {}
  QString FError;
};

// `bytes` become the file. On failure the file and its backup are as they were; bytes equal to
// the file's leave both untouched, so the backup stays the last version that differed.
FileSaveResult saveWithBackup(const QString& path, const QByteArray& bytes);
// The same, true once `bytes` are the file.
bool saveKeepingBackup(const QString& path, const QByteArray& bytes);
