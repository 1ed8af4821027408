// The scan session: what the person who uses the board does with the switch. It owns the
// scanning decisions (Scanner), the switch (its key filter and input), the two timers that step
// the highlight, and the parts the switch acts through: the display area, the command actions,
// the suggested words, speech feedback and the acceptance bar. It acts on the board view it is
// given; the window starts and stops it.
#pragma once

#include "documents/BoardSettings.h"
#include "execution/AcceptanceBar.h"
#include "execution/Scanner.h"
#include "execution/SwitchKeyFilter.h"
#include "platform/BoardFont.h"
#include "platform/Services.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class ActionJournal;
class BoardView;
class CommandActions;
class DisplayArea;
class PhraseComposer;
class QWidget;
class SpeechFeedback;
class TOnglet;
class WordPredictor;
class WordSuggestions;

class ScanSession : public QObject {
  Q_OBJECT
public:
  // `window` is the board window whose keys are the switch's; the display area is made as a
  // child of `displayParent`; `focusHolder` takes the keyboard while tabs are scanned. The
  // journal may be null (none is kept), and so may the predictor (no suggestions ever); neither
  // is owned. `shortcuts` are the window's Ctrl keys.
  ScanSession(const Services& services, BoardView& view, ActionJournal* journal, QWidget* window,
              QWidget* displayParent, QWidget* focusHolder, WordPredictor* predictor = nullptr,
              SwitchKeyFilter::Shortcuts shortcuts = {});
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
  // Both timers stopped (the window closes).
  void stopTimers();

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
  // Outside automatic scanning: an event of one of the person's switches.
  void switchEvent(const SwitchInput::Event& e);
  // Whether the scan runs in a mode other than automatic scanning.
  bool stepping() const;
  int suggestionSlots() const;

  ScanSettings scanSettings() const;
  std::vector<ScanTab> scanShapes() const;
  ScanTab scanShape(TOnglet* page) const;
  bool tabScanning() const;
  void setTabScanning(bool tabs);

  Scanner& scanner() { return FScanner; }
  SwitchKeyFilter& switchFilter() { return *FSwitch; }
  PhraseComposer& phrase();
  DisplayArea& display() { return *FDisplay; }
  CommandActions& commands() { return *FCommands; }
  WordSuggestions& suggestions() { return *FSuggestions; }
  SpeechFeedback& speech() { return *FSpeech; }
  AcceptanceBar* acceptanceBar() const { return FAcceptanceBar; }
  void tryVoice(const BoardSettings& settings);
  // The two scanning timers, for looking at: the tab phase's and the text phase's.
  const QTimer& tabTimer() const { return *TimerT1; }
  const QTimer& textTimer() const { return *TimerT2; }

signals:
  // The user's own phrase became a text of the board (AJOUT): the board is to be saved.
  void userTextAdded();

private:
  void connectSwitch(QWidget* window, SwitchKeyFilter::Shortcuts shortcuts);
  void makeAcceptanceBar();
  qint64 scanNow() const;
  // The timer of the phase armed for the scan's next step; `now` is the time the scan was
  // given, so that a step that starts now lasts exactly its pace.
  void armScanTimer(const ScanOutcome& out, qint64 now);
  void showTextView(TOnglet* page, const ScanView& view);
  // The current item of the page chosen: its command run, its text written.
  void chooseCurrent(TOnglet& page);
  // Outside automatic scanning: the scanner's answer carried out on the board, and the one
  // timer that waits for its next deadline (a held switch's step, a dwell's choice).
  void showStepOutcome(const ScanOutcome& out, qint64 now);
  // The tab lit, in every mode: the strip, the page, what is said and journalled.
  void showLitTab(int tab);
  void armStepTimer(const ScanOutcome& out, qint64 now);
  void stepTimerTimer();
  void backToTabs();
  // The scan takes the board's shape again (a tab or text added, the suggestions' row).
  void reshapeScan();
  // New words shown on the letter pages while one is scanned: the scan follows the page.
  void followSuggestions(const QString& litBefore);
  void journal(const char* event, const QString& detail = QString());
  // The detail worked out only when a journal is kept: the scanning step must not pay for it.
  void journal(const char* event, const std::function<QString()>& detail);

  Services FServices;
  BoardView& FView;
  ActionJournal* FJournal;
  QWidget* FFocusHolder;
  Scanner FScanner;
  // In the text phase, whether a text is lit yet (a release before the first tick does
  // nothing).
  bool FTextLit = false;
  QTimer* TimerT1;
  QTimer* TimerT2;
  QTimer* FStepTimer;
  // Outside automatic scanning: what was last shown lit, so that an answer that changes nothing
  // (a switch let go, a wait started) neither lights nor names it again.
  ScanView FShown;
  bool FShownTabs = true;
  std::unique_ptr<DisplayArea> FDisplay;
  std::unique_ptr<SpeechFeedback> FSpeech;
  CommandActions* FCommands;
  WordSuggestions* FSuggestions;
  // The switch and the shortcuts: every key event of the application passes through it.
  SwitchKeyFilter* FSwitch = nullptr;
  // A held switch being accepted. A child of the window, yet it asks this session: it goes with
  // it.
  QPointer<AcceptanceBar> FAcceptanceBar;
};
