// The creation panel's handlers of the tab, text and appearance boxes and of the settings
// dialog. Each board edit is pushed on the edit history, which runs it: the board changes only
// there.
#include "editing/CreationPanel.h"

#include "board/BoardView.h"
#include "board/LetterFrequency.h"
#include "board/TOnglet.h"
#include "documents/BoardFile.h"
#include "documents/ReservedNames.h"
#include "documents/StorableText.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/TFormFont.h"
#include "editing/TFormReglages.h"
#include "platform/Services.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {
const QString kReserved = QStringLiteral("Désolé ce texte est réservé");
enum Kind { SelectedKind = 0, UnselectedKind = 1, TabsKind = 2, PhraseKind = 3 };
} // namespace

// Each command is pushed on the edit history, which runs it: the board changes only there.
void CreationPanel::BtnAjoutOnglClick() {
  const QString name = QStringLiteral("Onglet%1").arg(FView.tabCounter());
  if (boardedit::refusedPastBounds(*this, 1, {}, {name}))
    return;
  FHistory->push(new AddTabCommand(*this, FView.pageCount(), name, FView.tabCounter() + 1));
}

void CreationPanel::BtnSupprOnglClick() {
  TOnglet* page = FView.activePage();
  if (!page || FView.isReservedTab(page))
    return;
  FHistory->push(new DeleteTabCommand(*this, FView.currentIndex(), page->caption(),
                                      page->wholeTexts(), page->model().pictures()));
}

void CreationPanel::BtnAvtOnglClick() {
  const int i = FView.currentIndex();
  if (i <= 0)
    return;
  FHistory->push(new MoveTabCommand(*this, i, i - 1));
}

void CreationPanel::BtnSuivOnglClick() {
  const int i = FView.currentIndex();
  if (i < 0 || i >= FView.pageCount() - 1)
    return;
  FHistory->push(new MoveTabCommand(*this, i, i + 1));
}

void CreationPanel::EdtNomOngletChange() {
  TOnglet* page = FView.activePage();
  if (!page || page->caption() == EdtNomOnglet->text())
    return;
  // A carer who renamed a tab expects to be asked to save it; typing a name is one step.
  FHistory->push(
      new RenameTabCommand(*this, FView.currentIndex(), page->caption(), EdtNomOnglet->text()));
}

std::optional<QString> CreationPanel::nameFieldRefusal(const QLineEdit* field) const {
  // A field disabled while it had the focus shows a reserved tab's own name: nobody typed it.
  if (!field->isEnabled())
    return std::nullopt;
  const QString name = field->text();
  const bool tab = field == EdtNomOnglet;
  const QString& shown = tab ? FTabNameShown : FTextNameShown;
  if (name == shown)
    return std::nullopt;
  // Letter case folds (accented capitals too) while accents stay significant.
  if (tab ? reservednames::isReservedTab(name) : reservednames::isCommandText(name))
    return kReserved;
  // The name is on the board already (typing renames as it goes); only a longer one can take
  // the board past its bound, and only then is the board counted.
  if (boardfile::storedBytes(name) > boardfile::storedBytes(shown))
    return boardfile::boundPassed(FView.extent(), {name});
  return std::nullopt;
}

bool CreationPanel::nameFieldMayBeLeft(const QLineEdit* field) {
  const auto refusal = nameFieldRefusal(field);
  // The caller puts the focus back once this leaving is over: taking it back from inside the
  // leaving would make the field lose it a second time and say so twice.
  if (refusal)
    FServices.messages->information(*refusal);
  return !refusal;
}

void CreationPanel::inputRefused(const QLineEdit* field) {
  const auto* validator = dynamic_cast<const StorableTextValidator*>(field->validator());
  const auto why = validator ? validator->takeRefusal() : std::nullopt;
  // Only what the carer typed or pasted: the field says nothing of a text the program shows.
  if (FView.execMode() || FShowingName)
    return;
  if (why)
    FServices.messages->information(*why);
  else if (field->text().size() >= field->maxLength())
    FServices.messages->information(boardfile::textTooLongMessage());
}

bool CreationPanel::EdtNomOngletExit() {
  return nameFieldMayBeLeft(EdtNomOnglet);
}

void CreationPanel::EdtT1Change() {
  // A whole-second pace chosen now replaces the finer one; an undo brings that back.
  FHistory->push(ScanSetupCommand::paceTyped(*this, 1, FHistory->shownPace(1)));
}

