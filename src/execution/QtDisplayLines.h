// The display area's line rules on a real QTextEdit: display lines are the wrapped lines of
// the document's layout.
#pragma once

#include "execution/DisplayLines.h"

class QTextEdit;

class QtDisplayLines : public DisplayLines {
public:
  explicit QtDisplayLines(QTextEdit* edit);
  int lineCount() const override;
  QString line(int i) const override;
  void setLine(int i, const QString& text) override;
  void deleteLine(int i) override;
  void addEmptyLine() override;
  void clear() override;
  int caret() const override;
  void setCaret(int position) override;
  void formatRange(int start, int length, const BoardFont& font) override;
  void scrollToEnd() override;
  QString text() const override;

private:
  QTextEdit* FEdit;
};
