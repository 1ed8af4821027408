// A display area of plain text wrapped at a fixed number of characters, following the same
// line rules as the real widget: the phrase logic can be reasoned about and tested on it.
#pragma once

#include "execution/DisplayLines.h"

#include <QVector>
#include <optional>

class LineModel : public DisplayLines {
public:
  // width: the most characters a display line holds, not counting the spaces that end it.
  explicit LineModel(int width);

  int lineCount() const override;
  QString line(int i) const override;
  void setLine(int i, const QString& text) override;
  void deleteLine(int i) override;
  void addEmptyLine() override;
  void clear() override;
  int caret() const override { return FCaret; }
  void setCaret(int position) override;
  void formatRange(int start, int length, const BoardFont& font) override;
  void scrollToEnd() override { ++FScrolls; }
  QString text() const override { return FText; }

  // The font given to the character at a position, if any was.
  std::optional<BoardFont> fontAt(int position) const;
  // How many times the area was scrolled to its end.
  int scrolls() const { return FScrolls; }
  // Every display line, the uncounted final empty line included.
  QStringList displayLines() const;

private:
  struct Span {
    int start;
    int length;
    bool endsWithBreak;
  };
  QVector<Span> layout() const;
  void replace(int start, int length, const QString& text);

  int FWidth;
  QString FText;
  QVector<std::optional<BoardFont>> FFonts; // one per character of FText
  int FCaret = 0;
  int FScrolls = 0;
};

// The display lines of one paragraph wrapped at a width in characters: a line breaks after
// the spaces that follow a word, and a word longer than the width is cut at the width.
// Returns (start, length) pairs; an empty paragraph has one empty line.
QVector<QPair<int, int>> wrapParagraph(const QString& paragraph, int width);
