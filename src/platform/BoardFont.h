// A board font: the six values a board stores per font (name, size in points, colour, bold,
// italic, underline). Qt fonts carry no colour, so the board keeps its own value type.
#pragma once

#include "platform/Colour.h"

#include <QFont>
#include <QString>

struct BoardFont {
  QString name = QStringLiteral("Arial");
  int size = 8;
  TColor color = clWindowText;
  bool bold = false;
  bool italic = false;
  bool underline = false;

  // The Qt font to draw with; a size outside 1..100 is drawn at the nearest size in range.
  QFont toQFont() const;
  bool operator==(const BoardFont& o) const {
    return name == o.name && size == o.size && color == o.color && bold == o.bold &&
           italic == o.italic && underline == o.underline;
  }
  bool operator!=(const BoardFont& o) const { return !(*this == o); }
};
