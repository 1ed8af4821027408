// SVG pictures drawn with Qt's SVG library, built as the module orivox_svg: whatever size a
// picture claims, it is drawn at the size shown.
#include "platform/Modules.h"
#include "platform/SvgPictures.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

class QtSvgDrawer : public SvgDrawer {
public:
  bool isValid(const QByteArray& bytes) override { return QSvgRenderer(bytes).isValid(); }

  QImage draw(const QByteArray& bytes, const QSize& box) override {
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid())
      return {};
    QSizeF source = renderer.viewBoxF().size();
    if (source.isEmpty())
      source = renderer.defaultSize();
    const QSize size = svgpictures::fitted(source, box);
    if (size.isEmpty())
      return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
      return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
  }
};

} // namespace

extern "C" ORIVOX_MODULE_EXPORT SvgDrawer* orivox_svg_drawer() {
  static QtSvgDrawer drawer;
  return &drawer;
}
