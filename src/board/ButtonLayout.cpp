// Placement of the text buttons and of the reserved row of a page.
#include "board/ButtonLayout.h"

#include <algorithm>

namespace buttonlayout {

namespace {

void placeGrid(const Input& in, Result& out, int top) {
  const int columns = in.gridColumns;
  const int cell = gridCellWidth(in.tabControlWidth, columns);
  int rowHeight = 0;
  for (const QSize& s : in.texts)
    rowHeight = std::max(rowHeight, s.height());
  out.texts.resize(in.texts.size());
  for (size_t i = 0; i < in.texts.size(); ++i) {
    const int row = int(i) / columns;
    const int column = int(i) % columns;
    out.texts[i] = QPoint(5 + column * (cell + 5), top + row * (rowHeight + 5));
  }
  if (!in.texts.empty())
    out.textsBottom = out.texts.back().y() + rowHeight + 5;
}

// Buttons flowing in rows from (5, top); returns the bottom of the last row with its margin,
// or top - 5 without buttons.
int flow(const std::vector<QSize>& sizes, int W, int top, std::vector<QPoint>& places) {
  places.resize(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (i == 0) {
      places[i] = QPoint(5, top);
      continue;
    }
    const QPoint p = places[i - 1];
    const QSize ps = sizes[i - 1];
    const int b = sizes[i].width();
    if (p.x() + ps.width() + 5 + b + 10 < W - 1)
      places[i] = QPoint(p.x() + ps.width() + 5, p.y());
    else
      places[i] = QPoint(5, p.y() + ps.height() + 5);
  }
  if (sizes.empty())
    return top - 5;
  return places.back().y() + sizes.back().height() + 5;
}

void placeTexts(const Input& in, Result& out) {
  // The leading row never holds texts: they start on the line under it.
  const int top = flow(in.leading, in.tabControlWidth, 5, out.leading) + 5;
  if (in.gridColumns > 0) {
    placeGrid(in, out, top);
    return;
  }
  const int bottom = flow(in.texts, in.tabControlWidth, top, out.texts);
  if (!in.texts.empty())
    out.textsBottom = bottom;
}

void placeReserved(const Input& in, Result& out) {
  const int W = in.tabControlWidth;
  const int n = int(in.reserved.size());
  out.reserved.assign(in.reserved.size(), QPoint());
  if (n == 0)
    return;
  // The chain from the right: each button left of the one after it in the list.
  std::vector<int> chainLeft(n);
  chainLeft[n - 1] = W - in.reserved[n - 1].width() - 30;
  for (int i = n - 2; i >= 0; --i)
    chainLeft[i] = chainLeft[i + 1] - in.reserved[i].width() - 5;

  // Under the leading row too when there are no texts.
  const int B =
      std::max(out.textsBottom,
               out.leading.empty() ? 0 : out.leading.back().y() + in.leading.back().height() + 5);
  // Scrolled: right under the texts. At the top: the page bottom, but never over texts that
  // reach below it.
  int rowTop =
      in.scrollPosition > 0 ? B : std::max(B, in.pageHeight - 5 - in.reserved[n - 1].height());
  int shift = 0;
  for (;;) {
    int Y = rowTop;
    int X = -100; // right edge of the open wrapped row; 0 or less: none open
    bool restart = false;
    for (int i = n - 1; i >= 0 && !restart; --i) {
      const QSize s = in.reserved[i];
      if (chainLeft[i] > 0) {
        out.reserved[i] = QPoint(chainLeft[i], Y);
      } else if (X > 0) {
        out.reserved[i] = QPoint(X - s.width(), Y);
        X = X - s.width() - 5;
      } else {
        const int step = std::max(0, s.height()) + 5;
        Y -= step;
        if (Y < B) {
          // The wrapped rows would cover the texts (or leave the content): the whole block
          // moves down by the growing shift and is placed again from the start. The shift
          // grows on every restart, so the walk ends.
          shift += step;
          rowTop = Y + shift;
          restart = true;
        } else {
          X = W - 30;
          out.reserved[i] = QPoint(X - s.width(), Y);
          X = X - s.width() - 5;
        }
      }
    }
    if (!restart)
      break;
  }
}

// Buttons in list order start a new row where their top changes; the reserved buttons start
// their own. The wrapped reserved rows hold consecutive buttons, so a row is a range.
void collectRows(Result& out) {
  auto collect = [&out](const std::vector<QPoint>& places, int offset) {
    for (size_t i = 0; i < places.size(); ++i) {
      if (i == 0 || places[i].y() != places[i - 1].y())
        out.rows.push_back(Row{offset + int(i), 0});
      ++out.rows.back().count;
    }
  };
  collect(out.leading, 0);
  collect(out.texts, int(out.leading.size()));
  collect(out.reserved, int(out.leading.size() + out.texts.size()));
}

} // namespace

Result arrange(const Input& in) {
  Result out;
  placeTexts(in, out);
  placeReserved(in, out);
  collectRows(out);
  return out;
}

int gridCellWidth(int tabControlWidth, int columns) {
  if (columns <= 0)
    return std::max(1, tabControlWidth);
  return std::max(1, (tabControlWidth - 35 - 5 * (columns - 1)) / columns);
}

int gridCuttingWidth(int tabControlWidth, int columns) {
  return gridCellWidth(tabControlWidth, columns) + 36;
}

double fittedFontScale(int cellWidth, const std::vector<int>& captionWidths, double maxScale) {
  const int room = cellWidth - 16;
  double scale = maxScale;
  for (int w : captionWidths)
    if (w > 0 && w <= room)
      scale = std::min(scale, double(room) / w);
  return std::clamp(scale * 0.9, 1.0, std::max(1.0, maxScale));
}

} // namespace buttonlayout
