// The display area: the read-only text widget the phrase is written in, its display lines and
// the phrase composer that works on them, and the colour it is painted in.
#pragma once

#include "execution/PhraseComposer.h"
#include "platform/BoardFont.h"

#include <memory>

class QTextEdit;
class QWidget;
class QtDisplayLines;

class DisplayArea {
public:
  // The widget is made as a child of `parent`, which owns it.
  explicit DisplayArea(QWidget* parent);
  ~DisplayArea();
  DisplayArea(const DisplayArea&) = delete;
  DisplayArea& operator=(const DisplayArea&) = delete;

  QTextEdit* widget() const { return Memo; }
  PhraseComposer& phrase() { return *FPhrase; }
  const PhraseComposer& phrase() const { return *FPhrase; }
  // All the area shows, as plain text.
  QString text() const;
  // Empties the area and starts the phrase afresh.
  void ClearDisplay() { FPhrase->ClearDisplay(); }
  void setColour(TColor color);

private:
  QTextEdit* Memo;
  std::unique_ptr<QtDisplayLines> FLines;
  std::unique_ptr<PhraseComposer> FPhrase;
};
