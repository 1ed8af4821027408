// The cell of a button with a picture shared between label and picture; decoding goes through
// the bounded picture decoder, so that a hostile picture is shown as missing.
#include "board/ButtonPicture.h"

#include "platform/PictureDecoder.h"

#include <algorithm>

namespace buttonpicture {

Boxes split(const QRect& cell, PictureLabel where, int labelHeight) {
  const QRect inside = cell.adjusted(kInset, kInset, -kInset, -kInset);
  if (inside.isEmpty())
    return {};
  if (where == PictureLabel::Hidden || labelHeight <= 0)
    return {QRect(), inside};
  Boxes b;
  b.label = inside;
  b.label.setHeight(std::min(labelHeight, inside.height() / 2));
  b.picture = inside;
  if (where == PictureLabel::Below) {
    b.label.moveBottom(inside.bottom());
    b.picture.setBottom(b.label.top() - 1 - kGap);
  } else {
    b.picture.setTop(b.label.bottom() + 1 + kGap);
  }
  return b;
}

QPixmap render(const BoardPicture& picture, const QSize& box) {
  if (picture.isNull() || box.isEmpty())
    return {};
  return QPixmap::fromImage(picturedecoder::decode(picture.data, picture.contentType, box));
}

} // namespace buttonpicture
