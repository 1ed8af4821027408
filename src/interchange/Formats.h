// The three board files by their extension, each with its reader and writer: the one table the
// importer, the exporter and the command line go by.
#pragma once

#include "interchange/Interchange.h"

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

} // namespace interchange
