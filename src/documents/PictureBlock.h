// The pictures block of a board file: the texts' pictures after the final block, each picture
// stored once, in lines of ASCII that older versions never read.
#pragma once

#include "documents/BoardFile.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <optional>

namespace pictureblock {

// "#OrivoxPictures" and a version; the block runs to the settings block's marker or the end.
bool isMarker(const QByteArray& line);
// The longest line the block may hold: a picture at its bound with a long licence.
qsizetype maxLineBytes();

// The distinct pictures of a board, each given the 1-based id it is stored under, in the order
// the texts first show them.
class PictureSet {
public:
  int idOf(const BoardPicture& picture);
  const QList<BoardPicture>& pictures() const { return FPictures; }
  qint64 bytes() const { return FBytes; }

private:
  QList<BoardPicture> FPictures;
  // Pictures read from a file or copied between texts share their bytes: a lookup by the
  // buffer's address avoids hashing a large picture once per text that shows it.
  QHash<const char*, QList<int>> FByBuffer;
  QHash<QByteArray, QList<int>> FByData;
  qint64 FBytes = 0;
};

// Reads the block's lines after its marker into the tabs' pictures.
class Reader {
public:
  explicit Reader(QList<BoardTab>& tabs) : FTabs(tabs) {}
  struct Failure {
    bool tooLarge = false;
    BoardBound bound = BoardBound::Board;
  };
  // A line of a kind this version does not know is passed over; a picture line that cannot be
  // read, or one past a bound, fails.
  std::optional<Failure> take(const QByteArray& line);

private:
  QList<BoardTab>& FTabs;
  QHash<qint64, BoardPicture> FById;
  qint64 FBytes = 0;
  std::optional<Failure> picture(const QByteArray& fields);
  std::optional<Failure> text(const QByteArray& fields);
};

// The block with its line ends; nothing when no text has a picture.
QByteArray write(const QList<BoardTab>& tabs);

} // namespace pictureblock
