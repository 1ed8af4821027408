// Pictures read into the board: the bytes sniffed, checked against the type they claim, decoded
// once under the bounds, kept as the board file stores them.
#include "interchange/PictureImport.h"

#include "interchange/BoardImporter.h"
#include "interchange/OrivoxFields.h"
#include "interchange/ZipPackage.h"

#include "documents/BoardFile.h"
#include "platform/PictureDecoder.h"
#include "platform/SvgPictures.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>
#include <QJsonDocument>

namespace interchange {

namespace {

const QString kPng = QStringLiteral("image/png");
const QString kSvg = QStringLiteral("image/svg+xml");

// The decoders' own limit, as the drawing code sets it: the most pixels a picture may announce
// at four bytes each.
constexpr int kAllocationLimitMiB = int((picturedecoder::kMaxSourcePixels * 4) >> 20);

bool isSvgText(const QByteArray& bytes) {
  qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  while (i < bytes.size() && QChar::isSpace(uchar(bytes[i])))
    ++i;
  return i < bytes.size() && bytes[i] == '<' && bytes.left(64 * 1024).contains("<svg");
}

// A vector picture reaching for anything outside itself (a file of the machine, an address)
// would be fetched each time it is drawn, from wherever the board travels to: refused.
bool selfContained(const QByteArray& svg) {
  for (qsizetype at = svg.indexOf("href"); at >= 0; at = svg.indexOf("href", at + 4)) {
    qsizetype i = at + 4;
    while (i < svg.size() && QChar::isSpace(uchar(svg[i])))
      ++i;
    if (i >= svg.size() || svg[i] != '=')
      continue;
    ++i;
    while (i < svg.size() && QChar::isSpace(uchar(svg[i])))
      ++i;
    if (i >= svg.size() || (svg[i] != '"' && svg[i] != '\''))
      return false;
    const QByteArray value = svg.mid(i + 1, 5).trimmed();
    if (!value.startsWith('#') && !value.startsWith("data:"))
      return false;
  }
  return true;
}

} // namespace

PictureKind pictureKindOf(const QByteArray& bytes) {
  if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
    return PictureKind::Png;
  if (bytes.startsWith("\xFF\xD8\xFF"))
    return PictureKind::Jpeg;
  if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
    return PictureKind::Gif;
  if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
    return PictureKind::Webp;
  if (bytes.startsWith("BM"))
    return PictureKind::Bmp;
  if (isSvgText(bytes))
    return PictureKind::Svg;
  return PictureKind::Unknown;
}

PictureKind pictureKindNamed(const QString& contentType) {
  const QString t = contentType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
  if (t == QLatin1String("image/png"))
    return PictureKind::Png;
  if (t == QLatin1String("image/svg+xml") || t == QLatin1String("image/svg"))
    return PictureKind::Svg;
  if (t == QLatin1String("image/jpeg") || t == QLatin1String("image/jpg") ||
      t == QLatin1String("image/pjpeg"))
    return PictureKind::Jpeg;
  if (t == QLatin1String("image/gif"))
    return PictureKind::Gif;
  if (t == QLatin1String("image/webp"))
    return PictureKind::Webp;
  if (t == QLatin1String("image/bmp") || t == QLatin1String("image/x-ms-bmp"))
    return PictureKind::Bmp;
  return PictureKind::Unknown;
}

std::optional<BoardPicture> keptPicture(const QByteArray& bytes, const QString& contentType,
                                        qint64& pixelsLeft) {
  if (bytes.isEmpty() || bytes.size() > bounds::kMaxPictureSourceBytes)
    return std::nullopt;
  const PictureKind kind = pictureKindOf(bytes);
  if (kind == PictureKind::Unknown)
    return std::nullopt;
  if (!contentType.isEmpty()) {
    if (!contentType.startsWith(QLatin1String("image/"), Qt::CaseInsensitive))
      return std::nullopt;
    const PictureKind named = pictureKindNamed(contentType);
    if (named != PictureKind::Unknown && named != kind)
      return std::nullopt;
  }
  if (kind == PictureKind::Svg) {
    if (bytes.size() > boardfile::kMaxPictureBytes || !selfContained(bytes) ||
        !svgpictures::isValid(bytes))
      return std::nullopt;
    return BoardPicture{bytes, kSvg, {}};
  }
  // The announced size comes from the header alone: a bomb is refused before it is decoded.
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAllocationLimit(kAllocationLimitMiB);
  const QSize announced = reader.size();
  if (!announced.isValid() || announced.isEmpty())
    return std::nullopt;
  const qint64 pixels = qint64(announced.width()) * announced.height();
  if (pixels > picturedecoder::kMaxSourcePixels || pixels > pixelsLeft)
    return std::nullopt;
  pixelsLeft -= pixels;
  if (kind == PictureKind::Png && bytes.size() <= boardfile::kMaxPictureBytes) {
    // Kept byte for byte, once it has been seen to decode whole.
    QImage image;
    if (!reader.read(&image) || image.size() != announced)
      return std::nullopt;
    return BoardPicture{bytes, kPng, {}};
  }
  const auto prepared = picturedecoder::prepareForStorage(bytes, bounds::kStoredPictureSide,
                                                          boardfile::kMaxPictureBytes);
  if (!prepared || prepared->contentType != kPng)
    return std::nullopt;
  return BoardPicture{prepared->data, kPng, {}};
}

std::optional<DataAddress> dataAddressBytes(const QString& address) {
  if (!address.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
    return std::nullopt;
  const qsizetype comma = address.indexOf(QLatin1Char(','));
  if (comma < 0)
    return std::nullopt;
  const QStringList header = address.mid(5, comma - 5).split(QLatin1Char(';'));
  const bool base64 = header.size() > 1 && header.last().trimmed().compare(
                                               QLatin1String("base64"), Qt::CaseInsensitive) == 0;
  // Base64 has no '%': undoing the percent-encoding first serves both forms.
  QByteArray payload = QByteArray::fromPercentEncoding(address.mid(comma + 1).toUtf8());
  if (base64) {
    auto decoded = QByteArray::fromBase64Encoding(payload, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
      return std::nullopt;
    payload = std::move(decoded.decoded);
  }
  return DataAddress{header.first().trimmed(), payload};
}

std::optional<QString> licenceOf(const QJsonObject& image) {
  const QJsonValue license = image.value(QLatin1String("license"));
  const QJsonValue own = image.value(orivoxfields::kLicence);
  QString text;
  if (own.isString()) {
    // Orivox's own text only while it still says what "license" says: a licence changed by
    // another program is taken as it now is.
    const QJsonDocument parsed = QJsonDocument::fromJson(own.toString().toUtf8());
    const bool agrees = license.isObject()
                            ? parsed.isObject() && parsed.object() == license.toObject()
                            : !parsed.isObject() && !license.isObject();
    if (agrees && own.toString().size() <= bounds::kMaxLicenceBytes)
      text = own.toString();
  }
  if (text.isEmpty() && license.isObject())
    text = QString::fromUtf8(QJsonDocument(license.toObject()).toJson(QJsonDocument::Compact));
  if (text.toUtf8().size() > bounds::kMaxLicenceBytes)
    return std::nullopt;
  return text;
}

void PictureImport::startBoard(const QJsonArray& images) {
  FImages.clear();
  FOfBoard.clear();
  for (const QJsonValue& v : images) {
    const QJsonObject image = v.toObject();
    const QString key = boardimport::idOf(image.value(QLatin1String("id")));
    if (!key.isEmpty() && !FImages.contains(key))
      FImages.insert(key, image);
  }
}

BoardPicture PictureImport::pictureFor(const QString& imageId) {
  if (imageId.isEmpty())
    return {};
  const auto known = FOfBoard.constFind(imageId);
  if (known != FOfBoard.constEnd())
    return *known;
  const auto image = FImages.constFind(imageId);
  const BoardPicture picture = image == FImages.constEnd() ? BoardPicture() : fromSource(*image);
  FOfBoard.insert(imageId, picture);
  return picture;
}

BoardPicture PictureImport::fromSource(const QJsonObject& image) {
  const std::optional<QString> licence = licenceOf(image);
  if (!licence)
    return {};
  QByteArray key;
  BoardPicture picture = decoded(image, key);
  if (picture.isNull())
    return {};
  picture.licence = *licence;
  // Counted once for each source and licence the board will hold.
  const QByteArray kept = key + '\0' + licence->toUtf8();
  if (!FKept.contains(kept)) {
    if (FKept.size() >= boardfile::kMaxPictures ||
        FKeptBytes + picture.data.size() > boardfile::kMaxPictureBytesInAll)
      return {};
    FKept.insert(kept, true);
    FKeptBytes += picture.data.size();
  }
  return picture;
}

// The picture of an image's source without its licence, decoded the first time the source is
// named; `key` names the source.
BoardPicture PictureImport::decoded(const QJsonObject& image, QByteArray& key) {
  const QJsonValue data = image.value(QLatin1String("data"));
  const QJsonValue path = image.value(QLatin1String("path"));
  QString contentType = image.value(QLatin1String("content_type")).toString();
  QString inside;
  QString address;
  if (data.isString()) {
    address = data.toString();
    key = 'd' + QCryptographicHash::hash(
                    QByteArrayView(reinterpret_cast<const char*>(address.constData()),
                                   address.size() * qsizetype(sizeof(QChar))),
                    QCryptographicHash::Sha256);
  } else if (path.isString() && FReadFile) {
    inside = packagePath(path.toString());
    if (inside.isEmpty())
      return {};
    key = 'p' + inside.toUtf8();
  } else {
    return {}; // by url or symbol only: nothing to keep
  }
  const auto cached = FBySource.constFind(key);
  if (cached != FBySource.constEnd())
    return *cached;
  std::optional<QByteArray> bytes;
  if (!address.isEmpty()) {
    std::optional<DataAddress> d = dataAddressBytes(address);
    if (d) {
      if (contentType.isEmpty())
        contentType = d->contentType;
      bytes = std::move(d->bytes);
    }
  } else if (FSourceBytesLeft > 0) {
    qint64 spent = 0;
    bytes = FReadFile(inside, qMin(bounds::kMaxPictureSourceBytes, FSourceBytesLeft), spent);
    FSourceBytesLeft -= spent;
  }
  const std::optional<BoardPicture> made =
      bytes ? keptPicture(*bytes, contentType, FPixelsLeft) : std::nullopt;
  const BoardPicture picture = made.value_or(BoardPicture());
  FBySource.insert(key, picture);
  return picture;
}

} // namespace interchange
