// The board's settings and pages read into the scanner's plain terms.
#include "execution/ScanShapes.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"

namespace scanshapes {

ScanSettings settingsOf(const BoardView& view) {
  const BoardSettings& b = view.settings();
  ScanSettings s;
  // The paces of the panel, which the timers took when the scan last started, unless the
  // board asks for finer ones.
  s.tabPaceMs = b.tabPaceMs > 0 ? b.tabPaceMs : view.tabSeconds() * 1000;
  s.textPaceMs = b.textPaceMs > 0 ? b.textPaceMs : view.textSeconds() * 1000;
  s.firstItemExtraMs = b.firstItemExtraMs;
  s.loopsBeforeBack = b.loopsBeforeBack;
  s.rowColumn = b.rowColumn;
  s.mode = b.accessMode;
  s.acceptanceMs = b.acceptanceMs;
  s.dwellMs = b.dwellMs;
  return s;
}

ScanTab shapeOf(const TOnglet& page) {
  ScanTab shape;
  shape.itemCount = page.itemCount();
  // The suggestions change with each choice: the next ones are reached first.
  shape.restartAfterChoice = page.suggestionCount() > 0;
  for (const buttonlayout::Row& r : page.layoutRows())
    shape.rows.push_back(ScanRow{r.first, r.count});
  return shape;
}

std::vector<ScanTab> shapesOf(const BoardView& view) {
  std::vector<ScanTab> shapes;
  for (int i = 0; i < view.pageCount(); ++i) {
    const TOnglet* page = view.pageAt(i);
    ScanTab shape = page ? shapeOf(*page) : ScanTab{};
    shape.visible = view.tabBar()->isTabVisible(i);
    shapes.push_back(shape);
  }
  return shapes;
}

} // namespace scanshapes
