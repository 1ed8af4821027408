// Cutting a text into pieces that fit the page.
#include "board/TextCutting.h"

#include <QStringView>

namespace textcutting {

namespace {

// Width of the first len characters of what remains of the text.
using PrefixWidth = std::function<int(qsizetype len)>;

bool splitsPair(QStringView rest, qsizetype len) {
  return len > 0 && len < rest.size() && rest.at(len - 1).isHighSurrogate();
}

bool prefixFits(QStringView rest, qsizetype len, int tabControlWidth, const PrefixWidth& widthOf) {
  return len > 0 && !splitsPair(rest, len) && pieceFits(widthOf(len), tabControlWidth);
}

// Length of the longest prefix of rest that fits. Widths grow with the prefix, so the lengths
// tried double until one does not fit and a binary search below it finds the longest that does:
// the prefixes measured are never much longer than the piece, so a long text is cut in time
// proportional to its length. Kerning can make a longer prefix a pixel narrower, so the few
// lengths just above the one found are tried too.
qsizetype fittingPrefixLength(QStringView rest, int tabControlWidth, const PrefixWidth& widthOf) {
  const qsizetype full = rest.size();
  qsizetype lo = 0, hi = full; // lo fits (or is 0); every length from hi on is taken not to fit
  for (qsizetype probe = 1; probe < full; probe *= 2) {
    const qsizetype len = splitsPair(rest, probe) ? probe + 1 : probe;
    if (len >= full)
      break;
    if (!prefixFits(rest, len, tabControlWidth, widthOf)) {
      hi = len;
      break;
    }
    lo = len;
  }
  if (hi == full && prefixFits(rest, full, tabControlWidth, widthOf))
    return full;
  while (hi - lo > 1) {
    const qsizetype mid = lo + (hi - lo) / 2;
    qsizetype probe = mid;
    if (splitsPair(rest, probe))
      --probe;
    if (probe > lo && prefixFits(rest, probe, tabControlWidth, widthOf))
      lo = probe;
    else
      hi = mid;
  }
  for (qsizetype len = std::min(full - 1, lo + 4); len > lo; --len)
    if (prefixFits(rest, len, tabControlWidth, widthOf))
      return len;
  if (lo > 0)
    return lo;
  // Nothing fits: one character per piece keeps the cutting finite.
  return (rest.size() > 1 && rest.at(0).isHighSurrogate()) ? 2 : 1;
}

// The pieces of text, each the longest fitting prefix of what remains. What remains is a view
// into the text, never a copy of it.
QStringList cut(const QString& text, int tabControlWidth,
                const std::function<int(qsizetype pos, qsizetype len)>& widthOf) {
  if (text.isEmpty())
    return {text};
  QStringList pieces;
  qsizetype pos = 0;
  while (pos < text.size()) {
    const QStringView rest = QStringView(text).mid(pos);
    const qsizetype len =
        std::min(rest.size(), fittingPrefixLength(rest, tabControlWidth,
                                                  [&](qsizetype n) { return widthOf(pos, n); }));
    pieces << text.mid(pos, len);
    pos += len;
  }
  return pieces;
}

} // namespace

QStringList cutText(const QString& text, int tabControlWidth, const WidthFunction& widthOf) {
  return cut(text, tabControlWidth,
             [&](qsizetype pos, qsizetype len) { return widthOf(text.mid(pos, len)); });
}

QStringList cutTextByPrefixWidths(const QString& text, int tabControlWidth,
                                  const std::vector<int>& prefixWidths) {
  if (text.isEmpty() || prefixWidths.size() != size_t(text.size()) + 1)
    return {text};
  return cut(text, tabControlWidth, [&](qsizetype pos, qsizetype len) {
    return prefixWidths[size_t(pos + len)] - prefixWidths[size_t(pos)];
  });
}

} // namespace textcutting
