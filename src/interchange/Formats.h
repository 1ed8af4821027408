// The three board files by their extension, each with its reader and writer: the one table the
// importer, the exporter and the command line go by.
#pragma once

#include "interchange/Interchange.h"

#include <QStringList>

namespace interchange {

ImportResult importOrdFile(const QString& path);
ImportResult importObfFile(const QString& path);
ImportResult importObzFile(const QString& path);
ExportResult exportOrd(const BoardData& board, const QString& path);
ExportResult exportObf(const BoardData& board, const QString& path);
ExportResult exportObz(const BoardData& board, const QString& path);

struct FileFormat {
  Format format;
  const char* suffix; // lower case, without the dot
  ImportResult (*import)(const QString& path);
  ExportResult (*write)(const BoardData& board, const QString& path);
};

inline constexpr FileFormat kFileFormats[] = {
    {Format::Ord, "ord", importOrdFile, exportOrd},
    {Format::Obf, "obf", importObfFile, exportObf},
    {Format::Obz, "obz", importObzFile, exportObz},
};

// "« name » n'est ni un .ord, ni un .obf, ni un .obz.", from the table.
inline QString notABoardFile(const QString& shownName) {
  QStringList parts;
  for (const FileFormat& f : kFileFormats)
    parts << QStringLiteral("ni un .") + QLatin1String(f.suffix);
  return QStringLiteral("« %1 » n'est %2.").arg(shownName, parts.join(QStringLiteral(", ")));
}

} // namespace interchange
