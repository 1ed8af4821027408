// Boards to and from the Open Board Format: ".obf" (one board, JSON) and ".obz" (a zip package
// of boards with a manifest). Results are plain values carrying French messages, so that the
// window and the command line show them as they are.
#pragma once

#include "documents/BoardFile.h"

#include <QByteArray>
#include <QString>

namespace interchange {

enum class Format { Unknown, Ord, Obf, Obz };
// By the file name's extension, whatever its case.
Format formatOf(const QString& path);

// What an import had to leave out because Orivox shows texts only.
struct Dropped {
  int images = 0;
  int sounds = 0;
  int actions = 0; // commands, links to web pages or to boards the package lacks
  int total() const { return images + sounds + actions; }
  // One French sentence, empty when nothing was left out.
  QString text() const;
};

struct ImportResult {
  bool ok = false;
  BoardData board;      // a new board, never one already open
  Dropped dropped;      // meaningful when ok
  QString errorMessage; // French, when !ok
};

ImportResult importObf(const QByteArray& json);
ImportResult importObz(const QByteArray& package);
// ".ord", ".obf" or ".obz", by extension.
ImportResult importFile(const QString& path);

struct ExportResult {
  bool ok = false;
  QString errorMessage; // French, when !ok
};

// The package: a root board with one button per tab, leading to a board per tab. The name is
// the root board's (the file name, usually).
QByteArray obzBytes(const BoardData& board, const QString& name);
// One board holding every text, tab after tab, each tab starting a row.
QByteArray obfBytes(const BoardData& board, const QString& name);
// Writes the file whole or not at all; the board is named after the file.
ExportResult exportObz(const BoardData& board, const QString& path);
ExportResult exportObf(const BoardData& board, const QString& path);
// ".ord" (keeping the replaced file as ".bak"), ".obf" or ".obz", by extension.
ExportResult exportFile(const BoardData& board, const QString& path);

} // namespace interchange
