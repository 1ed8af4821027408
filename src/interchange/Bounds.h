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

// Pictures as they come: a photo from a telephone before it is made smaller, the announced
// pixels a decoder is let loose on in all (some hundreds of photos), and how many bytes are
// inflated or decoded from the entries of a package in all. Past one of them, the picture is
// left out and counted, the rest of the board imported.
constexpr qint64 kMaxPictureSourceBytes = qint64(6) << 20;
constexpr qint64 kMaxPictureSourceBytesInAll = 2 * boardfile::kMaxPictureBytesInAll;
// A picture is kept at no more than twice the largest size a button shows it.
constexpr int kStoredPictureSide = 512;
// Every picture a board may hold at twice that size: what Orivox exports comes back.
constexpr qint64 kMaxPicturePixelsInAll =
    2 * qint64(boardfile::kMaxPictures) * kStoredPictureSide * kStoredPictureSide;
// A licence names a type, an author and two or three addresses: a few hundred bytes.
constexpr qint64 kMaxLicenceBytes = 1024;
// An entry of a board's images without its data: id, type, size, path, the licence (escaped,
// and again as Orivox's own field when it is not plain JSON).
constexpr qint64 kPictureEntryBytes = 2 * kMaxLicenceBytes + 512;
// Every picture a board holds, in base64 in data addresses.
constexpr qint64 kMaxEmbeddedPictureBytes = qint64(88) << 20;
static_assert(kMaxEmbeddedPictureBytes >=
                  (boardfile::kMaxPictureBytesInAll + 2) / 3 * 4 + boardfile::kMaxPictures * 64,
              "room for every picture of a board in base64 with its data address's prefix");

constexpr qint64 kMaxJsonBytes = qint64(128) << 20;
// A lone board holds its pictures in its JSON, each listed once; a package lists a picture in
// every board that shows it (a text shows one at most) and holds its bytes as files.
static_assert(kMaxJsonBytes >= boardfile::kMaxBoardTextBytes + kWrapping +
                                   kMaxEmbeddedPictureBytes +
                                   boardfile::kMaxPictures * kPictureEntryBytes,
              "a lone board with all its pictures");
static_assert(kMaxJsonBytes >= boardfile::kMaxBoardTextBytes + kWrapping +
                                   boardfile::kMaxTexts * kPictureEntryBytes,
              "a package's boards listing a picture for every text");
// A package's boards together hold no more than one board: the same bound, for all of them.
constexpr qint64 kMaxPackageJsonBytes = kMaxJsonBytes;
// The parsed document costs far more than its bytes for many small values (each object or
// array some hundreds of bytes): an Orivox board has about a dozen values and one object per
// text, and a grid row per four texts at most (exports are at least four columns wide); a
// picture's entry is two objects (itself and its licence) of a dozen values, once per text at
// most.
constexpr int kMinExportColumns = 4;
constexpr qint64 kMaxJsonElements = 32 * qint64(boardfile::kMaxTexts);
constexpr qint64 kMaxJsonGroups = 3 * qint64(boardfile::kMaxTexts) +
                                  boardfile::kMaxTexts / kMinExportColumns +
                                  3 * boardfile::kMaxTabs + 1024;
// Boards nest objects five or six deep; anything far deeper is not a board.
constexpr int kMaxJsonDepth = 32;
// A label is one text; a longer string is a picture's data: a source picture in base64, with
// room for a vector picture percent-encoded.
constexpr qint64 kMaxJsonString = qint64(9) << 20;
static_assert(kMaxJsonString >= (kMaxPictureSourceBytes + 2) / 3 * 4 + 1024 &&
                  kMaxJsonString >= 3 * boardfile::kMaxPictureBytes + 1024,
              "a picture's data address fits in a string");

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