int CreationPanel::chosenTextIndex() const {
  TOnglet* page = FView.activePage();
  if (!page || !FView.currentText())
    return -1;
  return page->textIndexOf(FView.currentText());
}

void CreationPanel::BtnAjoutTexteClick() {
  TOnglet* page = FView.activePage();
  if (!page) {
    FHistory->markChangedOutsideHistory(); // counted as a change, though there is nothing to add
    return;
  }
  const QString name = QStringLiteral("Texte") + QString::number(page->textCounter());
  if (boardedit::refusedPastBounds(*this, 0, {name}, {name}))
    return;
  FHistory->push(
      new AddTextsCommand(*this, FView.currentIndex(), int(page->wholeTexts().size()), {name}));
  // Typing names the new text at once: its default caption is selected in the name field.
  EdtNomTexte->setEnabled(true);
  EdtNomTexte->setFocus();
  EdtNomTexte->selectAll();
}

void CreationPanel::EdtNomTexteReturn() {
  if (FView.execMode() || !EdtNomTexteExit())
    return; // a reserved name stays in the field, refused as on leaving it
  BtnAjoutTexteClick();
}

bool CreationPanel::pasteTextList(const QString& list) {
  TOnglet* page = FView.activePage();
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
  for (const QString& name : names)
    if (const auto refusal = StorableTextValidator::refusalOf(name)) {
      FServices.messages->information(*refusal);
      return false; // refused whole, as the field refuses such a paste
    }
  for (const QString& name : names)
    if (reservednames::isCommandText(name)) {
      FServices.messages->information(kReserved);
      return false;
    }
  // The first line renames the chosen text: its name is written over.
  const qint64 replaced = chosen >= 0 ? boardfile::storedBytes(page->wholeTexts().at(chosen)) : 0;
  if (boardedit::refusedPastBounds(*this, 0, lines, names, replaced))
    return false;
  FHistory->stack().beginMacro(QStringLiteral("Coller une liste"));
  if (chosen >= 0)
    EdtNomTexte->setText(first); // renames the chosen text
  if (!lines.isEmpty())
    FHistory->push(
        new AddTextsCommand(*this, FView.currentIndex(), int(page->wholeTexts().size()), lines));
  FHistory->stack().endMacro();
  EdtNomTexte->setFocus();
  EdtNomTexte->selectAll();
  return true;
}

void CreationPanel::BtnSupprTexteClick() {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  const PageModel& model = FView.activePage()->model();
  FHistory->push(
      new DeleteTextCommand(*this, FView.currentIndex(), i, model.text(i), model.picture(i)));
}

void CreationPanel::EdtNomTexteChange() {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  const QString before = FView.activePage()->wholeTexts().at(i);
  if (before == EdtNomTexte->text())
    return;
  // A renamed text is a change the carer expects to be asked to save; typing is one step.
  FHistory->push(
      new RenameTextCommand(*this, FView.currentIndex(), i, before, EdtNomTexte->text()));
}

bool CreationPanel::EdtNomTexteExit() {
  return nameFieldMayBeLeft(EdtNomTexte);
}

void CreationPanel::BtnAvtTexteClick() {
  moveChosenTextWithinTab(true);
}

void CreationPanel::BtnSuivRTexteClick() {
  moveChosenTextWithinTab(false);
}

void CreationPanel::moveChosenTextWithinTab(bool back) {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  const int count = int(FView.activePage()->wholeTexts().size());
  if (back ? i == 0 : i == count - 1) {
    // Nothing moves at the end of the row, yet the board counts as changed.
    FView.currentText()->setFocus();
    FHistory->markChangedOutsideHistory();
    return;
  }
  FHistory->push(new MoveTextCommand(*this, FView.currentIndex(), i, back));
}

void CreationPanel::BtnOngletAvtClick() {
  moveChosenTextToTab(-1);
}

void CreationPanel::BtnOngletSuivClick() {
  moveChosenTextToTab(+1);
}

void CreationPanel::moveChosenTextToTab(int direction) {
  const int index = FView.currentIndex();
  const int target = index + direction;
  const int i = chosenTextIndex();
  if (i < 0 || target < 0 || target >= FView.pageCount())
    return;
  auto* to = FView.pageAt(target);
  const PageModel& from = FView.activePage()->model();
  FHistory->push(new MoveTextToTabCommand(*this, index, i, target, to->model().textCount(),
                                          from.text(i), from.picture(i)));
}

