// How large an Open Board Format file may be, derived from what a board file of Orivox holds:
// every board the program saves goes out and comes back within them, and a hostile file is
// refused before it costs more than a fraction of a second and a few tens of megabytes.
#pragma once

#include "documents/BoardFile.h"

#include <QString>

namespace interchange::bounds {

// A board's texts at most, plus what the format wraps around each of its texts and tabs (ids,
// colours, the grid cell). Texts are mostly ASCII or Latin letters of two bytes in UTF-8; a
// board whose escaped texts would not fit is refused at export, never written.
constexpr qint64 kWrapping = qint64(8) << 20;
static_assert(kWrapping >= boardfile::kMaxTexts * 256 + boardfile::kMaxTabs * 3072,
              "room for the ids, colours and cells of every text and the boards of every tab");
constexpr qint64 kMaxJsonBytes = boardfile::kMaxBoardTextBytes + kWrapping;
// A package's boards together hold no more than one board: the same bound, for all of them.
constexpr qint64 kMaxPackageJsonBytes = kMaxJsonBytes;
// The parsed document costs far more than its bytes for many small values (each object or
// array some hundreds of bytes): an Orivox board has about a dozen values and one object per
// text, and a grid row per four texts at most (exports are at least four columns wide).
constexpr int kMinExportColumns = 4;
constexpr qint64 kMaxJsonElements = 16 * qint64(boardfile::kMaxTexts);
constexpr qint64 kMaxJsonGroups = boardfile::kMaxTexts + boardfile::kMaxTexts / kMinExportColumns +
                                  2 * boardfile::kMaxTabs + 1024;
// Boards nest objects five or six deep; anything far deeper is not a board.
constexpr int kMaxJsonDepth = 32;
// A label is one text; a longer string is a picture's data, never made into a QString.
constexpr qint64 kMaxJsonString = qint64(4) << 20;

// "24" for 24 MiB, as the messages say it.
inline QString megabytes(qint64 bytes) {
  return QString::number(bytes >> 20);
}

// The bound on a board's text in all, worded as boardfile::boundPassed words the others.
inline QString totalTextBound() {
  return QStringLiteral("Un tableau ne peut pas avoir plus de %1 Mo de texte en tout")
      .arg(megabytes(boardfile::kMaxBoardTextBytes));
}

// The refusal of a board past one of the board file's bounds, `bound` as boundPassed says it.
inline QString tooLarge(const QString& bound) {
  QString b = bound;
  if (!b.isEmpty())
    b[0] = b[0].toLower();
  return QStringLiteral("le tableau est trop grand pour Orivox (%1).").arg(b);
}

} // namespace interchange::bounds
