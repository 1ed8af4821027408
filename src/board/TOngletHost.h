// What a tab page needs of the main window: the mode, the fonts and measuring labels, the
// button height, the chosen text, and the text-name field.
// The main window implements it; tests give a page a small host of their own.
#pragma once

#include "platform/BoardFont.h"
#include "platform/MeasureLabel.h"

#include <QString>
class TTextButton;

class TOngletHost {
public:
  virtual ~TOngletHost() = default;
  virtual bool execMode() const = 0;    // FExecMode
  virtual bool tabScanning() const = 0; // FTabScanning
  virtual bool allSelected() const = 0; // FAllSelected
  virtual int buttonHeight() const = 0; // FButtonHeight
  virtual const BoardFont& selectedFont() const = 0;
  virtual const BoardFont& unselectedFont() const = 0;
  virtual TMeasureLabel& selectedMeasure() = 0;         // carries the selected font
  virtual TMeasureLabel& unselectedMeasure() = 0;       // carries the unselected font
  virtual TMeasureLabel& measureLabel() = 0;            // any font
  virtual void setCurrentText(TTextButton* button) = 0; // FCurrentText
  // EdtNomTexte: write its text (the change handler runs when attached), attach or detach the
  // change handler, enable it.
  virtual void setTextNameField(const QString& text) = 0;
  virtual void setTextNameChangeAttached(bool attached) = 0;
  virtual void enableTextNameField() = 0;
  // The text chosen for editing (its first piece), marked on the board in creation mode.
  virtual const TTextButton* chosenText() const { return nullptr; }
  // The highlight has reached a new text (its whole caption): spoken prompts follow it.
  virtual void textReached(const QString& caption) { (void)caption; }
};

// Whoever serves a page also keeps hold of its buttons (guarded pointers need the full type).
#include "board/TOnglet.h"
