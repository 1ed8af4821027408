// How a button whose text carries a picture draws itself: the picture fitted to the cell with
// the label above, below or hidden, and the highlight kept visible over the picture.
#include "board/ButtonPicture.h"
#include "board/TOnglet.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kMargin = 4;
constexpr int kMinLabelPoints = 6;

// The label in `font`, made smaller until it fits `box` wrapped at word ends; the smallest
// size is kept even when it does not fit, so a label is never cut into pieces across buttons.
QFont fittedLabelFont(QFont font, const QString& label, const QRect& box) {
  const int flags = Qt::AlignHCenter | Qt::TextWordWrap;
  for (int size = font.pointSize(); size > kMinLabelPoints; --size) {
    font.setPointSize(size);
    const QRect need = QFontMetrics(font).boundingRect(box, flags, label);
    if (need.width() <= box.width() && need.height() <= box.height())
      return font;
  }
  font.setPointSize(std::min(font.pointSize(), kMinLabelPoints));
  return font;
}
} // namespace

void TTextButton::paintWithPicture() {
  QStylePainter p(this);
  const QColor pageColour = FPage ? toQColor(FPage->GetBackgroundColor()) : QColor(Qt::white);
  QColor ink = palette().color(QPalette::ButtonText);
  if (FFramed) {
    // The frame highlight: inverted as on a word, the picture on the highlight's colour.
    const QColor frame = pageColour.lightness() > 127 ? QColor(Qt::black) : QColor(Qt::white);
    p.fillRect(rect(), frame);
    p.fillRect(rect().adjusted(4, 4, -4, -4), toQColor(FBoardFont.color));
    ink = pageColour;
  } else {
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButtonBevel, option);
  }
  QRect inside = rect().adjusted(kMargin + 2, kMargin + 2, -kMargin - 2, -kMargin - 2);
  const PictureLabel where =
      FPage && FPage->host() ? FPage->host()->pictureLabel() : PictureLabel::Above;
  if (where != PictureLabel::Hidden && !inside.isEmpty()) {
    // The label takes what it needs, at most two lines of its font and half the cell.
    const int lines = std::min(2 * QFontMetrics(font()).height(), inside.height() / 2);
    QRect labelBox = inside;
    labelBox.setHeight(lines);
    if (where == PictureLabel::Below)
      labelBox.moveBottom(inside.bottom());
    const QFont labelFont = fittedLabelFont(font(), FCaption, labelBox);
    p.setFont(labelFont);
    p.setPen(ink);
    p.drawText(labelBox, Qt::AlignCenter | Qt::TextWordWrap, FCaption);
    if (where == PictureLabel::Below)
      inside.setBottom(labelBox.top() - 2);
    else
      inside.setTop(labelBox.bottom() + 2);
  }
  if (inside.isEmpty())
    return;
  if (FPixmapBox != inside.size()) {
    FPixmapBox = inside.size();
    const qreal ratio = devicePixelRatioF();
    FPixmap = buttonpicture::render(FPicture, inside.size() * ratio);
    FPixmap.setDevicePixelRatio(ratio);
  }
  if (FPixmap.isNull()) {
    // A picture that cannot be shown: a crossed box where it would be, the label unchanged.
    const int side = std::min(inside.width(), inside.height());
    QRect mark(0, 0, side, side);
    mark.moveCenter(inside.center());
    p.setPen(QPen(ink, 1, Qt::DashLine));
    p.drawRect(mark.adjusted(0, 0, -1, -1));
    p.drawLine(mark.topLeft(), mark.bottomRight());
    p.drawLine(mark.topRight(), mark.bottomLeft());
  } else {
    const QSize shown = FPixmap.size() / FPixmap.devicePixelRatio();
    QRect target(QPoint(0, 0), shown);
    target.moveCenter(inside.center());
    p.drawPixmap(target, FPixmap);
  }
  if (FLit && !FFramed) {
    // The text-colour highlight would only change the label (or nothing, label hidden): the
    // picture wears a thick frame of the highlight's colour instead.
    p.setPen(QPen(toQColor(FBoardFont.color), kMargin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(kMargin / 2, kMargin / 2, -kMargin / 2, -kMargin / 2));
  }
}
