// The tab commands of the creation panel: add, delete, rename, move, and the tab pace.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "shell/TPageControl.h"

#include <QLineEdit>

namespace {
const QString kReserved = QStringLiteral("Désolé ce texte est réservé");
}

void TMainFrame::BtnAjoutOnglClick() {
  TabBar->setHighlighted(-1);
  AddTab(QString());
  FSaved = false;
  TabBar->setHighlighted(PageControl->currentIndex());
}

void TMainFrame::BtnSupprOnglClick() {
  TOnglet* page = activePage();
  if (!page || isReservedTabCaption(page->caption()))
    return;
  const int i = PageControl->currentIndex();
  PageControl->removeTab(i);
  delete page; // FCurrentText and the reserved-tab references forget it by themselves
  if (PageControl->count() > 0)
    PageControl->setCurrentIndex(i < PageControl->count() ? i : i - 1);
  TOnglet* now = activePage();
  EdtNomOnglet->setText(now ? now->caption() : QString());
  FSaved = false;
  EdtNomOnglet->setEnabled(now && !isReservedTabCaption(now->caption()));
}

void TMainFrame::BtnAvtOnglClick() {
  const int i = PageControl->currentIndex();
  if (i <= 0)
    return;
  TabBar->moveTab(i, i - 1);
  FSaved = false;
}

void TMainFrame::BtnSuivOnglClick() {
  const int i = PageControl->currentIndex();
  if (i < 0 || i >= PageControl->count() - 1)
    return;
  TabBar->moveTab(i, i + 1);
  FSaved = false;
}

void TMainFrame::EdtNomOngletChange() {
  TOnglet* page = activePage();
  if (!page || page->caption() == EdtNomOnglet->text())
    return;
  page->setCaption(EdtNomOnglet->text());
  // A carer who renamed a tab expects to be asked to save it.
  FSaved = false;
}

bool TMainFrame::EdtNomOngletExit() {
  // A field disabled while it had the focus shows a reserved tab's own name: nobody typed it.
  if (!EdtNomOnglet->isEnabled())
    return true;
  const QString text = EdtNomOnglet->text();
  for (const QString& reserved : {QStringLiteral("Divers"), QStringLiteral("Alphabet"),
                                  QStringLiteral("Autres caractères")}) {
    // Case folds (accented capitals too) while accents stay significant.
    if (text.compare(reserved, Qt::CaseInsensitive) == 0) {
      // The caller puts the focus back once this leaving is over: taking it back from inside
      // the leaving would make the field lose it a second time and say so twice.
      FServices.messages->information(kReserved);
      return false;
    }
  }
  return true;
}

void TMainFrame::EdtT1Change() {
  FSaved = false;
  FSettings.tabPaceMs = 0; // a whole-second pace chosen now replaces the finer one
}
