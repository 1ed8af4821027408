// The two modes and the window's shortcuts: CTRL+C (with the password) into creation mode,
// CTRL+E back to execution mode, and CTRL+P, CTRL+O, CTRL+R, CTRL+Z, CTRL+Y in creation mode only.
#include "shell/TMainFrame.h"

#include "execution/SpeechFeedback.h"

#include "about/TAboutBox.h"
#include "board/TOnglet.h"
#include "documents/TFormMdp.h"
#include "editing/BoardHistory.h"
#include "shell/TPageControl.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>

namespace {
bool isLetterTab(const QString& caption) {
  return caption == QStringLiteral("Alphabet") || caption == QStringLiteral("Autres caractères");
}
} // namespace

bool TMainFrame::isReservedTabCaption(const QString& caption) {
  return caption == QStringLiteral("Divers") || isLetterTab(caption);
}

bool TMainFrame::FormShortCut(int key, Qt::KeyboardModifiers modifiers) {
  if (!(modifiers & Qt::ControlModifier))
    return false;
  // The tests run in order against the state of the moment, as the table of shortcuts reads.
  bool acted = false;
  if (key == Qt::Key_E && PnlModeCreation->isVisible()) {
    EnterExecutionMode();
    acted = true;
  } else if (key == Qt::Key_C && !PnlModeCreation->isVisible()) {
    EnterCreationMode();
    acted = true;
  }
  if (FExecMode)
    return acted;
  if (key == Qt::Key_P)
    BtnChangMdpClick();
  else if (key == Qt::Key_O)
    BtnOuvrirClick();
  else if (key == Qt::Key_R)
    SaveBoard(false);
  else if (key == Qt::Key_Z)
    return FHistory->undoShortcut() || acted; // in a name field the field undoes its typing
  else if (key == Qt::Key_Y)
    return FHistory->redoShortcut() || acted;
  else
    return acted;
  return true;
}

void TMainFrame::EnterExecutionMode() {
  TimerT1->setInterval(EdtT1->value() * 1000);
  TimerT2->setInterval(EdtT2->value() * 1000);
  FExecMode = true;
  FTabScanning = true;
  PnlModeCreation->hide();
  TimerT1->start();
  TimerT2->stop();
  startScanning();
  FTextNameChangeAttached = false;
  FTabNameChangeAttached = false;
  EdtNomOnglet->setEnabled(true);
  TOnglet* active = activePage();
  if (active)
    active->setFocus();
  Splitter->handle(1)->hide();
  if (active)
    active->setScrollPosition(0);
  FAllSelected = false;
  applyModeLook();
  Buttoncache->setFocus();
  journal("mode", QStringLiteral("exécution"));
}

void TMainFrame::EnterCreationMode() {
  createDialogs();
  const int result = FormMdp->exec();
  activateWindow(); // the keyboard comes back to the board, not to the closed prompt
  if (result != 1)
    return;
  if (FormMdp->GetPassword() != FPassword) {
    FServices.messages->information(QStringLiteral("Mot de passe incorrect"));
    return;
  }
  FExecMode = false;
  journal("mode", QStringLiteral("création"));
  FSpeech->stop();
  PnlModeCreation->show();
  FScanner.stop();
  TimerT1->stop();
  TimerT2->stop();
  FTextNameChangeAttached = false;
  FTabNameChangeAttached = false;
  TOnglet* active = activePage();
  TabBar->setHighlighted(-1);
  EdtNomOnglet->setText(active ? active->caption() : QString());
  // The text last highlighted may be a piece of a cut text: the text chosen for editing is the
  // whole text, through its first piece.
  for (TOnglet* page : FCurrentText ? pages() : QList<TOnglet*>()) {
    const int k = page->indexOfButton(FCurrentText);
    if (k < 0)
      continue;
    QString whole = FCurrentText->caption();
    if (k < page->textButtonCount()) {
      const int first = k - page->FPieceNumbers[size_t(k)] + 1;
      whole.clear();
      for (int i = first; i < first + page->FPieceCounts[size_t(first)]; ++i)
        whole += page->GetButtonCaption(i);
      FCurrentText = page->FButtons[size_t(first)];
    }
    EdtNomTexte->setText(whole);
    break;
  }
  EdtNomOnglet->setEnabled(active && !isReservedTabCaption(active->caption()));
  if (!active || active->GetCurrentKind() != 0)
    EdtNomTexte->setEnabled(false);
  FTextNameChangeAttached = true;
  FTabNameChangeAttached = true;
  Splitter->handle(1)->show();
  if (active)
    active->setScrollPosition(0);
  FAllSelected = true;
  BitBtnTtAff->setText(QStringLiteral("Désélectionner les textes"));
  applyModeLook();
}

void TMainFrame::applyModeLook() {
  const BoardFont& font = FExecMode || !FAllSelected ? FUnselectedFont : FSelectedFont;
  for (TOnglet* page : pages()) {
    // The texts are cut again for the new font: a larger font must not overflow the page.
    page->JoinPieces();
    page->ApplyFont(font);
    page->setReservedShown(FExecMode);
    if (isLetterTab(page->caption()))
      for (int i = 0; i < page->textButtonCount(); ++i) {
        TTextButton* b = page->FButtons[size_t(i)];
        b->setEnabled(FExecMode || b->caption().size() != 1);
      }
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
}

void TMainFrame::LogoClick() {
  createDialogs();
  AboutBox->exec();
}
