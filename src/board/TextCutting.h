// Cutting a text that is too wide for its page into consecutive pieces, each the longest prefix
// of what remains that fits. Pure arithmetic over a width function, so it is testable alone.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace textcutting {

// Width of a caption in the font the text is cut for (without the button's margin).
using WidthFunction = std::function<int(const QString&)>;

// A button whose caption measures captionWidth fits a page of the given tab control width.
inline bool pieceFits(int captionWidth, int tabControlWidth) {
  return captionWidth + 16 < tabControlWidth - 35;
}

// The pieces of text, in order; their concatenation is text. A text that fits is one piece.
// On a page too narrow for even one character every piece holds one character, so cutting
// always ends. An empty text is one empty piece.
QStringList cutText(const QString& text, int tabControlWidth, const WidthFunction& widthOf);

// The same cut from the widths of the text's prefixes (prefixWidths[i]: the first i
// characters), measured once for the whole text: a piece from p to q is taken as
// prefixWidths[q] - prefixWidths[p] wide. Long texts are cut without shaping each candidate.
QStringList cutTextByPrefixWidths(const QString& text, int tabControlWidth,
                                  const std::vector<int>& prefixWidths);

} // namespace textcutting
