// The scan session outside automatic scanning: each event of the person's switches goes to the
// scanner, and what it answers is carried out on the board as the timers' ticks are: a tab or
// text lit, a tab or row chosen, a text acted on. Nothing moves unless the person or the wait
// the mode sets makes it.
#include "execution/ScanSession.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "execution/SpeechFeedback.h"
#include "execution/SwitchRouting.h"

#include <QWidget>

#include <algorithm>

bool ScanSession::stepping() const {
  return FScanner.running().mode != AccessMode::Automatic;
}

void ScanSession::switchEvent(const SwitchInput::Event& e) {
  if (!FView.execMode() || FScanner.phase() == Scanner::Phase::Stopped)
    return;
  const qint64 now = scanNow();
  if (FScanner.phase() == Scanner::Phase::Tabs)
    FScanner.setBoard(scanShapes()); // a tab chosen now is scanned as it stands
  showStepOutcome(switchrouting::route(FScanner, e, now), now);
}

void ScanSession::stepTimerTimer() {
  const qint64 now = scanNow();
  // A call is a step that is due, whether the timer or a caller makes it.
  showStepOutcome(FScanner.tick(std::max(now, FScanner.deadline())), now);
}

void ScanSession::armStepTimer(const ScanOutcome& out, qint64 now) {
  TimerT1->stop();
  TimerT2->stop();
  if (FScanner.phase() == Scanner::Phase::Stopped || out.deadlineMs < 0) {
    FStepTimer->stop();
    return;
  }
  const ScanSettings& running = FScanner.running();
  const int longest =
      std::max({running.tabPaceMs, running.textPaceMs, running.dwellMs}) + running.firstItemExtraMs;
  FStepTimer->start(int(std::clamp<qint64>(out.deadlineMs - now, 0, longest)));
}

void ScanSession::showLitTab(int tab) {
  FView.tabBar()->setHighlighted(-1);
  FView.pageControl()->setCurrentIndex(tab);
  FView.tabBar()->setHighlighted(tab);
  TOnglet* page = FView.activePage();
  if (!page)
    return;
  journal("onglet", page->caption());
  FSpeech->tabReached(page->caption());
  page->setScrollPosition(0);
  if (FView.execMode())
    page->ApplyFont(FView.unselectedFont());
  FFocusHolder->setFocus();
}

void ScanSession::showStepOutcome(const ScanOutcome& out, qint64 now) {
  if (out.acted())
    FSwitch->input().noteAction(now); // the pause after a selection starts here
  TOnglet* page = FView.activePage();
  if (out.tabChosen && page) {
    journal("choix-onglet", page->caption());
    FView.setTabScanning(false);
    page->ResetCurrent();
    FTextLit = false;
  } else if (out.chosenItem >= 0 && page) {
    chooseCurrent(*page);
    if (FScanner.phase() != Scanner::Phase::Texts || page != FView.activePage()) {
      // RETOUR took the scan back to the tabs: the tab left stays lit as it was.
      FShown = FScanner.view();
      FShownTabs = true;
      armStepTimer(FScanner.current(), now);
      return;
    }
  }
  // After a choice the highlight goes where the scanner put it (the first suggestion, the
  // first row), or stays.
  const ScanOutcome shown = out.chosenItem >= 0 ? FScanner.current() : out;
  const ScanView& v = shown.view;
  const bool tabs = FScanner.phase() == Scanner::Phase::Tabs;
  if (tabs != FShownTabs || v != FShown || out.tabChosen) {
    if (tabs && v.litTab >= 0 && (v.litTab != FShown.litTab || !FShownTabs))
      showLitTab(v.litTab);
    else if (!tabs && page && (v.item >= 0 || v.row >= 0))
      showTextView(page, v);
    else if (!tabs && page)
      page->LightRow(-1, 0); // nothing lit until the next press
  }
  FShown = v;
  FShownTabs = tabs;
  armStepTimer(shown, now);
}
