// The tab commands of the creation panel: add, delete, rename, move, and the tab pace.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/ReservedNameGuard.h"
#include "shell/TPageControl.h"

#include <QLineEdit>
#include <QSpinBox>

namespace {
const QString kReserved = QStringLiteral("Désolé ce texte est réservé");
}

// Each command is pushed on the edit history, which runs it: the board changes only there.
void TMainFrame::BtnAjoutOnglClick() {
  if (boardedit::refusedPastBounds(*this, 1, {}, {}))
    return;
  FHistory->push(new AddTabCommand(*this, pageCount(), QStringLiteral("Onglet%1").arg(FTabCounter),
                                   FTabCounter + 1));
}

void TMainFrame::BtnSupprOnglClick() {
  TOnglet* page = activePage();
  if (!page || isReservedTabCaption(page->caption()))
    return;
  FHistory->push(new DeleteTabCommand(*this, PageControl->currentIndex(), page->caption(),
                                      page->wholeTexts()));
}

void TMainFrame::BtnAvtOnglClick() {
  const int i = PageControl->currentIndex();
  if (i <= 0)
    return;
  FHistory->push(new MoveTabCommand(*this, i, i - 1));
}

void TMainFrame::BtnSuivOnglClick() {
  const int i = PageControl->currentIndex();
  if (i < 0 || i >= PageControl->count() - 1)
    return;
  FHistory->push(new MoveTabCommand(*this, i, i + 1));
}

void TMainFrame::EdtNomOngletChange() {
  TOnglet* page = activePage();
  if (!page || page->caption() == EdtNomOnglet->text())
    return;
  // A carer who renamed a tab expects to be asked to save it; typing a name is one step.
  FHistory->push(new RenameTabCommand(*this, PageControl->currentIndex(), page->caption(),
                                      EdtNomOnglet->text()));
}

bool TMainFrame::EdtNomOngletExit() {
  // A field disabled while it had the focus shows a reserved tab's own name: nobody typed it.
  if (!EdtNomOnglet->isEnabled())
    return true;
  // Case folds (accented capitals too) while accents stay significant.
  if (!ReservedNameGuard::isReservedTabName(EdtNomOnglet->text()))
    return true;
  // The caller puts the focus back once this leaving is over: taking it back from inside the
  // leaving would make the field lose it a second time and say so twice.
  FServices.messages->information(kReserved);
  return false;
}

void TMainFrame::EdtT1Change() {
  // A whole-second pace chosen now replaces the finer one; an undo brings that back.
  FHistory->push(ScanSetupCommand::paceTyped(*this, 1, FHistory->shownPace(1)));
}
