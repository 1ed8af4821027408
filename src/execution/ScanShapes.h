// The board as the scanner sees it: the paces and rules of its settings, and for each tab the
// items, rows and visibility the highlight steps over.
#pragma once

#include "execution/Scanner.h"

#include <vector>

class BoardView;
class TOnglet;

namespace scanshapes {
ScanSettings settingsOf(const BoardView& view);
ScanTab shapeOf(const TOnglet& page);
std::vector<ScanTab> shapesOf(const BoardView& view);
} // namespace scanshapes
