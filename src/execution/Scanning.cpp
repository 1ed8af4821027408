// Execution mode on the main window: the tab phase and the text phase of the scanning, the
// switch (a press starts the text phase, a release acts on the current button) and the bell.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "execution/QtDisplayLines.h"
#include "execution/SpeechFeedback.h"
#include "execution/SwitchKeys.h"
#include "shell/TPageControl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void TMainFrame::TimerT1Timer() {
  const int count = PageControl->count();
  if (count == 0)
    return; // a board without any tab has nothing to scan
  TabBar->setHighlighted(-1);
  const int current = PageControl->currentIndex();
  int next = current;
  for (int step = 1; step <= count; ++step) {
    const int candidate = (current + step) % count;
    if (TabBar->isTabVisible(candidate)) {
      next = candidate;
      break;
    }
  }
  PageControl->setCurrentIndex(next);
  TabBar->setHighlighted(next);
  TOnglet* page = activePage();
  if (!page)
    return;
  FSpeech->tabReached(page->caption());
  page->setScrollPosition(0);
  if (FExecMode)
    page->ApplyFont(FUnselectedFont);
  Buttoncache->setFocus();
}

void TMainFrame::TimerT2Timer() {
  if (TOnglet* page = activePage())
    page->StepNext();
}

void TMainFrame::PageControlChanging() { TabBar->setHighlighted(-1); }

void TMainFrame::PageControlChange() {
  TabBar->setHighlighted(PageControl->currentIndex());
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
  FTabScanning = false;
  page->ResetCurrent();
  TimerT1->stop();
  TimerT2->start();
}

void TMainFrame::FormKeyUp(int virtualKey) {
  // The switch acts only while the user scans: in creation mode a release on a text button
  // must neither write a phrase nor start a timer.
  if (!FExecMode || FTabScanning || !switchkeys::isSwitchKey(virtualKey))
    return;
  TOnglet* page = activePage();
  if (!page)
    return;
  switch (page->GetCurrentKind()) {
  case 0: {
    const QString caption = page->caption();
    const bool letterTab =
        caption == QStringLiteral("Alphabet") || caption == QStringLiteral("Autres caractères");
    FPhrase->AppendText(page->GetCurrentText(), letterTab, FCurrentPhraseFont);
    FSpeech->textChosen(page->GetCurrentText());
    break;
  }
  case 1: // RETOUR
    TimerT2->stop();
    TimerT1->start();
    FTabScanning = true;
    break;
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
}

void TMainFrame::Ajout() {
  if (FDisplay->line(FPhrase->FPhraseStartLine).isEmpty())
    return;
  FSpeech->phraseClosed(FPhrase->phraseText());
  const auto captionExists = [this](const QString& text) {
    for (TOnglet* page : pages())
      for (int i = 0; i < page->GetButtonCount(); ++i)
        if (page->GetButtonCaption(i) == text)
          return true;
    return false;
  };
  const std::optional<QString> added = FPhrase->Ajout(FValidatedFont, captionExists);
  if (added) {
    // A board without "Divers" must not lose the phrase: the tab is made at the end.
    if (!FDiversTab)
      FDiversTab = AddTab(QStringLiteral("Divers"), false);
    FDiversTab->AddText(true, *added, false);
    FSaved = false;
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
}

void TMainFrame::Sonnerie() {
  // Six tones, one after the other; the user's input waits while they play.
  static const int frequencies[6] = {500, 250, 500, 250, 500, 250};
  for (int hz : frequencies)
    FServices.tones->playTone(hz, 500);
}
