// Board colours are 32-bit values in the layout $00BBGGRR (red in the low byte); values
// $80000000 + n name system colour n. This converts them to and from Qt colours.
#pragma once

#include <QColor>
#include <cstdint>

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);

// The colour that a board colour shows on screen (system colours through the palette).
QColor toQColor(TColor c);
// The board colour of a screen colour (always a plain RGB value).
TColor fromQColor(const QColor& c);
