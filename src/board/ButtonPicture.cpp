// Decoding a text's picture for its button, bounded: Qt's image readers under an allocation
// limit, SVG through the SVG renderer at the size shown.
#include "board/ButtonPicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

namespace buttonpicture {

namespace {

bool isSvg(const BoardPicture& picture) {
  if (picture.contentType == QLatin1String("image/svg+xml"))
    return true;
  // A picture whose type was not given: an SVG starts with markup, not a binary signature.
  const QByteArray head = picture.data.left(256).trimmed();
  return picture.contentType.isEmpty() && (head.startsWith("<?xml") || head.startsWith("<svg"));
}

QSize fitted(QSize size, const QSize& box) {
  if (size.isEmpty() || box.isEmpty())
    return {};
  size.scale(box, Qt::KeepAspectRatio);
  return size.expandedTo(QSize(1, 1));
}

QPixmap renderSvg(const QByteArray& data, const QSize& box) {
  if (data.size() > kMaxSvgBytes)
    return {};
  QSvgRenderer renderer(data);
  if (!renderer.isValid())
    return {};
  QSize natural = renderer.defaultSize();
  if (natural.isEmpty())
    natural = renderer.viewBoxF().size().toSize();
  const QSize size = fitted(natural.isEmpty() ? box : natural, box);
  if (size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide)
    return {};
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(QPointF(0, 0), size));
  painter.end();
  return QPixmap::fromImage(image);
}

QPixmap renderRaster(const QByteArray& data, const QSize& box) {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAllocationLimit(kAllocationLimitMiB);
  // The header says how large the picture claims to be: a bomb is refused before decoding.
  const QSize natural = reader.size();
  if (!natural.isValid() || natural.width() > 4 * kMaxSide || natural.height() > 4 * kMaxSide)
    return {};
  const QSize size = fitted(natural, box);
  if (size.isEmpty())
    return {};
  QImage image;
  if (!reader.read(&image) || image.isNull())
    return {};
  return QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

QPixmap render(const BoardPicture& picture, const QSize& box) {
  if (picture.isNull() || box.isEmpty())
    return {};
  return isSvg(picture) ? renderSvg(picture.data, box) : renderRaster(picture.data, box);
}

} // namespace buttonpicture
