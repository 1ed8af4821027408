// Cutting a text into pieces that fit the page.
#include "board/TextCutting.h"

namespace textcutting {

namespace {

bool splitsPair(const QString& rest, int len) {
  return len > 0 && len < rest.size() && rest.at(len - 1).isHighSurrogate();
}

bool prefixFits(const QString& rest, int len, int tabControlWidth, const WidthFunction& widthOf) {
  return len > 0 && !splitsPair(rest, len) &&
         pieceFits(widthOf(rest.left(len)), tabControlWidth);
}

// Length of the longest prefix of rest that fits. Widths grow with the prefix, so a binary
// search finds it in a few measurements (measuring every prefix of a long text shapes it over
// and over); kerning can make a longer prefix a pixel narrower, so the few lengths just above
// the one found are tried too.
int fittingPrefixLength(const QString& rest, int tabControlWidth, const WidthFunction& widthOf) {
  const int full = int(rest.size());
  if (prefixFits(rest, full, tabControlWidth, widthOf))
    return full;
  int lo = 0, hi = full; // lo fits (or is 0), hi does not
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    int probe = mid;
    if (splitsPair(rest, probe))
      --probe;
    if (probe > lo && prefixFits(rest, probe, tabControlWidth, widthOf))
      lo = probe;
    else
      hi = mid;
  }
  for (int len = std::min(full - 1, lo + 4); len > lo; --len)
    if (prefixFits(rest, len, tabControlWidth, widthOf))
      return len;
  if (lo > 0)
    return lo;
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

QStringList cutTextByPrefixWidths(const QString& text, int tabControlWidth,
                                  const std::vector<int>& prefixWidths) {
  if (text.isEmpty() || prefixWidths.size() != size_t(text.size()) + 1)
    return {text};
  QStringList pieces;
  int pos = 0;
  while (pos < text.size()) {
    const QString rest = text.mid(pos);
    const int base = prefixWidths[size_t(pos)];
    const int len = fittingPrefixLength(
        rest, tabControlWidth, [&](const QString& s) { return prefixWidths[size_t(pos + s.size())] - base; });
    pieces << rest.left(std::min(int(rest.size()), len));
    pos += std::min(int(rest.size()), len);
  }
  return pieces;
}

} // namespace textcutting
