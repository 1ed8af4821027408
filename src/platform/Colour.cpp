// Conversions between board colours and Qt colours.
#include "platform/Colour.h"

#include <QGuiApplication>
#include <QPalette>

QColor toQColor(TColor c) {
  const auto u = static_cast<std::uint32_t>(c);
  if ((u & 0xFF000000u) == 0x80000000u) {
    const QPalette pal = QGuiApplication::palette();
    switch (u & 0xFFu) {
    case 5: // clWindow
    case 24: // clInfoBk
      return pal.color(QPalette::Base);
    case 8: // clWindowText
    case 7: // clMenuText
    case 18: // clBtnText
    case 23: // clInfoText
      return pal.color(QPalette::Text);
    case 13: // clHighlight
      return pal.color(QPalette::Highlight);
    case 14: // clHighlightText
      return pal.color(QPalette::HighlightedText);
    case 16: // clBtnShadow
    case 21:
      return pal.color(QPalette::Dark);
    case 17: // clGrayText
      return pal.color(QPalette::PlaceholderText);
    case 20: // clBtnHighlight
    case 22:
      return pal.color(QPalette::Light);
    default: // clBtnFace and the other window-frame colours
      return pal.color(QPalette::Window);
    }
  }
  if (u == 0x1FFFFFFFu || u == 0x20000000u) // clNone, clDefault
    return QGuiApplication::palette().color(QPalette::Base);
  return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

TColor fromQColor(const QColor& c) {
  return static_cast<TColor>(std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) |
                             (std::uint32_t(c.blue()) << 16));
}
