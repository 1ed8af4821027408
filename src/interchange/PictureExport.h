// The texts' pictures written as Open Board Format images: each distinct picture given one id
// and made into its entry once, listed in every board that shows it, its bytes written once.
#pragma once

#include "interchange/Result.h"

#include "documents/PictureBlock.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QSet>

namespace interchange {

class PictureExport {
public:
  // In a package a picture is a file of it; in a lone board, a data address.
  explicit PictureExport(bool inPackage) : FInPackage(inPackage) {}

  // Refused when a picture of the board could not come back through an import.
  static Status check(const BoardData& board);

  // The image id of a text's picture, now listed in the board being written; empty when the
  // text has none.
  QString idFor(const BoardTab& tab, qsizetype text);
  // The images of the board written since the last call; the next board starts empty.
  QJsonArray takeBoardImages();
  // In a package: each picture's file, and the manifest's map of ids to paths.
  QList<QPair<QString, QByteArray>> files() const;
  QJsonObject manifestPaths() const;

private:
  bool FInPackage;
  pictureblock::PictureSet FSet;
  QList<QJsonObject> FEntries; // by the set's ids, less one
  QList<int> FBoard;           // of the board being written, in order shown
  QSet<int> FInBoard;

  static QString idOf(int index);
  QString pathOf(int index) const;
  QJsonObject entryFor(const BoardPicture& picture, int index) const;
};

} // namespace interchange
