// A measure of the page's pieces for model tests: every text 6 px a character, whatever its font.
#pragma once

#include "board/PageModel.h"

#include <vector>

class SixPerChar : public PieceMeasure {
public:
  int captionWidth(int, const QString& caption) override { return 6 * int(caption.size()); }
  std::vector<int> captionPrefixWidths(int, const QString& caption) override {
    std::vector<int> widths;
    for (int i = 0; i <= caption.size(); ++i)
      widths.push_back(6 * i);
    return widths;
  }
};
