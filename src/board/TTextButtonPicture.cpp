// How a button whose text carries a picture draws itself: the picture filling the cell but for
// its label (above, below or hidden) and a margin for the highlight frame, and the highlight
// kept visible over the picture.
#include "board/ButtonPicture.h"
#include "board/TOnglet.h"

#include <QHideEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kMinLabelPoints = 6;
constexpr int kLabelFlags = Qt::AlignHCenter | Qt::TextWordWrap;

// The label in `font`, made smaller until it fits `box` wrapped at word ends; the smallest
// size is kept even when it does not fit, so a label is never cut into pieces across buttons.
QFont fittedLabelFont(QFont font, const QString& label, const QRect& box) {
  for (int size = font.pointSize(); size > kMinLabelPoints; --size) {
    font.setPointSize(size);
    const QRect need = QFontMetrics(font).boundingRect(box, kLabelFlags, label);
    if (need.width() <= box.width() && need.height() <= box.height())
      return font;
  }
  font.setPointSize(std::min(font.pointSize(), kMinLabelPoints));
  return font;
}
} // namespace

void TTextButton::fitLabel(PictureLabel where) {
  const QString key = FCaption + QLatin1Char('\n') + font().toString() + QLatin1Char('\n') +
                      QString::number(int(where));
  if (FLabelFitFor == size() && FLabelFitKey == key)
    return;
  FLabelFitFor = size();
  FLabelFitKey = key;
  FLabelHeight = 0;
  if (where == PictureLabel::Hidden)
    return;
  // At most two lines of the board's font (and never more than half the cell, which split()
  // sees to); the label then takes only the lines it needs and the picture all the rest.
  const QRect most =
      buttonpicture::split(rect(), PictureLabel::Above, 2 * fontMetrics().height()).label;
  if (most.isEmpty())
    return;
  FLabelFont = fittedLabelFont(font(), FCaption, most);
  const QRect need = QFontMetrics(FLabelFont).boundingRect(most, kLabelFlags, FCaption);
  FLabelHeight = std::min(need.height(), most.height());
}

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
  const PictureLabel where =
      FPage && FPage->host() ? FPage->host()->pictureLabel() : PictureLabel::Above;
  fitLabel(where);
  const buttonpicture::Boxes boxes = buttonpicture::split(rect(), where, FLabelHeight);
  if (!boxes.label.isEmpty()) {
    p.setFont(FLabelFont);
    p.setPen(ink);
    p.drawText(boxes.label, Qt::AlignCenter | Qt::TextWordWrap, FCaption);
  }
  const QRect inside = boxes.picture;
  if (!inside.isEmpty()) {
    const qreal ratio = devicePixelRatioF();
    const QSize box = (QSizeF(inside.size()) * ratio).toSize();
    if (FPixmapBox != box) {
      FPixmapBox = box;
      FPixmap = buttonpicture::render(FPicture, box);
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
      const QSize shown = (QSizeF(FPixmap.size()) / FPixmap.devicePixelRatio()).toSize();
      QRect target(QPoint(0, 0), shown);
      target.moveCenter(inside.center());
      p.drawPixmap(target, FPixmap);
    }
  }
  if (FLit && !FFramed) {
    // The text-colour highlight would only change the label (or nothing, label hidden): the
    // picture wears a thick frame of the highlight's colour instead, in the margin kept free.
    const int w = buttonpicture::kFrameWidth;
    p.setPen(QPen(toQColor(FBoardFont.color), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0));
  }
}

void TTextButton::hideEvent(QHideEvent* e) {
  // Out of view (scrolled away, or its page not the one shown): the decoded picture goes, so
  // that the memory pictures take follows what is on screen, not the size of the board.
  FPixmap = QPixmap();
  FPixmapBox = QSize();
  QPushButton::hideEvent(e);
}
