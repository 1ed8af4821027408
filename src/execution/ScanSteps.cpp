// The scan session's steps: the two timers' ticks, the tab strip's clicks and the switch (a
// press chooses the lit tab, a release acts on the lit text or row), each carried out on the
// board view as the scanner decides.
#include "execution/ScanSession.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "execution/CommandActions.h"
#include "execution/DisplayArea.h"
#include "execution/SpeechFeedback.h"
#include "execution/WordSuggestions.h"
#include "platform/SwitchKeys.h"

#include <QWidget>

#include <algorithm>

void ScanSession::TimerT1Timer() {
  const int count = FView.pageCount();
  if (count == 0)
    return; // a board without any tab has nothing to scan
  // A call is a tick that is due, whether the timer or a caller makes it.
  const qint64 now = scanNow();
  const ScanOutcome out = FScanner.tick(std::max(now, FScanner.deadline()));
  armScanTimer(out, now);
  showLitTab(out.view.litTab >= 0 ? out.view.litTab : FView.currentIndex());
}

void ScanSession::TimerT2Timer() {
  TOnglet* page = FView.activePage();
  if (!page)
    return;
  if (FScanner.phase() != Scanner::Phase::Texts) {
    // No text scan runs (the tick was asked for by hand): one step on the page.
    page->StepNext();
    FTextLit = true;
    journal("texte", [page] { return page->GetCurrentText(); });
    return;
  }
  const qint64 now = scanNow();
  const ScanOutcome out = FScanner.tick(std::max(now, FScanner.deadline()));
  if (out.backToTabs) {
    // Loops over the tab without a choice: the scan goes back to the tabs by itself.
    journal("retour-automatique", page->caption());
    backToTabs();
    armScanTimer(out, now);
    return;
  }
  showTextView(page, out.view);
  armScanTimer(out, now);
}

void ScanSession::showTextView(TOnglet* page, const ScanView& view) {
  if (view.row >= 0 && view.item < 0) {
    // Row-column scanning: a whole row is lit.
    const ScanTab shape = scanShape(page);
    if (view.row < int(shape.rows.size())) {
      const ScanRow row = shape.rows[size_t(view.row)];
      page->LightRow(row.first, row.count);
      FTextLit = true;
      journal("rangée", [page, row] { return page->GetTextAt(row.first); });
      FSpeech->textReached(page->GetTextAt(row.first)); // a row is named by its first text
    }
    return;
  }
  if (view.item < 0)
    return;
  page->LightRow(-1, 0); // a row lit before goes out
  const int N = page->itemCount();
  if (view.item == (page->currentIndex() + 1) % std::max(1, N))
    page->StepNext();
  else if (view.item < N && page->makeCurrent(page->itemButton(view.item)))
    FSpeech->textReached(page->GetCurrentText()); // stepping names what it reaches itself
  // Stepping may cut a text again: the scan follows the page as it now stands.
  FScanner.updateTab(FView.currentIndex(), scanShape(page), page->currentIndex());
  FTextLit = true;
  journal("texte", [page] { return page->GetCurrentText(); });
}

void ScanSession::backToTabs() {
  TimerT2->stop();
  FView.setTabScanning(true);
  // The lit tab can be chosen at once; the focus leaves the page so that nothing of it takes
  // the keyboard.
  FFocusHolder->setFocus();
}

qint64 ScanSession::scanNow() const {
  return FSwitch ? FSwitch->now() : 0;
}

void ScanSession::armScanTimer(const ScanOutcome& out, qint64 now) {
  if (stepping()) {
    armStepTimer(out, now); // no pace steps the highlight: one timer waits for the deadline
    return;
  }
  if (FScanner.phase() == Scanner::Phase::Stopped || out.deadlineMs < 0) {
    TimerT1->stop();
    TimerT2->stop();
    return;
  }
  const bool tabs = FScanner.phase() == Scanner::Phase::Tabs;
  QTimer* timer = tabs ? TimerT1 : TimerT2;
  (tabs ? TimerT2 : TimerT1)->stop();
  const ScanSettings& running = FScanner.running();
  const int pace = tabs ? running.tabPaceMs : running.textPaceMs;
  // Never longer than a step can last: a caller that ticks ahead of time (a test) must not
  // push the timer out.
  const qint64 delay = std::clamp<qint64>(out.deadlineMs - now, 0, pace + running.firstItemExtraMs);
  // Each tick arms the next; a tick that comes early is harmless (the scan waits for its
  // time) and one that comes late keeps the rhythm from then.
  timer->start(int(delay));
}

