// Where the buttons of a page go: a leading row first when there is one (the suggested words),
// the texts flow in rows from the top left under it (or fill a grid of equal cells), the seven
// reserved buttons form a right-aligned row under them or at the page bottom, wrapping into rows
// above on a narrow page. Pure arithmetic in the scroll area's content coordinates.
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
  // Grid: the texts fill rows of this many equal cells sharing the page width (each text
  // button is then gridCellWidth wide); 0: the texts flow.
  int gridColumns = 0;
  // Buttons above the texts, flowing in rows of their own (none: the texts start at the top).
  std::vector<QSize> leading;
};

// Consecutive buttons on one line of the page, counted over the leading buttons, the texts,
// then the reserved buttons; the three never share a row.
struct Row {
  int first = 0;
  int count = 0;
  bool operator==(const Row& o) const { return first == o.first && count == o.count; }
};

struct Result {
  std::vector<QPoint> leading;
  std::vector<QPoint> texts;
  std::vector<QPoint> reserved;
  int textsBottom = 0;   // B: below the last text row (5 px margin), 0 without texts
  std::vector<Row> rows; // top to bottom, as laid out
};

Result arrange(const Input& in);

// Width of a grid cell: the columns and their 5 px gaps fill the page from 5 px on its left to
// 30 px from its right, where the reserved row ends. Never below 1.
int gridCellWidth(int tabControlWidth, int columns);
// The tab control width for which the cutting rule (a piece fits while its width + 16 is less
// than the width - 35) keeps every piece's button within one cell.
int gridCuttingWidth(int tabControlWidth, int columns);
// How much a font may grow for the page's texts to fill their cells: the largest factor at
// which the widest text that fits a cell at its own size still fits, less a margin for the
// rounding of sizes, between 1 and maxScale. Texts too wide for a cell at their own size are
// cut anyway and do not hold the font back.
double fittedFontScale(int cellWidth, const std::vector<int>& captionWidths, double maxScale);

} // namespace buttonlayout
