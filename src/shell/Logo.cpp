// A speech bubble holding a row of keys, one of them lit: a board spoken through one switch.
#include "shell/Logo.h"

#include <QPainter>
#include <QPainterPath>

QPixmap orivoxLogo(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 100.0;
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(6 * s, 10 * s, 88 * s, 62 * s), 16 * s, 16 * s);
  QPainterPath tail;
  tail.moveTo(24 * s, 68 * s);
  tail.lineTo(18 * s, 92 * s);
  tail.lineTo(44 * s, 70 * s);
  tail.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0x80));
  p.drawPath(bubble.united(tail));
  const QColor keys[3] = {QColor(255, 255, 255), QColor(255, 220, 0), QColor(255, 255, 255)};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(keys[i]);
    p.drawRoundedRect(QRectF((16 + i * 24) * s, 28 * s, 18 * s, 26 * s), 4 * s, 4 * s);
  }
  p.setBrush(QColor(0x80, 0, 0));
  p.drawEllipse(QPointF(49 * s, 41 * s), 4 * s, 4 * s);
  return pm;
}
