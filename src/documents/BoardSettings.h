// The board's settings beyond the paces and fonts (scanning timing and layout, highlight,
// speech) as one plain value, and the self-describing block that stores them after the final
// block of a board file.
#pragma once

#include "platform/AccessMode.h"
#include "platform/HighlightStyle.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Where a button with a picture shows its label: above the picture, below it, or not at all.
enum class PictureLabel { Above, Below, Hidden };

struct BoardSettings {
  // Scanning. A pace of 0 means the board's whole-second pace; otherwise 300..100000 ms in
  // steps of 100. Every other time is in ms, in steps of 100.
  int tabPaceMs = 0;
  int textPaceMs = 0;
  int firstItemExtraMs = 0;      // 0..10000
  int acceptanceMs = 0;          // 0..2000
  int pauseAfterSelectionMs = 0; // 0..2000
  int loopsBeforeBack = 0;       // 0 = never, up to 20
  int gridColumns = 0;           // 0 = flowing rows, else 1..20
  bool gridFitFont = false;
  bool rowColumn = false;
  HighlightStyle highlight = HighlightStyle::TextColour;

  // Speech.
  bool speakPhrase = false;
  bool speakTexts = false;
  bool speakPrompts = false;
  QString voice;    // empty: the speech service's own French voice
  int rate = 0;     // -100..100
  int volume = 100; // -100..100; the speech service's own default is full volume

  // Word prediction on the letter pages. Stored only when not the default, so that a board that
  // never used it saves byte for byte as before.
  bool prediction = false;
  int predictionWords = 5; // 1..8 suggestions
  // A word shown while the person spells a word and let go by gives its slot to another until
  // the word ends or a letter is taken back. Off, each letter is answered on its own: a person
  // who spells a few letters before looking finds the word they passed.
  bool replacePassedOver = false;

  // Pictures on the buttons: where their labels go. Stored only when not the default.
  PictureLabel pictureLabel = PictureLabel::Above;

  // With a screen reader running, the prompts are said only when the board asks for them anyway
  // (the screen reader names what is lit already). Stored only when not the default.
  bool promptsWithScreenReader = false;
  // Access: how the person's switches reach the items. Stored only when not the default, so
  // that a board scanned automatically saves byte for byte as before.
  AccessMode accessMode = AccessMode::Automatic;
  // The two switches' keys as board key codes: Space moves, Enter (main or keypad) chooses, as
  // the switch interfaces carers buy send them. Two different keys a carer may choose.
  int moveKey = 32;
  int chooseKey = 13;
  // The move switch held past the delay moves on once each pace.
  bool moveRepeat = false;
  int moveRepeatDelayMs = 800; // 100..5000
  int moveRepeatPaceMs = 500;  // 100..5000
  int dwellMs = 2000;          // 300..10000: no press for this long chooses what is lit

  // The block as the file held it, marker first (empty when it held none). A save writes it
  // back line for line, rewriting only the lines of the values changed since: what this
  // version does not understand (a later version's marker, keys and values, stray lines)
  // stays byte for byte, in place.
  QList<QByteArray> storedBlock;

  bool operator==(const BoardSettings& o) const;
  bool operator!=(const BoardSettings& o) const { return !(*this == o); }
  // True when every value is its default and no block was read: no block is written.
  bool isDefault() const { return *this == BoardSettings(); }
  bool anySpeech() const { return speakPhrase || speakTexts || speakPrompts; }
};

namespace boardsettings {
// The most suggested words a page shows: the settings dialog, the reader and the predictor
// all stop there.
constexpr int kMaxPredictionWords = 8;
// The whole seconds (1..100) that stand for a pace in ms where only whole seconds are stored.
int wholeSeconds(int paceMs);
// The limits a value is brought into, whatever its source (file or dialog).
BoardSettings clamped(BoardSettings s);

// The lines that follow the final block. Without the marker line first, they are not a
// settings block and give the defaults. Values that cannot be read keep their default.
BoardSettings parse(const QList<QByteArray>& linesAfterFinalBlock);
// The block with its line ends, or nothing at all when the settings are the defaults and no
// block was read.
QByteArray write(const BoardSettings& settings);
} // namespace boardsettings