void CreationPanel::EdtT2Change() {
  // A whole-second pace chosen now replaces the finer one; an undo brings that back.
  FHistory->push(ScanSetupCommand::paceTyped(*this, 2, FHistory->shownPace(2)));
}

bool CreationPanel::runFontDialog(int kind, BoardFont* font, std::optional<TColor> back) {
  if (!FormFont)
    FormFont = new TFormFont(FServices.colorChooser, window());
  FormFont->SetTargetKind(kind);
  if (back)
    FormFont->SetBackColor(*back);
  FormFont->LoadFont(font);
  return FormFont->exec() == 1;
}

namespace {
using Appearance = BoardLook;

// One target edited in the dialog, on a copy: the change reaches the board through the edit
// history. Accepted without any change, it still counts as an edit of the board.
bool editAppearance(CreationPanel& p, int kind, BoardFont Appearance::*font,
                    std::optional<TColor> back, TColor Appearance::*colour = nullptr) {
  const Appearance before = p.view().look();
  Appearance after = before;
  if (!p.runFontDialog(kind, &(after.*font), back))
    return false;
  if (colour)
    after.*colour = p.FormFont->GetBackColor();
  if (after == before)
    p.history().markChangedOutsideHistory();
  else
    p.history().push(new AppearanceCommand(p, before, after));
  return true;
}
} // namespace

void CreationPanel::BtnVisuSelecClick() {
  editAppearance(*this, SelectedKind, &Appearance::selected, std::nullopt);
}

void CreationPanel::BtnVisuNonSelecClick() {
  editAppearance(*this, UnselectedKind, &Appearance::unselected, std::nullopt);
}

void CreationPanel::BtnVisuOngletClick() {
  TOnglet* active = FView.activePage();
  editAppearance(*this, TabsKind, &Appearance::tabs,
                 active ? active->GetBackgroundColor() : FView.tabColor(), &Appearance::tabColor);
}

void CreationPanel::BtnVisuAffClick() {
  // The logo panel takes the display colour once it is first set, changed or not.
  if (editAppearance(*this, PhraseKind, &Appearance::validated, FView.memoColor(),
                     &Appearance::memoColor))
    FView.setMemoColor(FView.memoColor());
}

void CreationPanel::BtnVisuAff2Click() {
  if (editAppearance(*this, PhraseKind, &Appearance::currentPhrase, FView.memoColor(),
                     &Appearance::memoColor))
    FView.setMemoColor(FView.memoColor());
}

void CreationPanel::BitBtnTtAffClick() {
  const bool all = !FView.allSelected();
  FView.setAllSelected(all);
  BitBtnTtAff->setText(all ? QStringLiteral("Désélectionner les textes")
                           : QStringLiteral("Sélectionner les textes"));
  for (TOnglet* page : FView.pages())
    page->refitTexts(all ? FView.selectedFont() : FView.unselectedFont());
}

void CreationPanel::BtnReglagesClick() {
  if (!FormReglages) {
    FormReglages = new TFormReglages(FServices.speech, this, FPredictor, FServices.messages);
    FormReglages->onTryVoice = [this](const BoardSettings& s) { emit voiceTried(s); };
    FormReglages->setScreenReaderStatus(FServices.screenReader);
  }
  // The dialog says at once whether speech is there; looking for it never waits.
  if (FServices.speech)
    FServices.speech->probe();
  FormReglages->setSettings(FView.settings());
  const bool accepted = FormReglages->exec() == QDialog::Accepted;
  window()->activateWindow();
  if (!accepted)
    return;
  // One step the carer can undo; the panel's paces follow the finer ones (see settingsChosen).
  if (QUndoCommand* change = ScanSetupCommand::settingsChosen(*this, FormReglages->settings()))
    FHistory->push(change);
}

bool CreationPanel::mayOrderByFrequency() const {
  const TOnglet* page = FView.activePage();
  return !FView.execMode() && page &&
         (FView.isLetterPage(page) ||
          letterfrequency::mostlySingleCharacters(page->model().texts()));
}

void CreationPanel::BtnRangerFrequenceClick() {
  if (!mayOrderByFrequency())
    return;
  if (ReorderTextsCommand* command = ReorderTextsCommand::byFrequency(*this))
    FHistory->push(command);
  else
    FServices.messages->information(QStringLiteral("Les textes sont déjà rangés par fréquence."));
}
