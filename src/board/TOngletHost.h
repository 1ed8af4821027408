// What a tab page reads of the board it belongs to: the mode, the fonts and measuring labels,
// the button height and the text chosen for editing. What the page tells, it says by its
// signals. The board view implements it; tests give a page a small host of their own.
#pragma once

#include "documents/BoardSettings.h"
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
  virtual TMeasureLabel& selectedMeasure() = 0;   // carries the selected font
  virtual TMeasureLabel& unselectedMeasure() = 0; // carries the unselected font
  virtual TMeasureLabel& measureLabel() = 0;      // any font
  // The text chosen for editing (its first piece), marked on the board in creation mode.
  virtual const TTextButton* chosenText() const { return nullptr; }
  // Where the buttons with a picture show their labels.
  virtual PictureLabel pictureLabel() const { return PictureLabel::Above; }
};

// Whoever serves a page also keeps hold of its buttons (guarded pointers need the full type).
#include "board/TOnglet.h"
