// Cutting a text into pieces that fit the page.
#include "board/TextCutting.h"

namespace textcutting {

namespace {

// Length of the longest prefix of rest that fits, searched from the whole text downwards so
// that a width function that is not monotonic still gives the longest fitting prefix.
int fittingPrefixLength(const QString& rest, int tabControlWidth, const WidthFunction& widthOf) {
  int len = int(rest.size());
  while (len > 0) {
    // Never cut between the two halves of a surrogate pair.
    const bool splitsPair = len < rest.size() && rest.at(len - 1).isHighSurrogate();
    if (!splitsPair && pieceFits(widthOf(rest.left(len)), tabControlWidth))
      return len;
    --len;
  }
  // Nothing fits: one character per piece keeps the cutting finite.
  return (rest.size() > 1 && rest.at(0).isHighSurrogate()) ? 2 : 1;
}

} // namespace

QStringList cutText(const QString& text, int tabControlWidth, const WidthFunction& widthOf) {
  if (text.isEmpty())
    return {text};
  QStringList pieces;
  int pos = 0;
  while (pos < text.size()) {
    const QString rest = text.mid(pos);
    const int len = std::min(int(rest.size()), fittingPrefixLength(rest, tabControlWidth, widthOf));
    pieces << rest.left(len);
    pos += len;
  }
  return pieces;
}

} // namespace textcutting
