// Decoding under bounds: a bitmap's announced size is checked before a pixel is decoded and Qt's
// readers work under an allocation limit; a vector picture is drawn at the size shown.
#include "platform/PictureDecoder.h"

#include "platform/SvgPictures.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>

namespace {

constexpr int kAllocationLimitMiB = 256; // kMaxSourcePixels at four bytes a pixel

bool looksLikeSvg(const QByteArray& bytes, const QString& contentType) {
  if (contentType == QLatin1String("image/svg+xml"))
    return true;
  const QByteArray head = bytes.left(4096);
  return head.contains("<svg");
}

// The bitmap whole, if its announced size is within the bounds.
QImage readBitmap(const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAllocationLimit(kAllocationLimitMiB);
  reader.setAutoTransform(true);
  const QSize announced = reader.size();
  if (!announced.isValid() || announced.isEmpty() ||
      qint64(announced.width()) * announced.height() > picturedecoder::kMaxSourcePixels)
    return {};
  QImage image;
  if (!reader.read(&image))
    return {};
  return image;
}

} // namespace

namespace picturedecoder {

QImage decode(const QByteArray& bytes, const QString& contentType, const QSize& size) {
  if (bytes.isEmpty() || bytes.size() > kMaxSourceBytes || size.isEmpty() ||
      size.width() > kMaxDrawnSide || size.height() > kMaxDrawnSide)
    return {};
  if (looksLikeSvg(bytes, contentType))
    return svgpictures::draw(bytes, size);
  const QImage image = readBitmap(bytes);
  if (image.isNull())
    return {};
  return image.scaled(svgpictures::fitted(image.size(), size), Qt::IgnoreAspectRatio,
                      Qt::SmoothTransformation);
}

std::optional<Prepared> prepareForStorage(const QByteArray& bytes, int maxSide, qint64 maxBytes) {
  if (bytes.isEmpty() || bytes.size() > kMaxSourceBytes || maxSide <= 0)
    return std::nullopt;
  if (looksLikeSvg(bytes, QString())) {
    if (bytes.size() > maxBytes || !svgpictures::isValid(bytes))
      return std::nullopt;
    return Prepared{bytes, QStringLiteral("image/svg+xml")};
  }
  QImage image = readBitmap(bytes);
  if (image.isNull())
    return std::nullopt;
  // A picture without transparency is stored without an alpha channel: a quarter smaller.
  if (!image.hasAlphaChannel())
    image = image.convertToFormat(QImage::Format_RGB32);
  // Smaller and smaller until it fits, down to a size still worth showing.
  for (int side = std::min(maxSide, std::max(image.width(), image.height())); side > 0;
       side = side > 16 ? side * 3 / 4 : 0) {
    const QImage scaled =
        image.width() <= side && image.height() <= side
            ? image
            : image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    if (!scaled.save(&out, "PNG"))
      return std::nullopt;
    if (png.size() <= maxBytes)
      return Prepared{png, QStringLiteral("image/png")};
  }
  return std::nullopt;
}

} // namespace picturedecoder
