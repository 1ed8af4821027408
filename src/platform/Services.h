// The platform services the program needs, each behind a small interface so that tests can
// answer dialogs, record messages and tones, and measure text with fixed widths.
#pragma once

#include "platform/Accessibility.h"
#include "platform/BoardFont.h"
#include "platform/BoardPicture.h"
#include "platform/Colour.h"
#include "platform/Speech.h"

#include <QString>
#include <optional>
#include <vector>

class QWidget;

// Message boxes: information with OK, and a question with Yes and No.
class IMessages {
public:
  virtual ~IMessages() = default;
  virtual void information(const QString& text) = 0;
  // true for Yes.
  virtual bool question(const QString& text) = 0;
};

// File open and save dialogs. The filter is given in the board's own form
// ("Description |pattern"); an empty result means the user cancelled.
class IFileDialogs {
public:
  virtual ~IFileDialogs() = default;
  virtual QString openFileName(const QString& filter) = 0;
  virtual QString saveFileName(const QString& filter) = 0;
};

// The colour chooser; nothing when the user cancels.
class IColorChooser {
public:
  virtual ~IColorChooser() = default;
  virtual std::optional<TColor> chooseColor(TColor initial) = 0;
};

// Plays one tone and returns when it has finished.
class IToneGenerator {
public:
  virtual ~IToneGenerator() = default;
  virtual void playTone(int frequencyHz, int durationMs) = 0;
};

// Text measurement: the width of a caption and the height of a line in a font, as an
// auto-sized label would report them.
class ITextMeasurer {
public:
  virtual ~ITextMeasurer() = default;
  virtual int textWidth(const QString& text, const BoardFont& font) = 0;
  virtual int lineHeight(const BoardFont& font) = 0;
  // Widths of every prefix of a text (index i: its first i characters), for cutting long texts.
  virtual std::vector<int> prefixWidths(const QString& text, const BoardFont& font) {
    std::vector<int> widths(size_t(text.size()) + 1, 0);
    for (qsizetype i = 1; i <= text.size(); ++i)
      widths[size_t(i)] = textWidth(text.left(i), font);
    return widths;
  }
};

// Where a text's picture comes from: the chooser the carer searches (the built-in set by French
// words, or a file of their own), and the built-in set's best match for a text, for a whole tab
// at once. Nothing when the carer cancelled, or when the set holds nothing for the text.
class IPictureChooser {
public:
  virtual ~IPictureChooser() = default;
  virtual std::optional<BoardPicture> choosePicture(const QString& caption) = 0;
  virtual std::optional<BoardPicture> bestPicture(const QString& caption) = 0;
};

// The set of services one main window uses. Not owned.
struct Services {
  IMessages* messages = nullptr;
  IFileDialogs* fileDialogs = nullptr;
  IColorChooser* colorChooser = nullptr;
  IToneGenerator* tones = nullptr;
  ITextMeasurer* measurer = nullptr;
  ISpeech* speech = nullptr; // none: the program is silent
  IPictureChooser* pictures = nullptr; // none: no picture can be given to a text
  const IScreenReaderStatus* screenReader = nullptr; // none: no screen reader runs
};
