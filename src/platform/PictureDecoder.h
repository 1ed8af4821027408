// Pictures drawn from bytes that come from files and boards nobody checked: decoded under
// bounds so that a hostile picture is shown as missing, never stops the program.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace picturedecoder {
// The largest side a picture is ever drawn at.
constexpr int kMaxDrawnSide = 4096;
// The most pixels a bitmap may announce: a camera's photo fits; a picture that claims more is a
// decompression bomb or nothing a board needs.
constexpr qint64 kMaxSourcePixels = qint64(64) << 20;
// The most bytes handed to a decoder at all.
constexpr qint64 kMaxSourceBytes = qint64(32) << 20;

// The picture fitted into `size` with its proportions kept, a vector picture drawn at that size;
// null when the bytes are not a picture, are broken, or pass a bound.
QImage decode(const QByteArray& bytes, const QString& contentType, const QSize& size);

struct Prepared {
  QByteArray data;
  QString contentType; // "image/png" or "image/svg+xml"
};
// A picture chosen by the carer made ready for storing: an SVG kept as it is, a bitmap scaled
// down to `maxSide` on its longer side (never up) and stored as PNG, smaller still if needed to
// stay within `maxBytes`. None when the bytes are no picture or cannot fit.
std::optional<Prepared> prepareForStorage(const QByteArray& bytes, int maxSide, qint64 maxBytes);
} // namespace picturedecoder
