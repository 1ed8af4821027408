// Qt font of a board font.
#include "platform/BoardFont.h"

#include <algorithm>

QFont BoardFont::toQFont() const {
  QFont f(name);
  f.setPointSize(std::clamp(size, 1, 100));
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  return f;
}
