// Boards to and from the Open Board Format: ".obf" (one board, JSON) and ".obz" (a zip package
// of boards with a manifest). Results are plain values carrying French messages, so that the
// window and the command line show them as they are.
#pragma once

#include "documents/BoardFile.h"
#include "interchange/Result.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace interchange {

enum class Format { Unknown, Ord, Obf, Obz };
// By the file name's extension, whatever its case.
Format formatOf(const QString& path);

// What an import had to leave out or change because an Orivox board cannot hold it.
struct Dropped {
  int images = 0;
  int sounds = 0;
  int actions = 0;    // commands, links to web pages or to boards the package lacks
  int characters = 0; // texts with a character the board file cannot store
  int reserved = 0;   // texts that would act as one of the board's commands
  // A tab whose name is one the board keeps for itself, imported under a free one: from, to.
  QList<QPair<QString, QString>> renamedTabs;
  int total() const {
    return images + sounds + actions + characters + reserved + int(renamedTabs.size());
  }
  // The French sentences, empty when nothing was left out or renamed.
  QString text() const;
};

struct ImportResult {
  bool ok = false;
  BoardData board;      // a new board, never one already open
  Dropped dropped;      // meaningful when ok
  QString errorMessage; // French, when !ok
  QString errorString() const { return errorMessage; }
};

ImportResult importObf(const QByteArray& json);
ImportResult importObz(const QByteArray& package);
// ".ord", ".obf" or ".obz", by extension: what "Importer..." and --convert read.
ImportResult importFile(const QString& path);

struct ExportResult {
  bool ok = false;
  QString errorMessage; // French, when !ok
  QString errorString() const { return errorMessage; }
};

// The package: a root board with one button per tab, leading to a board per tab. The name is
// the root board's (the file name, usually). Refused when the board is larger than an import
// accepts, so that nothing is written that cannot come back.
Result<QByteArray> obzBytes(const BoardData& board, const QString& name);
// One board holding every text, tab after tab, each tab starting a row.
Result<QByteArray> obfBytes(const BoardData& board, const QString& name);
// ".ord", ".obf" or ".obz", by extension; the file is written whole or not at all, and the file
// it replaces is kept as ".bak". An exported board is named after the file.
ExportResult exportFile(const BoardData& board, const QString& path);

} // namespace interchange
