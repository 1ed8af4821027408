// Execution mode on the main window: the tab phase and the text phase of the scanning, the
// switch (a press starts the text phase, a release acts on the current button) and the bell.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "execution/QtDisplayLines.h"
#include "execution/SwitchKeyFilter.h"
#include "execution/SpeechFeedback.h"
#include "execution/SwitchKeys.h"
#include "shell/TPageControl.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

void TMainFrame::TimerT1Timer() {
  const int count = PageControl->count();
  if (count == 0)
    return; // a board without any tab has nothing to scan
  // A call is a tick that is due, whether the timer or a caller makes it.
  const qint64 now = scanNow();
  const ScanOutcome out = FScanner.tick(std::max(now, FScanner.deadline()));
  armScanTimer(out, now);
  const int next = out.view.litTab >= 0 ? out.view.litTab : PageControl->currentIndex();
  TabBar->setHighlighted(-1);
  PageControl->setCurrentIndex(next);
  TabBar->setHighlighted(next);
  TOnglet* page = activePage();
  if (!page)
    return;
  journal("onglet", page->caption());
  FSpeech->tabReached(page->caption());
  page->setScrollPosition(0);
  if (FExecMode)
    page->ApplyFont(FUnselectedFont);
  Buttoncache->setFocus();
}

void TMainFrame::TimerT2Timer() {
  TOnglet* page = activePage();
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

void TMainFrame::showTextView(TOnglet* page, const ScanView& view) {
  if (view.row >= 0 && view.item < 0) {
    // Row-column scanning: a whole row is lit.
    const ScanTab shape = scanShape(page);
    if (view.row < int(shape.rows.size())) {
      const ScanRow row = shape.rows[size_t(view.row)];
      page->LightRow(row.first, row.count);
      FTextLit = true;
      journal("rangée", [page, row] { return page->GetTextAt(row.first); });
      textReached(page->GetTextAt(row.first)); // a row is named by its first text
    }
    return;
  }
  if (view.item < 0)
    return;
  page->LightRow(-1, 0); // a row lit before goes out
  const int N = page->GetButtonCount();
  if (view.item == (page->FCurrentIndex + 1) % std::max(1, N))
    page->StepNext();
  else if (view.item < N && page->makeCurrent(page->FButtons[size_t(view.item)]))
    textReached(page->GetCurrentText()); // stepping names what it reaches itself
  // Stepping may cut a text again: the scan follows the page as it now stands.
  FScanner.updateTab(PageControl->currentIndex(), scanShape(page), page->FCurrentIndex);
  FTextLit = true;
  journal("texte", [page] { return page->GetCurrentText(); });
}

void TMainFrame::backToTabs() {
  TimerT2->stop();
  FTabScanning = true;
  // The lit tab can be chosen at once; the focus leaves the page so that nothing of it takes
  // the keyboard.
  Buttoncache->setFocus();
}

qint64 TMainFrame::scanNow() const { return FSwitch ? FSwitch->now() : 0; }

void TMainFrame::armScanTimer(const ScanOutcome& out, qint64 now) {
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
  const qint64 delay =
      std::clamp<qint64>(out.deadlineMs - now, 0, pace + running.firstItemExtraMs);
  // Each tick arms the next; a tick that comes early is harmless (the scan waits for its
  // time) and one that comes late keeps the rhythm from then.
  timer->start(int(delay));
}

void TMainFrame::applyBoardSettings() {
  for (TOnglet* page : pages()) {
    page->setGridColumns(FSettings.gridColumns, FSettings.gridFitFont);
    page->setHighlightStyle(FSettings.highlight);
  }
  TabBar->setHighlightStyle(FSettings.highlight);
  if (FSwitch)
    FSwitch->input().setSettings({FSettings.acceptanceMs, FSettings.pauseAfterSelectionMs});
}

void TMainFrame::startScanning() {
  applyBoardSettings();
  FScanner.setSettings(scanSettings());
  FScanner.setBoard(scanShapes());
  const qint64 now = scanNow();
  armScanTimer(FScanner.start(now, PageControl->currentIndex()), now);
}

ScanSettings TMainFrame::scanSettings() const {
  ScanSettings s;
  // The paces of the panel, which the timers took when the scan last started, unless the
  // board asks for finer ones.
  s.tabPaceMs = FSettings.tabPaceMs > 0 ? FSettings.tabPaceMs : EdtT1->value() * 1000;
  s.textPaceMs = FSettings.textPaceMs > 0 ? FSettings.textPaceMs : EdtT2->value() * 1000;
  s.firstItemExtraMs = FSettings.firstItemExtraMs;
  s.loopsBeforeBack = FSettings.loopsBeforeBack;
  s.rowColumn = FSettings.rowColumn;
  return s;
}

ScanTab TMainFrame::scanShape(TOnglet* page) const {
  ScanTab shape;
  shape.itemCount = page->GetButtonCount();
  for (const buttonlayout::Row& r : page->layoutRows())
    shape.rows.push_back(ScanRow{r.first, r.count});
  return shape;
}

std::vector<ScanTab> TMainFrame::scanShapes() const {
  std::vector<ScanTab> shapes;
  for (int i = 0; i < PageControl->count(); ++i) {
    auto* page = qobject_cast<TOnglet*>(PageControl->widget(i));
    ScanTab shape = page ? scanShape(page) : ScanTab{};
    shape.visible = TabBar->isTabVisible(i);
    shapes.push_back(shape);
  }
  return shapes;
}

void TMainFrame::switchReleased(int virtualKey) {
  const qint64 now = scanNow();
  FScanner.pressed(now);
  const ScanOutcome out = FScanner.released(now);
  TOnglet* page = activePage();
  if (out.rowChosen) {
    if (page)
      showTextView(page, out.view);
    armScanTimer(out, now);
    return;
  }
  FormKeyUp(virtualKey);
  // Row-column scanning starts again at the first row after a choice.
  if (page && page == activePage() && !FTabScanning && FScanner.textMode() == Scanner::TextMode::Rows) {
    showTextView(page, FScanner.view());
    armScanTimer(out, now);
  }
}

void TMainFrame::PageControlChanging() { TabBar->setHighlighted(-1); }

void TMainFrame::PageControlChange() {
  TabBar->setHighlighted(PageControl->currentIndex());
  FScanner.showTab(PageControl->currentIndex());
  TOnglet* page = activePage();
  if (!page)
    return;
  EdtNomOnglet->setEnabled(!isReservedTabCaption(page->caption()));
  EdtNomOnglet->setText(page->caption());
  page->setFocus();
  page->setScrollPosition(0);
}

void TMainFrame::PageControlMouseDown() { PageControlChange(); }

void TMainFrame::FormKeyDown(int virtualKey) {
  if (!FExecMode || !FTabScanning || !switchkeys::isSwitchKey(virtualKey))
    return;
  TOnglet* page = activePage();
  if (!page)
    return; // without any tab the switch has nothing to choose
  journal("choix-onglet", page->caption());
  FTabScanning = false;
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

void TMainFrame::FormKeyUp(int virtualKey) {
  // The switch acts only while the user scans: in creation mode a release on a text button
  // must neither write a phrase nor start a timer.
  if (!FExecMode || FTabScanning || !switchkeys::isSwitchKey(virtualKey))
    return;
  TOnglet* page = activePage();
  if (!page)
    return;
  journal("choix", [page] { return page->GetCurrentText(); });
  switch (page->GetCurrentKind()) {
  case 0: {
    const QString caption = page->caption();
    const bool letterTab =
        caption == QStringLiteral("Alphabet") || caption == QStringLiteral("Autres caractères");
    FPhrase->AppendText(page->GetCurrentText(), letterTab, FCurrentPhraseFont);
    FSpeech->textChosen(page->GetCurrentText());
    break;
  }
  case 1: { // RETOUR
    backToTabs();
    const qint64 now = scanNow();
    armScanTimer(FScanner.returnToTabs(now), now);
    break;
  }
  case 2: // CLEAR
    FPhrase->Clear();
    break;
  case 3: // AJOUT
    Ajout();
    break;
  case 4: // VALIDATION
    FSpeech->phraseClosed(FPhrase->phraseText());
    FPhrase->Validation(FValidatedFont);
    break;
  case 6: // SUPPRESSION
    FPhrase->Suppression();
    break;
  case 7: // ANNULATION
    FPhrase->Annulation();
    break;
  case 8: // SONNERIE
    Sonnerie();
    break;
  default:
    break;
  }
  journal("affichage", [this] { return Memo->toPlainText(); });
}

void TMainFrame::Ajout() {
  // The composer decides whether there is a phrase: after CLEAR or SUPPRESSION its first line
  // is the empty one left behind, and the phrase follows it.
  if (const QString phrase = FPhrase->phraseText(); !phrase.isEmpty())
    FSpeech->phraseClosed(phrase);
  const auto captionExists = [this](const QString& text) {
    for (TOnglet* page : pages())
      for (int i = 0; i < page->GetButtonCount(); ++i)
        if (page->GetButtonCaption(i) == text)
          return true;
    return false;
  };
  // A phrase the board file could not hold again is not added: it is closed as a phrase already
  // on the board is, and the message names the bound.
  const auto fits = [this](const QString& text) {
    return !boardedit::refusedPastBounds(*this, FDiversTab ? 0 : 1, {text}, {text});
  };
  const std::optional<QString> added =
      FPhrase->Ajout(FValidatedFont, [&](const QString& text) {
        return captionExists(text) || !fits(text);
      });
  if (added) {
    // A board without "Divers" must not lose the phrase: the tab is made at the end.
    if (!FDiversTab)
      FDiversTab = AddTab(QStringLiteral("Divers"), false);
    FDiversTab->AddText(true, *added, false);
    // The user's own phrase: no undo of the carer's takes it back, yet it is to be saved.
    FHistory->markChangedOutsideHistory();
    if (FDiversTab != activePage()) {
      FDiversTab->ApplyFont(FUnselectedFont);
      FDiversTab->SplitAllTexts();
      FDiversTab->ArrangeButtons();
    }
  }
  if (TOnglet* page = activePage()) {
    page->ApplyFont(FUnselectedFont);
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
  FScanner.setBoard(scanShapes()); // a new text of "Divers", a tab made for it
}

void TMainFrame::Sonnerie() {
  // Six tones, one after the other; the user's input waits while they play.
  static const int frequencies[6] = {500, 250, 500, 250, 500, 250};
  for (int hz : frequencies)
    FServices.tones->playTone(hz, 500);
}
