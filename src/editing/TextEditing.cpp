// The text commands of the creation panel: add, delete, rename, move inside the tab or to a
// neighbouring tab, and the text pace. They act on the chosen text only when it lies on the
// active tab: a text of another tab (or one already gone) is never touched.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "shell/TPageControl.h"

#include <QLineEdit>

namespace {
const QString kReserved = QStringLiteral("Désolé ce texte est réservé");
}

int TMainFrame::chosenTextIndex() const {
  TOnglet* page = activePage();
  if (!page || !FCurrentText)
    return -1;
  const int i = page->indexOfButton(FCurrentText);
  return i >= 0 && i < page->textButtonCount() ? i : -1;
}

void TMainFrame::BtnAjoutTexteClick() {
  if (TOnglet* page = activePage()) {
    page->AddText(false, QString(), true);
    EdtNomTexte->setEnabled(true);
  }
  FSaved = false;
}

void TMainFrame::BtnSupprTexteClick() {
  TOnglet* page = activePage();
  if (!page || !FCurrentText)
    return;
  page->JoinPieces();
  const int i = chosenTextIndex();
  if (i < 0) {
    page->SplitAllTexts();
    page->ArrangeButtons();
    return;
  }
  page->DeleteButton(FCurrentText);
  FCurrentText = nullptr;
  FSaved = false;
  if (i != 0 && page->textButtonCount() > 0) {
    TTextButton* neighbour = page->FButtons[size_t(i < page->textButtonCount() ? i : i - 1)];
    neighbour->setFocus();
    page->SelectButton(neighbour);
  }
  page->SplitAllTexts();
  page->ArrangeButtons();
}

void TMainFrame::EdtNomTexteChange() {
  TOnglet* page = activePage();
  if (!page || !FCurrentText)
    return;
  page->JoinPieces();
  if (chosenTextIndex() >= 0 && FCurrentText->caption() != EdtNomTexte->text()) {
    FCurrentText->setCaption(EdtNomTexte->text());
    const TMeasureLabel& measure = FAllSelected ? FSelectedMeasure : FUnselectedMeasure;
    FCurrentText->resize(measure.width(EdtNomTexte->text()) + 16, FCurrentText->height());
    FSaved = false; // a renamed text is a change the carer expects to be asked to save
  }
  page->SplitAllTexts();
  page->ArrangeButtons();
}

bool TMainFrame::EdtNomTexteExit() {
  static const QStringList reserved = {
      QStringLiteral("RETOUR"),      QStringLiteral("retour"),     QStringLiteral("CLEAR"),
      QStringLiteral("clear"),       QStringLiteral("AJOUT"),      QStringLiteral("ajout"),
      QStringLiteral("VALIDATION"),  QStringLiteral("validation"), QStringLiteral("SUPPRESSION"),
      QStringLiteral("suppression"), QStringLiteral("SONNERIE"),   QStringLiteral("sonnerie"),
      QStringLiteral("ANNULATION"),  QStringLiteral("annulation")};
  // A field disabled while it had the focus is not being left by the carer.
  if (!EdtNomTexte->isEnabled())
    return true;
  if (!reserved.contains(EdtNomTexte->text()))
    return true;
  // The caller puts the focus back once this leaving is over (see EdtNomOngletExit).
  FServices.messages->information(kReserved);
  return false;
}

void TMainFrame::BtnAvtTexteClick() {
  moveChosenTextWithinTab(true);
}

void TMainFrame::BtnSuivRTexteClick() {
  moveChosenTextWithinTab(false);
}

void TMainFrame::moveChosenTextWithinTab(bool back) {
  TOnglet* page = activePage();
  if (!page)
    return;
  page->JoinPieces();
  if (chosenTextIndex() >= 0) {
    if (back)
      page->MoveButtonBack(FCurrentText);
    else
      page->MoveButtonForward(FCurrentText);
    FSaved = false;
  }
  page->SplitAllTexts();
  page->ArrangeButtons();
}

void TMainFrame::BtnOngletAvtClick() {
  moveChosenTextToTab(-1);
}

void TMainFrame::BtnOngletSuivClick() {
  moveChosenTextToTab(+1);
}

void TMainFrame::moveChosenTextToTab(int direction) {
  TOnglet* page = activePage();
  const int index = PageControl->currentIndex();
  const int target = index + direction;
  if (!page || !FCurrentText || target < 0 || target >= PageControl->count())
    return;
  page->JoinPieces();
  if (chosenTextIndex() < 0) {
    page->SplitAllTexts();
    page->ArrangeButtons();
    return;
  }
  const QString caption = FCurrentText->caption();
  page->DeleteButton(FCurrentText);
  page->SplitAllTexts();
  page->ArrangeButtons();
  PageControl->setCurrentIndex(target);
  TOnglet* to = activePage();
  to->AddText(true, caption, true);
  FCurrentText = to->GetCurrentButton();
  FSaved = false;
  to->SplitAllTexts();
  to->ArrangeButtons();
  // The tab name field follows the tab now shown, as the tab commands keep it.
  {
    const bool attached = FTabNameChangeAttached;
    FTabNameChangeAttached = false;
    EdtNomOnglet->setText(to->caption());
    FTabNameChangeAttached = attached;
  }
  EdtNomOnglet->setEnabled(!isReservedTabCaption(to->caption()));
}

void TMainFrame::EdtT2Change() {
  FSaved = false;
  FSettings.textPaceMs = 0; // a whole-second pace chosen now replaces the finer one
}
