// How a button with a picture shares its cell: the label's box above or below (or none), the
// picture's box taking the rest, and the picture decoded for that box at the size shown.
#pragma once

#include "documents/BoardSettings.h"
#include "platform/BoardPicture.h"

#include <QPixmap>
#include <QRect>

namespace buttonpicture {

// Between the button's edge and what it shows: room for the highlight frame, which must stay
// visible all round a picture that fills its cell.
constexpr int kInset = 7;
// The width of the frame a lit picture wears when the highlight is the text colour.
constexpr int kFrameWidth = 5;
// Between the label and the picture.
constexpr int kGap = 2;

struct Boxes {
  QRect label;   // empty when the label is hidden
  QRect picture; // may be empty in a cell too small to show anything
};

// The boxes in a cell (the button's rect) for a label `labelHeight` pixels high: the label
// never takes more than half of what is inside the frame, the picture gets all the rest.
Boxes split(const QRect& cell, PictureLabel where, int labelHeight);

// The picture fitted inside `box` (device pixels) keeping its proportions, vectors drawn at
// that size; null when it cannot be decoded within the decoder's bounds (shown as missing).
QPixmap render(const BoardPicture& picture, const QSize& box);

} // namespace buttonpicture
