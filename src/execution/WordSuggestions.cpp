// The letter pages' suggested words: requests, answers, choices and lessons.
#include "execution/WordSuggestions.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "execution/DisplayArea.h"
#include "execution/SpeechFeedback.h"
#include "platform/ActionJournal.h"
#include "prediction/FrenchText.h"
#include "prediction/WordPredictor.h"

#include <algorithm>

WordSuggestions::WordSuggestions(BoardView& view, DisplayArea& display, SpeechFeedback& speech,
                                 WordPredictor* predictor, ActionJournal* journal, QObject* parent)
    : QObject(parent), FView(view), FDisplay(display), FSpeech(speech), FPredictor(predictor),
      FJournal(journal) {
  if (FPredictor) {
    connect(FPredictor, &WordPredictor::suggestions, this, &WordSuggestions::answered);
    // A model found damaged once opened: the suggestions go, the rest of the board stays.
    connect(FPredictor, &WordPredictor::statusChanged, this, [this] { applySlots(); });
  }
}

int WordSuggestions::slotCount() const {
  const BoardSettings& s = FView.settings();
  if (!FPredictor || !FView.execMode() || !s.prediction ||
      FPredictor->status() != WordPredictor::Status::Ok)
    return 0;
  return std::clamp(s.predictionWords, 1, WordPredictor::kMostSuggestions);
}

void WordSuggestions::applySlots() {
  const int count = slotCount();
  const bool changed = count != FView.suggestionSlots();
  if (count > 0) {
    FPredictor->setSuggestionCount(count);
    FPredictor->setReplacePassedOver(FView.settings().replacePassedOver);
  } else
    FView.showSuggestions({}); // words of another board or model are never shown again
  FView.setSuggestionSlots(count);
  if (changed)
    emit slotsChanged();
  if (changed && count > 0) {
    learnBoardTexts();
    request();
  }
}

void WordSuggestions::request() {
  if (FView.suggestionSlots() <= 0)
    return;
  FPredictor->request(++FRequestId, FDisplay.phrase().phraseText());
}

void WordSuggestions::answered(int id, const QStringList& words) {
  if (id != FRequestId || FView.suggestionSlots() <= 0)
    return;
  TOnglet* page = FView.activePage();
  const QString litBefore =
      page && page->suggestionCount() > 0 ? page->GetCurrentText() : QString();
  FView.showSuggestions(words);
  if (FJournal)
    FJournal->note("suggestions", words.join(QLatin1Char('|')));
  emit wordsShown(litBefore);
}

void WordSuggestions::choose(const QString& word) {
  if (word.isEmpty())
    return; // a slot the predictor left empty
  PhraseComposer& phrase = FDisplay.phrase();
  if (frenchtext::isEndSign(word)) {
    phrase.AppendSign(word, FView.currentPhraseFont());
  } else {
    const frenchtext::Completion c = frenchtext::complete(phrase.phraseText(), word);
    phrase.CompleteWord(c.remove, c.insert, FView.currentPhraseFont());
  }
  FSpeech.textChosen(word);
}

void WordSuggestions::learn(const QString& phrase) {
  if (FView.suggestionSlots() > 0 && !phrase.trimmed().isEmpty()) {
    FPredictor->learn(phrase);
    FTaught.insert(phrase.trimmed());
  }
}

void WordSuggestions::learnBoardTexts() {
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
