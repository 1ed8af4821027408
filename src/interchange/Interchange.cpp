// Board files by their extension: reading and writing go through the one table of formats.
#include "interchange/Bounds.h"
#include "interchange/Formats.h"

#include "documents/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace interchange {

namespace {

const FileFormat* fileFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  for (const FileFormat& f : kFileFormats)
    if (suffix == QLatin1String(f.suffix))
      return &f;
  return nullptr;
}

QString shown(const QString& path) {
  return QDir::toNativeSeparators(path);
}

ImportResult refused(const QString& message) {
  ImportResult r;
  r.errorMessage = QStringLiteral("Import impossible : ") + message;
  return r;
}

} // namespace

Format formatOf(const QString& path) {
  const FileFormat* f = fileFormatOf(path);
  return f ? f->format : Format::Unknown;
}

ImportResult importFile(const QString& path) {
  if (!QFileInfo(path).isFile())
    return refused(QStringLiteral("le fichier « %1 » n'existe pas.").arg(shown(path)));
  const FileFormat* f = fileFormatOf(path);
  if (!f)
    return refused(notABoardFile(shown(path)));
  return f->import(path);
}

ImportResult importOrdFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return refused(QStringLiteral("le fichier « %1 » ne peut pas être lu.").arg(shown(path)));
  BoardReadResult read = boardfile::read(file);
  if (read.status != BoardReadStatus::Ok)
    return refused(
        QStringLiteral("le fichier « %1 » n'est pas un tableau Orivox lisible.").arg(shown(path)));
  ImportResult r;
  r.ok = true;
  r.board = std::move(read.data);
  return r;
}

ExportResult exportFile(const BoardData& board, const QString& path) {
  const FileFormat* f = fileFormatOf(path);
  if (!f)
    return {false,
            QStringLiteral("Format inconnu pour « %1 » : choisissez un nom en .ord, .obf ou .obz.")
                .arg(shown(path))};
  return f->write(board, path);
}

ExportResult exportOrd(const BoardData& board, const QString& path) {
  if (!saveKeepingBackup(path, boardfile::write(board)))
    return {false, QStringLiteral("Impossible d'écrire le fichier « %1 ».").arg(shown(path))};
  return {true, {}};
}

} // namespace interchange
