// Where the buttons of a page go: the texts flow in rows from the top left, the seven reserved
// buttons form a right-aligned row under them or at the page bottom, wrapping into rows above
// on a narrow page. Pure arithmetic in the scroll area's content coordinates.
#pragma once

#include <QPoint>
#include <QSize>
#include <vector>

namespace buttonlayout {

struct Input {
  int tabControlWidth = 0;     // W
  int pageHeight = 0;          // H, the visible height of the scroll area
  int scrollPosition = 0;      // P
  std::vector<QSize> texts;    // text buttons, in board order
  std::vector<QSize> reserved; // the reserved buttons in list order (the last one is the
                               // rightmost of the chain)
};

struct Result {
  std::vector<QPoint> texts;
  std::vector<QPoint> reserved;
  int textsBottom = 0; // B: below the last text row (5 px margin), 0 without texts
};

Result arrange(const Input& in);

} // namespace buttonlayout
