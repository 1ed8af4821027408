// Small pictures made in the tests, and hostile ones: a header announcing any size, broken
// bytes, vector pictures of any length. Nothing large is kept in the repository.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QtEndian>

namespace picturefixtures {

inline QByteArray encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

inline QByteArray png(QSize size, QColor colour = Qt::red) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return encoded(image, "PNG");
}

inline QByteArray jpeg(QSize size, QColor colour = Qt::blue) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return encoded(image, "JPEG");
}

// A vector picture of about `bytes` bytes (a comment fills it), told apart by `tag`.
inline QByteArray svg(const QByteArray& tag = "0", qsizetype bytes = 0) {
  QByteArray s = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 10"><!-- )" + tag + ' ';
  const QByteArray end = R"( --><rect width="10" height="10" fill="green"/></svg>)";
  if (bytes > s.size() + end.size())
    s += QByteArray(bytes - s.size() - end.size(), 'x');
  return s + end;
}

inline quint32 crc32(const QByteArray& bytes) {
  quint32 crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= quint8(c);
    for (int k = 0; k < 8; ++k)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline QByteArray chunk(const QByteArray& type, const QByteArray& data) {
  QByteArray length(4, '\0');
  qToBigEndian<quint32>(quint32(data.size()), length.data());
  QByteArray crc(4, '\0');
  qToBigEndian<quint32>(crc32(type + data), crc.data());
  return length + type + data + crc;
}

// A PNG whose header announces `width` x `height` (one bit a pixel) and whose pixels are a few
// bytes of nothing: what a decompression bomb looks like before it is decoded.
inline QByteArray pngAnnouncing(quint32 width, quint32 height) {
  QByteArray header(13, '\0');
  qToBigEndian<quint32>(width, header.data());
  qToBigEndian<quint32>(height, header.data() + 4);
  header[8] = 1; // bit depth
  header[9] = 0; // greyscale
  return QByteArray("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) +
         chunk("IDAT", QByteArray("\x78\x9C\x03\x00", 4));
}

// A real PNG with its pixel data damaged (the chunk's check no longer matches).
inline QByteArray brokenPng() {
  QImage image(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      image.setPixel(x, y, qRgb(x * 8, y * 8, (x * y) & 0xFF));
  QByteArray bytes = encoded(image, "PNG");
  const qsizetype idat = bytes.indexOf("IDAT");
  for (qsizetype i = idat + 8; i < idat + 40 && i < bytes.size(); ++i)
    bytes[i] = char(bytes[i] ^ 0x5A);
  return bytes;
}

} // namespace picturefixtures
