// The scan session: what the person who uses the board does with the switch. It owns the
// scanning decisions (Scanner), the switch (its key filter and input), the two timers that step
// the highlight, the display area and the phrase being composed, speech feedback and the
// acceptance bar. It acts on the board view it is given; the window starts and stops it. With a
// word predictor, the letter pages offer the words that finish the one being written.
#pragma once

#include "documents/BoardSettings.h"
#include "execution/PhraseComposer.h"
#include "execution/Scanner.h"
#include "platform/BoardFont.h"
#include "platform/Services.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>
#include <memory>

class AcceptanceBar;
class ActionJournal;
class BoardView;
class QTextEdit;
class QTimer;
class QWidget;
class QtDisplayLines;
class SpeechFeedback;
class SwitchKeyFilter;
class TOnglet;
class TTextButton;
class WordPredictor;

class ScanSession : public QObject {
  Q_OBJECT
public:
  // `window` is the board window whose keys are the switch's; the display area is made as a
  // child of `displayParent`; `focusHolder` takes the keyboard while tabs are scanned. The
  // journal may be null (none is kept), and so may the predictor (no suggestions ever); neither
  // is owned.
  ScanSession(const Services& services, BoardView& view, ActionJournal* journal, QWidget* window,
              QWidget* displayParent, QWidget* focusHolder, WordPredictor* predictor = nullptr);
  ~ScanSession() override;

  // Execution mode begins (the board's paces, from the first tab) or ends.
  void enterExecution();
  void leaveExecution();
  // The board's switch, layout and highlight settings taken again.
  void applyBoardSettings();
  void startScanning();
  // The timers take the paces of a board just put on screen.
  void takeBoardPaces();
  void ClearDisplay();
  void setDisplayColour(TColor color);

  // The two timers' ticks, the tab strip's clicks and the switch.
  void TimerT1Timer();
  void TimerT2Timer();
  void PageControlChanging();
  void PageControlChange();
  void PageControlMouseDown();
  void FormKeyDown(int virtualKey);
  void FormKeyUp(int virtualKey);
  // The switch acted in the text phase (the item chosen is the page's current one).
  void switchReleased(int virtualKey);
  void Ajout();
  void Sonnerie();
  // How many suggestions the letter pages carry now: the board's number when its prediction is
  // on, in execution mode, with a model that works; else 0.
  int suggestionSlots() const;

  ScanSettings scanSettings() const;
  std::vector<ScanTab> scanShapes() const;
  ScanTab scanShape(TOnglet* page) const;
  bool tabScanning() const { return FTabScanning; }
  void setTabScanning(bool tabs) { FTabScanning = tabs; }

  Scanner& scanner() { return FScanner; }
  SwitchKeyFilter& switchFilter() { return *FSwitch; }
  PhraseComposer& phrase() { return *FPhrase; }
  SpeechFeedback& speech() { return *FSpeech; }
  AcceptanceBar* acceptanceBar() const { return FAcceptanceBar; }
  void tryVoice(const BoardSettings& settings);

  QTextEdit* Memo;
  QTimer* TimerT1;
  QTimer* TimerT2;

signals:
  // The user's own phrase became a text of the board (AJOUT): the board is to be saved.
  void userTextAdded();

private:
  void connectSwitch(QWidget* window);
  qint64 scanNow() const;
  // The timer of the phase armed for the scan's next step; `now` is the time the scan was
  // given, so that a step that starts now lasts exactly its pace.
  void armScanTimer(const ScanOutcome& out, qint64 now);
  void showTextView(TOnglet* page, const ScanView& view);
  void backToTabs();
  // The letter pages given their suggestion buttons (or none), and the scan the shape of them.
  void applySuggestionSlots();
  // Asks for the words that fit the phrase as it now stands; the answer comes later.
  void requestSuggestions();
  void suggestionsAnswered(int id, const QStringList& words);
  void chooseSuggestion(const QString& word);
  // The person's own words teach the predictor, when the board predicts.
  void learn(const QString& phrase);
  void learnBoardTexts();
  void journal(const char* event, const QString& detail = QString());
  // The detail worked out only when a journal is kept: the scanning step must not pay for it.
  void journal(const char* event, const std::function<QString()>& detail);

  Services FServices;
  BoardView& FView;
  ActionJournal* FJournal;
  QWidget* FFocusHolder;
  Scanner FScanner;
  bool FTabScanning = false;
  // In the text phase, whether a text is lit yet (a release before the first tick does
  // nothing).
  bool FTextLit = false;
  std::unique_ptr<QtDisplayLines> FDisplay;
  std::unique_ptr<PhraseComposer> FPhrase;
  std::unique_ptr<SpeechFeedback> FSpeech;
  // The switch and the shortcuts: every key event of the application passes through it.
  SwitchKeyFilter* FSwitch = nullptr;
  AcceptanceBar* FAcceptanceBar = nullptr; // a held switch being accepted
  WordPredictor* FPredictor;
  int FRequestId = 0; // of the latest request: older answers are dropped
  // The board's texts already taught in this run: entering execution mode again teaches only
  // what is new.
  QSet<QString> FTaught;
};
