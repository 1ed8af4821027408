// Reaching the SVG drawer of the module orivox_svg.
#include "platform/SvgPictures.h"

#include "platform/Modules.h"

namespace svgpictures {

namespace {
SvgDrawer* drawer() {
  auto* get = modules::resolveAs<SvgDrawerAccessor>(kSvgModule, kSvgDrawerAccessor);
  return get ? get() : nullptr;
}
} // namespace

bool isValid(const QByteArray& bytes) {
  SvgDrawer* d = drawer();
  return d && d->isValid(bytes);
}

QImage draw(const QByteArray& bytes, const QSize& box) {
  SvgDrawer* d = drawer();
  return d ? d->draw(bytes, box) : QImage();
}

} // namespace svgpictures
