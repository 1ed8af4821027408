// A hidden measuring label: it carries a font, and a caption given to it is measured in that
// font, as an auto-sized label reports its width and height.
#pragma once

#include "platform/Services.h"

class TMeasureLabel {
public:
  explicit TMeasureLabel(ITextMeasurer* measurer) : FMeasurer(measurer) {}
  void setFont(const BoardFont& font) { FFont = font; }
  const BoardFont& font() const { return FFont; }
  int width(const QString& caption) const { return FMeasurer->textWidth(caption, FFont); }
  int height() const { return FMeasurer->lineHeight(FFont); }
  ITextMeasurer* measurer() const { return FMeasurer; }

private:
  ITextMeasurer* FMeasurer;
  BoardFont FFont;
};
