// Vector pictures (SVG), drawn by the module orivox_svg so that Qt's SVG library is loaded with
// the first vector picture, not at start. Without the module no SVG is valid or drawn: such a
// picture shows as missing, as a broken one does.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>

#include <algorithm>

namespace svgpictures {
// Whether the bytes parse as an SVG document.
bool isValid(const QByteArray& bytes);
// The picture fitted into `box` with its proportions kept (those of its view box, else of its
// announced size); null when the bytes are no SVG.
QImage draw(const QByteArray& bytes, const QSize& box);
// A source size fitted into `box` with its proportions kept, never below one pixel; empty when
// either is. Inline: the module and the core both draw with it.
inline QSize fitted(const QSizeF& source, const QSize& box) {
  if (source.isEmpty() || box.isEmpty())
    return {};
  QSizeF s = source;
  s.scale(QSizeF(box), Qt::KeepAspectRatio);
  return QSize(std::max(1, qRound(s.width())), std::max(1, qRound(s.height())));
}
} // namespace svgpictures

class SvgDrawer {
public:
  virtual ~SvgDrawer() = default;
  virtual bool isValid(const QByteArray& bytes) = 0;
  virtual QImage draw(const QByteArray& bytes, const QSize& box) = 0;
};

extern "C" {
// The one drawer of the module, which lives as long as the process.
using SvgDrawerAccessor = SvgDrawer*();
}
inline constexpr char kSvgModule[] = "orivox_svg";
inline constexpr char kSvgDrawerAccessor[] = "orivox_svg_drawer";
