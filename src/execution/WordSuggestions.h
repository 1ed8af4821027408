// The suggested words of the letter pages: how many the board shows, the requests to the
// predictor as the phrase changes and its answers (only the latest counts), a chosen word
// written in place of its letters, and what the predictor learns from the board and from the
// person's own phrases.
#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>

class ActionJournal;
class BoardView;
class DisplayArea;
class SpeechFeedback;
class WordPredictor;

class WordSuggestions : public QObject {
  Q_OBJECT
public:
  // The predictor may be null (no suggestions ever); neither it nor the journal is owned.
  WordSuggestions(BoardView& view, DisplayArea& display, SpeechFeedback& speech,
                  WordPredictor* predictor, ActionJournal* journal, QObject* parent = nullptr);

  // How many suggestions the letter pages carry now: the board's number when its prediction is
  // on, in execution mode, with a model that works; else 0.
  int slotCount() const;
  // The letter pages given their suggestion buttons (or none).
  void applySlots();
  // Asks for the words that fit the phrase as it now stands; the answer comes later.
  void request();
  // A suggestion chosen with the switch finishes the word being written.
  void choose(const QString& word);
  // The person's own words teach the predictor, when the board predicts.
  void learn(const QString& phrase);

signals:
  // The letter pages gained or lost their row of suggestions.
  void slotsChanged();
  // New words are on the letter pages (rows may have moved); `litBefore` is the text the active
  // page had lit before they came.
  void wordsShown(const QString& litBefore);

private:
  void answered(int id, const QStringList& words);
  void learnBoardTexts();

  BoardView& FView;
  DisplayArea& FDisplay;
  SpeechFeedback& FSpeech;
  WordPredictor* FPredictor;
  ActionJournal* FJournal;
  int FRequestId = 0; // of the latest request: older answers are dropped
  // The board's texts already taught in this run: entering execution mode again teaches only
  // what is new.
  QSet<QString> FTaught;
};
