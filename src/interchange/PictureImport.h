// The pictures of Open Board Format boards made into the board's pictures: read from a data
// address or a file of the package, checked against what they claim to be, decoded once under
// bounds, kept as PNG or SVG. A picture that cannot be kept is left out, never the board.
#pragma once

#include "interchange/Bounds.h"

#include "platform/BoardPicture.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

namespace interchange {

// What a picture's bytes are, by their first bytes: the content type a file gives is checked
// against it.
enum class PictureKind { Unknown, Png, Svg, Jpeg, Gif, Webp, Bmp };
PictureKind pictureKindOf(const QByteArray& bytes);
// The kind a content type names; Unknown for one this program does not name ("image/x-icon").
PictureKind pictureKindNamed(const QString& contentType);

// The picture made from `bytes`, as the board keeps it: PNG and SVG as they are, other bitmaps
// (and a PNG past the bytes of a kept picture) as PNG no larger than the side kept. The pixels
// a bitmap announces come off `pixelsLeft` before it is decoded. None for bytes that are no
// picture, a broken or hostile one, one of another kind than `contentType` names, or one past
// a bound.
std::optional<BoardPicture> keptPicture(const QByteArray& bytes, const QString& contentType,
                                        qint64& pixelsLeft);

// The bytes of a data address ("data:image/png;base64,..." or percent-encoded), with the type
// it names; none when it is not one or its data is broken.
struct DataAddress {
  QString contentType;
  QByteArray bytes;
};
std::optional<DataAddress> dataAddressBytes(const QString& address);

// The licence as the board keeps it: Orivox's own text when it carried one, else the license
// object's compact JSON; empty without either. None when past its bound.
std::optional<QString> licenceOf(const QJsonObject& image);

// The pictures of the boards of one import. Each source (a data address, a package's file) is
// read and decoded once however many buttons and boards name it, and the pictures kept stay
// within the board file's bounds.
class PictureImport {
public:
  // The bytes of a file of the package at most `maxBytes`, none when it is missing, broken or
  // larger; `spent` tells how many bytes the attempt may have inflated.
  using FileReader =
      std::function<std::optional<QByteArray>(const QString& path, qint64 maxBytes, qint64& spent)>;
  PictureImport() = default;
  explicit PictureImport(FileReader readFile) : FReadFile(std::move(readFile)) {}

  // The board whose buttons are read next: its images, by their ids.
  void startBoard(const QJsonArray& images);
  // The picture the button naming `imageId` shows; a null one when there is none to keep.
  BoardPicture pictureFor(const QString& imageId);

private:
  FileReader FReadFile;
  QHash<QString, QJsonObject> FImages;   // of the board read, by id
  QHash<QString, BoardPicture> FOfBoard; // by id, of the board read
  // The pictures made from each source (a data address by its digest, a path), null for the
  // ones that could not be; licences apart.
  QHash<QByteArray, BoardPicture> FBySource;
  // Sources and licences kept: a picture reached by two sources counts twice, so the board
  // holds no more than counted.
  QHash<QByteArray, bool> FKept;
  qint64 FKeptBytes = 0;
  qint64 FPixelsLeft = bounds::kMaxPicturePixelsInAll;
  qint64 FSourceBytesLeft = bounds::kMaxPictureSourceBytesInAll;

  BoardPicture fromSource(const QJsonObject& image);
  BoardPicture decoded(const QJsonObject& image, QByteArray& key);
};

} // namespace interchange
