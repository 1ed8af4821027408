// The text commands of the creation panel: add, delete, rename, move inside the tab or to a
// neighbouring tab, and the text pace; the name field's fast entry (Enter adds the next text, a
// pasted list adds its texts). They act on the chosen text only when it lies on the active tab:
// a text of another tab (or one already gone) is never touched. Each edit is pushed on the
// edit history, which runs it.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "documents/StorableText.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/ReservedNameGuard.h"
#include "shell/TPageControl.h"

#include <QLineEdit>
#include <QSpinBox>

namespace {
const QString kReserved = QStringLiteral("Désolé ce texte est réservé");
}

int TMainFrame::chosenTextIndex() const {
  TOnglet* page = activePage();
  if (!page || !FCurrentText)
    return -1;
  return page->textIndexOf(FCurrentText);
}

void TMainFrame::setCurrentText(TTextButton* button) {
  FCurrentText = button;
  if (TOnglet* page = activePage())
    page->repaintTexts(); // the mark moves to the text now chosen
}

void TMainFrame::BtnAjoutTexteClick() {
  TOnglet* page = activePage();
  if (!page) {
    FHistory->markChangedOutsideHistory(); // counted as a change, though there is nothing to add
    return;
  }
  const QString name = QStringLiteral("Texte") + QString::number(page->FTextCount);
  if (boardedit::refusedPastBounds(*this, 0, {name}, {name}))
    return;
  FHistory->push(new AddTextsCommand(*this, PageControl->currentIndex(),
                                     int(page->wholeTexts().size()), {name}));
  // Typing names the new text at once: its default caption is selected in the name field.
  EdtNomTexte->setEnabled(true);
  EdtNomTexte->setFocus();
  EdtNomTexte->selectAll();
}

void TMainFrame::EdtNomTexteReturn() {
  if (FExecMode || !EdtNomTexteExit())
    return; // a reserved name stays in the field, refused as on leaving it
  BtnAjoutTexteClick();
}

bool TMainFrame::pasteTextList(const QString& list) {
  TOnglet* page = activePage();
  if (!page || !EdtNomTexte->isEnabled())
    return false;
  QStringList lines;
  for (QString line : list.split(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    if (!line.isEmpty())
      lines << line;
  }
  if (lines.isEmpty())
    return false;
  // The list reads as its lines typed one by one with Enter between them: the first goes into
  // the field as a paste would, each next one is a new text.
  const int chosen = chosenTextIndex();
  QString first;
  if (chosen >= 0) {
    first = EdtNomTexte->text();
    if (EdtNomTexte->hasSelectedText())
      first.replace(EdtNomTexte->selectionStart(), EdtNomTexte->selectedText().size(),
                    lines.front());
    else
      first.insert(EdtNomTexte->cursorPosition(), lines.front());
    lines.pop_front();
  }
  const QStringList names = chosen >= 0 ? QStringList{first} + lines : lines;
  StorableTextValidator validator;
  for (QString name : names) {
    int pos = 0;
    if (validator.validate(name, pos) != QValidator::Acceptable)
      return false; // refused whole, as the field refuses such a paste
  }
  for (const QString& name : names)
    if (ReservedNameGuard::isReservedTextName(name)) {
      FServices.messages->information(kReserved);
      return false;
    }
  if (boardedit::refusedPastBounds(*this, 0, lines, names))
    return false;
  FHistory->stack().beginMacro(QStringLiteral("Coller une liste"));
  if (chosen >= 0)
    EdtNomTexte->setText(first); // renames the chosen text
  if (!lines.isEmpty())
    FHistory->push(new AddTextsCommand(*this, PageControl->currentIndex(),
                                       int(page->wholeTexts().size()), lines));
  FHistory->stack().endMacro();
  EdtNomTexte->setFocus();
  EdtNomTexte->selectAll();
  return true;
}

void TMainFrame::BtnSupprTexteClick() {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  FHistory->push(new DeleteTextCommand(*this, PageControl->currentIndex(), i,
                                       activePage()->wholeTexts().at(i)));
}

void TMainFrame::EdtNomTexteChange() {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  const QString before = activePage()->wholeTexts().at(i);
  if (before == EdtNomTexte->text())
    return;
  // A renamed text is a change the carer expects to be asked to save; typing is one step.
  FHistory->push(
      new RenameTextCommand(*this, PageControl->currentIndex(), i, before, EdtNomTexte->text()));
}

bool TMainFrame::EdtNomTexteExit() {
  // A field disabled while it had the focus is not being left by the carer.
  if (!EdtNomTexte->isEnabled())
    return true;
  if (!ReservedNameGuard::isReservedTextName(EdtNomTexte->text()))
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
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  const int count = int(activePage()->wholeTexts().size());
  if (back ? i == 0 : i == count - 1) {
    // Nothing moves at the end of the row, yet the board counts as changed.
    FCurrentText->setFocus();
    FHistory->markChangedOutsideHistory();
    return;
  }
  FHistory->push(new MoveTextCommand(*this, PageControl->currentIndex(), i, back));
}

void TMainFrame::BtnOngletAvtClick() {
  moveChosenTextToTab(-1);
}

void TMainFrame::BtnOngletSuivClick() {
  moveChosenTextToTab(+1);
}

void TMainFrame::moveChosenTextToTab(int direction) {
  const int index = PageControl->currentIndex();
  const int target = index + direction;
  const int i = chosenTextIndex();
  if (i < 0 || target < 0 || target >= PageControl->count())
    return;
  auto* to = qobject_cast<TOnglet*>(PageControl->widget(target));
  FHistory->push(new MoveTextToTabCommand(*this, index, i, target, int(to->wholeTexts().size()),
                                          activePage()->wholeTexts().at(i)));
}

void TMainFrame::EdtT2Change() {
  // A whole-second pace chosen now replaces the finer one; an undo brings that back.
  FHistory->push(ScanSetupCommand::paceTyped(*this, 2, FHistory->shownPace(2)));
}
