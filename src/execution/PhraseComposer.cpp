// Builds phrases in the display area from the texts chosen with the switch, and carries out
// the reserved commands that validate, delete, undo or clear them.
#include "execution/PhraseComposer.h"

#include "prediction/FrenchText.h"

#include <algorithm>
#include <utility>

namespace {
bool onlySpacesAndControls(const QString& s) {
  return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() <= ' '; });
}

// French writes these signs against the word before them and a space after them.
bool closesUpToTheWord(const QString& text) {
  return text == QLatin1String(",") || text == QLatin1String(".");
}
} // namespace

void PhraseComposer::forgetSuggestionSpace() {
  FSpaceAfterSuggestion = false;
  FSpaceMovedAt = -1;
}

void PhraseComposer::ClearDisplay() {
  forgetSuggestionSpace();
  FPhraseStartLine = 0;
  // The recorded starts numbered lines that are gone; kept, they would make SUPPRESSION
  // delete nothing or the wrong lines of the next phrases.
  FPhraseStarts = QStringList{QStringLiteral("0")};
  FLines.clear();
  FPhraseStartPos = FLines.caret();
}

void PhraseComposer::AppendText(const QString& text, bool letterTab,
                                const BoardFont& currentPhraseFont) {
  int target = FLines.lineCount();
  if (FFreshLine) {
    FFreshLine = false;
    // A fresh line is the empty line that closing the previous phrase left at the end; should
    // it be missing, make it rather than lose the text.
    const QString all = FLines.text();
    if (!all.isEmpty() && !all.endsWith(QLatin1Char('\n')))
      FLines.addEmptyLine();
  } else {
    target -= 1;
  }
  target = std::max(target, 0);

  // A comma or a full stop right after a chosen suggestion goes against the word, and the
  // space the suggestion brought goes after it: "mot, " as French writes it, without the
  // person having to choose the space again. ANNULATION puts the space back.
  const bool afterSuggestion = std::exchange(FSpaceAfterSuggestion, false);
  if (letterTab && afterSuggestion && writeAgainstWord(target, text, currentPhraseFont))
    return;

  // Letters and signs join up into words; words are followed by a space. What is spelled
  // letter by letter takes a capital where French puts one; elsewhere it stays as typed.
  QString piece = letterTab ? text : text + QLatin1Char(' ');
  if (letterTab && !piece.isEmpty() && piece.front().isLower() &&
      frenchtext::capitalHere(JoinPhraseLines()))
    piece.front() = piece.front().toUpper();
  writePiece(target, piece, currentPhraseFont);
}

void PhraseComposer::writePiece(int target, const QString& piece,
                                const BoardFont& currentPhraseFont) {
  FLines.setLine(target, FLines.line(target) + piece);
  FEnteredTexts.append(piece);
  const int s = FLines.caret();
  FLines.formatRange(FPhraseStartPos, s, currentPhraseFont);
  FLines.setCaret(s);
  FLines.scrollToEnd();
}

bool PhraseComposer::takeTrailingSpace(int target) {
  if (!FLines.line(target).endsWith(QLatin1Char(' ')) || FEnteredTexts.isEmpty() ||
      !FEnteredTexts.last().endsWith(QLatin1Char(' ')))
    return false;
  FLines.setLine(target, FLines.line(target).chopped(1));
  FEnteredTexts.last().chop(1);
  FSpaceWasOwnText = FEnteredTexts.last().isEmpty();
  if (FSpaceWasOwnText)
    FEnteredTexts.removeLast();
  return true;
}

bool PhraseComposer::writeAgainstWord(int target, const QString& sign,
                                      const BoardFont& currentPhraseFont) {
  if (!closesUpToTheWord(sign) || !takeTrailingSpace(target))
    return false;
  writePiece(target, sign + QLatin1Char(' '), currentPhraseFont);
  FSpaceMovedAt = int(FEnteredTexts.size()) - 1;
  return true;
}

void PhraseComposer::AppendSign(const QString& sign, const BoardFont& currentPhraseFont) {
  FSpaceAfterSuggestion = false;
  // Offered only after a word and its space, on the phrase's line.
  const int target = std::max(FLines.lineCount() - 1, 0);
  if (!FFreshLine && writeAgainstWord(target, sign, currentPhraseFont))
    return;
  // "?" and "!" keep the space French puts before them.
  AppendText(sign + QLatin1Char(' '), true, currentPhraseFont);
}

void PhraseComposer::CompleteWord(int remove, const QString& insert,
                                  const BoardFont& currentPhraseFont) {
  // Never more than the phrase holds: the phrase closed before stays as it was.
  remove = std::clamp(remove, 0, int(JoinPhraseLines().size()));
  // The entered texts that hold those letters, whole; the part of the first one that stays
  // written belongs to the new text too.
  QString merged;
  while (int(merged.size()) < remove && !FEnteredTexts.isEmpty())
    merged.prepend(FEnteredTexts.takeLast());
  merged.chop(std::min<qsizetype>(remove, merged.size()));
  // The letters go from the last display lines; a wrapped line emptied this way is gone.
  for (int left = remove; left > 0 && FLines.lineCount() > 0;) {
    const int last = FLines.lineCount() - 1;
    const QString line = FLines.line(last);
    if (line.isEmpty())
      break; // the phrase's own first line: nothing of the word is above it
    const int take = std::min(left, int(line.size()));
    FLines.setLine(last, line.left(line.size() - take));
    left -= take;
  }
  // Emptied down to the phrase's own line: the word is written there, not on the line above.
  const QString all = FLines.text();
  if (remove > 0 && (all.isEmpty() || all.endsWith(QLatin1Char('\n'))))
    FFreshLine = true;
  AppendText(insert, true, currentPhraseFont);
  FEnteredTexts.last() = merged + FEnteredTexts.last();
  FSpaceAfterSuggestion = insert.endsWith(QLatin1Char(' '));
}

