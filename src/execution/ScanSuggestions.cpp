// The scan session's suggested words: the row of suggestions on the letter pages, the requests
// to the predictor after each choice and its answers, a chosen word written in place of its
// letters, and what the predictor learns from the board and the validated phrases.
#include "execution/ScanSession.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "execution/QtDisplayLines.h"
#include "execution/SpeechFeedback.h"
#include "platform/ActionJournal.h"
#include "prediction/FrenchText.h"
#include "prediction/WordPredictor.h"

int ScanSession::suggestionSlots() const {
  const BoardSettings& s = FView.settings();
  if (!FPredictor || !FView.execMode() || !s.prediction ||
      FPredictor->status() != WordPredictor::Status::Ok)
    return 0;
  return std::clamp(s.predictionWords, 1, WordPredictor::kMostSuggestions);
}

void ScanSession::applySuggestionSlots() {
  const int count = suggestionSlots();
  const bool changed = count != FView.suggestionSlots();
  if (count > 0)
    FPredictor->setSuggestionCount(count);
  else
    FView.showSuggestions({}); // words of another board or model are never shown again
  FView.setSuggestionSlots(count);
  if (changed && FScanner.phase() != Scanner::Phase::Stopped) {
    FScanner.setBoard(scanShapes());
    if (TOnglet* page = FView.activePage())
      FScanner.updateTab(FView.currentIndex(), scanShape(page), page->currentIndex());
  }
  if (changed && count > 0) {
    learnBoardTexts();
    requestSuggestions();
  }
}

void ScanSession::requestSuggestions() {
  if (FView.suggestionSlots() <= 0)
    return;
  FPredictor->request(++FRequestId, FPhrase->phraseText());
}

void ScanSession::suggestionsAnswered(int id, const QStringList& words) {
  if (id != FRequestId || FView.suggestionSlots() <= 0)
    return;
  TOnglet* page = FView.activePage();
  const bool scanned = page && page->suggestionCount() > 0 && !FTabScanning &&
                       FScanner.phase() == Scanner::Phase::Texts;
  const QString litBefore = scanned ? page->GetCurrentText() : QString();
  FView.showSuggestions(words);
  journal("suggestions", [&words] { return words.join(QLatin1Char('|')); });
  if (!scanned)
    return;
  // Longer words may have moved the rows: the scan follows the page as it now stands.
  FScanner.updateTab(FView.currentIndex(), scanShape(page));
  // A suggestion lit as its word changes is a new word lit: named as the highlight names any.
  if (page->GetCurrentKind() == ButtonKind::Suggestion && page->GetCurrentText() != litBefore) {
    journal("texte", [page] { return page->GetCurrentText(); });
    FSpeech->textReached(page->GetCurrentText());
  }
}

void ScanSession::chooseSuggestion(const QString& word) {
  if (word.isEmpty())
    return; // a slot the predictor left empty
  const frenchtext::Completion c = frenchtext::complete(FPhrase->phraseText(), word);
  FPhrase->CompleteWord(c.remove, c.insert, FView.currentPhraseFont());
  FSpeech->textChosen(word);
}

void ScanSession::learn(const QString& phrase) {
  if (FView.suggestionSlots() > 0 && !phrase.trimmed().isEmpty()) {
    FPredictor->learn(phrase);
    FTaught.insert(phrase.trimmed());
  }
}

void ScanSession::learnBoardTexts() {
  // The texts of the pages of words and phrases; the letters are no words. Bounded, so that a
  // board of thousands of texts keeps the predictor answering the person between lessons.
  // The predictor keeps which texts it was taught, so that a board opened again teaches nothing
  // new; FTaught spares it the texts of this session.
  constexpr int kMostTaughtAtOnce = 1000;
  QStringList lesson;
  for (TOnglet* page : FView.pages()) {
    if (FView.isLetterPage(page))
      continue;
    for (const QString& text : page->wholeTexts()) {
      if (lesson.size() >= kMostTaughtAtOnce)
        break;
      const QString t = text.trimmed();
      if (t.isEmpty() || FTaught.contains(t))
        continue;
      FTaught.insert(t);
      lesson << t;
    }
  }
  FPredictor->teachBoardTexts(lesson);
}
