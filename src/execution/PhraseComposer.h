// Phrase composition in the display area: the phrase state and the action of each kind of
// button chosen with the switch (ordinary text, CLEAR, AJOUT, VALIDATION, SUPPRESSION,
// ANNULATION). Scanning commands (RETOUR) and the bell are the main window's.
#pragma once

#include "execution/DisplayLines.h"

#include <QStringList>
#include <functional>
#include <optional>

class PhraseComposer {
public:
  explicit PhraseComposer(DisplayLines& lines) : FLines(lines) {}

  // Empties the display area and restarts the phrase at its start.
  void ClearDisplay();
  // An ordinary text; without a trailing space on the letter tabs.
  void AppendText(const QString& text, bool letterTab, const BoardFont& currentPhraseFont);
  void Clear();
  // A word chosen to finish the one being written: the last `remove` characters of the phrase
  // (the word's letters) give way to `insert`, and the texts entered for those letters become
  // one entered text with it, so that ANNULATION takes the whole word back at once.
  void CompleteWord(int remove, const QString& insert, const BoardFont& currentPhraseFont);
  // A sign that ends a phrase, chosen among the suggestions after a word: "." goes against the
  // word, "?" and "!" keep the space before them; a space follows. ANNULATION takes back the
  // sign alone.
  void AppendSign(const QString& sign, const BoardFont& currentPhraseFont);
  // Validates the phrase; returns the text to add to "Divers" unless captionExists says some
  // button already has that caption (then nothing is to be added). Nothing happens and
  // nothing is returned when the phrase is empty. The text is the phrase without the space
  // that follows its last word.
  std::optional<QString> Ajout(const BoardFont& validatedFont,
                               const std::function<bool(const QString&)>& captionExists);
  void Validation(const BoardFont& validatedFont);
  void Suppression();
  void Annulation();
  // The phrase being written, as the display shows it.
  QString phraseText() const { return JoinPhraseLines(); }

  int FPhraseStartLine = 0;
  int FPhraseStartPos = 0;
  bool FFreshLine = false;
  QStringList FEnteredTexts;
  QStringList FPhraseStarts{QStringLiteral("0")};

private:
  void ClosePhrase();
  void forgetSuggestionSpace();
  void writePiece(int target, const QString& piece, const BoardFont& currentPhraseFont);
  // Takes the space at the end of the phrase back from the text that wrote it.
  bool takeTrailingSpace(int target);
  // "," or "." against the word before it, the space that followed the word after the sign;
  // false (nothing written) for another sign or when no space follows the word.
  bool writeAgainstWord(int target, const QString& sign, const BoardFont& currentPhraseFont);
  // The last text was a suggestion that brought its own space.
  bool FSpaceAfterSuggestion = false;
  // The entered text of the sign that took a suggestion's space, or -1.
  int FSpaceMovedAt = -1;
  // That space was a text of its own, typed by the person.
  bool FSpaceWasOwnText = false;
  void FormatValidated(const BoardFont& validatedFont);
  QString JoinPhraseLines() const;
  DisplayLines& FLines;
};
