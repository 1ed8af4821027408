// The display area seen as a list of display lines, with the eight rules the phrase logic
// depends on: wrapped lines count as lines (the wrapping space stays on the upper line), the
// final empty line is not counted, lines are read, written and deleted by number, an empty
// line can be appended, the caret follows each change, and a character range can be given a
// font.
#pragma once

#include "platform/BoardFont.h"

#include <QString>

class DisplayLines {
public:
  virtual ~DisplayLines() = default;
  virtual int lineCount() const = 0;                    // N
  virtual QString line(int i) const = 0;                // empty when line i does not exist
  virtual void setLine(int i, const QString& text) = 0; // i == N fills the final empty line
  virtual void deleteLine(int i) = 0;                   // with its line break, if any
  virtual void addEmptyLine() = 0;                      // appends one line break
  virtual void clear() = 0;
  virtual int caret() const = 0;
  virtual void setCaret(int position) = 0;
  virtual void formatRange(int start, int length, const BoardFont& font) = 0;
  virtual void scrollToEnd() = 0;
  virtual QString text() const = 0; // the whole text, paragraphs joined with '\n'
};