void ScanSession::switchReleased(int virtualKey) {
  const qint64 now = scanNow();
  FScanner.pressed(now);
  const ScanOutcome out = FScanner.released(now);
  TOnglet* page = FView.activePage();
  if (out.rowChosen) {
    if (page)
      showTextView(page, out.view);
    armScanTimer(out, now);
    return;
  }
  FormKeyUp(virtualKey);
  // Row-column scanning starts again at the first row after a choice, and a page with
  // suggestions at its first item.
  const bool restarted = FScanner.textMode() == Scanner::TextMode::Rows ||
                         (out.chosenItem >= 0 && FScanner.textMode() == Scanner::TextMode::Linear &&
                          FScanner.view().item == 0 && page && page->suggestionCount() > 0);
  if (page && page == FView.activePage() && !FView.tabScanning() && restarted) {
    showTextView(page, FScanner.view());
    armScanTimer(out, now);
  }
}

void ScanSession::PageControlChanging() {
  FView.tabBar()->setHighlighted(-1);
}

void ScanSession::PageControlChange() {
  FView.tabBar()->setHighlighted(FView.currentIndex());
  FScanner.showTab(FView.currentIndex());
  TOnglet* page = FView.activePage();
  if (!page)
    return;
  FView.announceActiveTab();
  page->setFocus();
  page->setScrollPosition(0);
}

void ScanSession::PageControlMouseDown() {
  PageControlChange();
}

void ScanSession::FormKeyDown(int virtualKey) {
  if (!FView.execMode() || !FView.tabScanning() || !switchkeys::isSwitchKey(virtualKey))
    return;
  TOnglet* page = FView.activePage();
  if (!page)
    return; // without any tab the switch has nothing to choose
  journal("choix-onglet", page->caption());
  FView.setTabScanning(false);
  FTextLit = false;
  page->ResetCurrent();
  TimerT1->stop();
  TimerT2->start();
  // The scan is told of the whole press: its release never acts.
  const qint64 now = scanNow();
  FScanner.setBoard(scanShapes());
  const ScanOutcome out = FScanner.pressed(now);
  FScanner.released(now);
  armScanTimer(out, now);
}

void ScanSession::FormKeyUp(int virtualKey) {
  // The switch acts only while the user scans: in creation mode a release on a text button
  // must neither write a phrase nor start a timer.
  if (!FView.execMode() || FView.tabScanning() || !switchkeys::isSwitchKey(virtualKey))
    return;
  if (TOnglet* page = FView.activePage())
    chooseCurrent(*page);
}

void ScanSession::chooseCurrent(TOnglet& page) {
  journal("choix", [&page] { return page.GetCurrentText(); });
  if (const ButtonKind kind = page.GetCurrentKind(); kind == ButtonKind::Suggestion)
    FSuggestions->choose(page.GetCurrentText());
  else
    FCommands->run(kind, page);
  journal("affichage", [this] { return FDisplay->text(); });
  FSuggestions->request();
}

void ScanSession::connectSwitch(QWidget* window, SwitchKeyFilter::Shortcuts shortcuts) {
  FSwitch = new SwitchKeyFilter(window, std::move(shortcuts), this);
  SwitchInput& input = FSwitch->input();
  input.phaseSource = [this] {
    if (!FView.execMode())
      return SwitchInput::Phase::Off;
    if (FView.tabScanning())
      return SwitchInput::Phase::Tabs;
    return FTextLit ? SwitchInput::Phase::Texts : SwitchInput::Phase::TextsWaiting;
  };
  input.onTabChosen = [this](int virtualKey) { FormKeyDown(virtualKey); };
  // While the switch decides, the highlight holds still: the choice is what was lit.
  input.onHoldStarted = [this](SwitchInput::Hold hold) {
    const qint64 now = scanNow();
    armScanTimer(FScanner.hold(now, hold == SwitchInput::Hold::Acceptance), now);
  };
  input.onHoldEnded = [this] {
    const qint64 now = scanNow();
    armScanTimer(FScanner.resume(now), now);
  };
  input.onItemActivated = [this](int virtualKey) { switchReleased(virtualKey); };
  input.onSwitch = [this](const SwitchInput::Event& e) { switchEvent(e); };
}
