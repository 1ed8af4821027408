// Plain-text display lines with word wrapping at a fixed width in characters.
#include "execution/LineModel.h"

#include <QStringList>
#include <algorithm>

QVector<QPair<int, int>> wrapParagraph(const QString& paragraph, int width) {
  QVector<QPair<int, int>> lines;
  const int size = int(paragraph.size());
  width = std::max(width, 1);
  int pos = 0;
  while (pos < size) {
    const int lineStart = pos;
    int end = pos;
    while (end < size) {
      int wordEnd = end;
      while (wordEnd < size && paragraph[wordEnd] != QLatin1Char(' '))
        ++wordEnd;
      int spacesEnd = wordEnd;
      while (spacesEnd < size && paragraph[spacesEnd] == QLatin1Char(' '))
        ++spacesEnd;
      const int wordLength = wordEnd - end;
      if (end == lineStart && wordLength > width) {
        // Nothing else on the line and the word alone is too wide: cut it.
        end += width;
        break;
      }
      // Spaces after a word never move to the next line, however wide they are.
      if (end != lineStart && (end - lineStart) + wordLength > width)
        break;
      end = spacesEnd;
    }
    lines.append({lineStart, end - lineStart});
    pos = end;
  }
  if (lines.isEmpty())
    lines.append({0, 0});
  return lines;
}

LineModel::LineModel(int width) : FWidth(width) {}

QVector<LineModel::Span> LineModel::layout() const {
  QVector<Span> spans;
  int blockStart = 0;
  const QStringList paragraphs = FText.split(QLatin1Char('\n'));
  for (int p = 0; p < paragraphs.size(); ++p) {
    const auto wrapped = wrapParagraph(paragraphs[p], FWidth);
    for (int l = 0; l < wrapped.size(); ++l) {
      const bool lastOfParagraph = l == wrapped.size() - 1;
      spans.append({blockStart + wrapped[l].first, wrapped[l].second,
                    lastOfParagraph && p < paragraphs.size() - 1});
    }
    blockStart += int(paragraphs[p].size()) + 1;
  }
  return spans;
}

int LineModel::lineCount() const {
  const auto spans = layout();
  return int(spans.size()) - (spans.last().length == 0 ? 1 : 0);
}

QString LineModel::line(int i) const {
  const auto spans = layout();
  if (i < 0 || i >= spans.size())
    return QString();
  return FText.mid(spans[i].start, spans[i].length);
}

QStringList LineModel::displayLines() const {
  QStringList result;
  for (const Span& s : layout())
    result << FText.mid(s.start, s.length);
  return result;
}

void LineModel::replace(int start, int length, const QString& text) {
  // New characters take the font of the text they replace, else of the text before them,
  // as typing into a rich-text box does.
  std::optional<BoardFont> font;
  if (length > 0)
    font = FFonts[start + length - 1];
  else if (start > 0)
    font = FFonts[start - 1];
  FText.replace(start, length, text);
  FFonts.remove(start, length);
  FFonts.insert(start, int(text.size()), font);
  FCaret = start + int(text.size());
}

void LineModel::setLine(int i, const QString& text) {
  const auto spans = layout();
  if (i < 0 || i >= spans.size())
    return;
  replace(spans[i].start, spans[i].length, text);
}

void LineModel::deleteLine(int i) {
  const auto spans = layout();
  if (i < 0 || i >= spans.size())
    return;
  replace(spans[i].start, spans[i].length + (spans[i].endsWithBreak ? 1 : 0), QString());
}

void LineModel::addEmptyLine() {
  replace(int(FText.size()), 0, QStringLiteral("\n"));
}

void LineModel::clear() {
  FText.clear();
  FFonts.clear();
  FCaret = 0;
}

void LineModel::setCaret(int position) {
  FCaret = std::clamp(position, 0, int(FText.size()));
}

void LineModel::formatRange(int start, int length, const BoardFont& font) {
  const int size = int(FText.size());
  const int from = std::clamp(start, 0, size);
  const int to = int(std::clamp<qint64>(qint64(start) + std::max(length, 0), from, size));
  for (int p = from; p < to; ++p)
    FFonts[p] = font;
  FCaret = to;
}

std::optional<BoardFont> LineModel::fontAt(int position) const {
  if (position < 0 || position >= FFonts.size())
    return std::nullopt;
  return FFonts[position];
}