void PhraseComposer::Clear() {
  ClearDisplay();
  FEnteredTexts.clear();
  FPhraseStartLine = FLines.lineCount();
  FFreshLine = true;
  FLines.addEmptyLine();
}

void PhraseComposer::ClosePhrase() {
  forgetSuggestionSpace();
  FPhraseStartLine = FLines.lineCount();
  FFreshLine = true;
  FLines.addEmptyLine();
  FPhraseStartPos = FLines.caret();
  FEnteredTexts.clear();
}

// Everything before the caret but its last character (the space after the last word) goes
// into the font of validated phrases.
void PhraseComposer::FormatValidated(const BoardFont& validatedFont) {
  const int s = FLines.caret();
  const int upTo = std::max(s - 1, 0);
  FLines.formatRange(0, upTo, validatedFont);
  FLines.setCaret(upTo);
}

QString PhraseComposer::JoinPhraseLines() const {
  QString joined;
  const int n = FLines.lineCount();
  for (int i = std::max(FPhraseStartLine, 0); i < n; ++i)
    joined += FLines.line(i);
  return joined;
}

std::optional<QString>
PhraseComposer::Ajout(const BoardFont& validatedFont,
                      const std::function<bool(const QString&)>& captionExists) {
  // The phrase's first line can be the blank line left above it by CLEAR or SUPPRESSION, so
  // the phrase counts as empty only when all its lines are.
  if (JoinPhraseLines().isEmpty())
    return std::nullopt;
  FormatValidated(validatedFont);
  QString caption = JoinPhraseLines();
  // Drop the space that follows the last word; a phrase of letters keeps its last letter.
  if (caption.endsWith(QLatin1Char(' ')))
    caption.chop(1);
  const bool found = caption.isEmpty() || (captionExists && captionExists(caption));
  ClosePhrase();
  if (found)
    return std::nullopt;
  FPhraseStarts.append(QString::number(FPhraseStartLine));
  return caption;
}

void PhraseComposer::Validation(const BoardFont& validatedFont) {
  FormatValidated(validatedFont);
  if (JoinPhraseLines().isEmpty())
    return;
  ClosePhrase();
  FPhraseStarts.append(QString::number(FPhraseStartLine));
}

void PhraseComposer::Suppression() {
  const int n = FLines.lineCount();
  if (n == 0)
    return;
  // Starts beyond the end of the area belong to text that was cleared away; going by them
  // would delete nothing.
  while (!FPhraseStarts.isEmpty() && FPhraseStarts.last().toInt() > n)
    FPhraseStarts.removeLast();
  // A phrase that is still empty (only the blank line at its start): delete the previous one.
  if (!FPhraseStarts.isEmpty() && FPhraseStarts.last().toInt() == n - 1 &&
      FLines.line(n - 1).isEmpty())
    FPhraseStarts.removeLast();
  if (FPhraseStarts.isEmpty())
    FPhraseStarts.append(QStringLiteral("0"));

  const int start = FPhraseStarts.last().toInt();
  for (int count = FLines.lineCount(); start < count;) {
    FLines.deleteLine(count - 1);
    const int after = FLines.lineCount();
    if (after >= count)
      break; // cannot happen with sound line rules; never loop forever
    count = after;
  }

  FPhraseStartLine = FLines.lineCount();
  FLines.addEmptyLine();
  FFreshLine = true;
  FPhraseStartPos = FLines.caret();
  FEnteredTexts.clear();
  forgetSuggestionSpace();
}

void PhraseComposer::Annulation() {
  if (FLines.lineCount() == 0)
    FEnteredTexts.clear();
  while (!FEnteredTexts.isEmpty() && !FEnteredTexts.last().isEmpty() && FLines.lineCount() > 0) {
    const int last = FLines.lineCount() - 1;
    const QString piece = FEnteredTexts.last();
    const QString lineText = FLines.line(last);
    if (lineText == piece) {
      FEnteredTexts.last().clear();
      FLines.deleteLine(last);
    } else if (lineText.contains(piece)) {
      const QString rest = lineText.left(lineText.size() - piece.size());
      if (onlySpacesAndControls(rest))
        FLines.deleteLine(last);
      else
        FLines.setLine(last, rest);
      FEnteredTexts.last().clear();
    } else {
      // The piece was wrapped: this line holds its end, the lines above the rest of it.
      FEnteredTexts.last() = piece.left(std::max<qsizetype>(piece.size() - lineText.size(), 0));
      FLines.deleteLine(last);
    }
  }
  if (!FEnteredTexts.isEmpty())
    FEnteredTexts.removeLast();
  FSpaceAfterSuggestion = false;
  // The sign that took the suggestion's space is gone: the word gets its space back.
  if (FSpaceMovedAt >= 0 && FSpaceMovedAt == int(FEnteredTexts.size()) && FLines.lineCount() > 0) {
    const int last = FLines.lineCount() - 1;
    FLines.setLine(last, FLines.line(last) + QLatin1Char(' '));
    if (FSpaceWasOwnText || FEnteredTexts.isEmpty())
      FEnteredTexts.append(QStringLiteral(" "));
    else
      FEnteredTexts.last().append(QLatin1Char(' '));
    FSpaceAfterSuggestion = !FSpaceWasOwnText;
    FFreshLine = false;
  }
  if (FSpaceMovedAt >= int(FEnteredTexts.size()))
    FSpaceMovedAt = -1;
  if (FEnteredTexts.isEmpty())
    FFreshLine = true;
}
