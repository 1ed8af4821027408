// The board edit commands and the few board operations they are made of. Each operation
// changes the model of the page it touches; the page cuts what changed and lays itself out.
#include "editing/BoardEdits.h"

#include "board/LetterFrequency.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardDocument.h"
#include "editing/CreationPanel.h"
#include "platform/Services.h"

#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

namespace boardedit {

int columnsShown(const TOnglet& page) {
  if (page.gridColumns() > 0)
    return page.gridColumns();
  // Flowing texts: as many columns as the first row of texts holds.
  for (const buttonlayout::Row& row : page.layoutRows())
    if (row.first == page.suggestionCount() && page.textButtonCount() > 0)
      return std::max(1, std::min(row.count, page.textButtonCount()));
  return page.model().textCount();
}

namespace {
TOnglet* pageAt(CreationPanel& f, int tab) {
  return f.view().pageAt(tab);
}

void insertTab(CreationPanel& f, int index, const QString& caption, const QStringList& texts,
               const QList<BoardPicture>& pictures = {}) {
  f.view().insertPage(index, caption, texts, pictures);
}

// The tab goes with its texts; the tab that followed it, else the new last tab, becomes active.
void removeTab(CreationPanel& f, int index) {
  TOnglet* page = pageAt(f, index);
  if (!page)
    return;
  TPageControl& control = *f.view().pageControl();
  control.removeTab(index);
  delete page; // the chosen text and the reserved-tab references forget it by themselves
  if (control.count() > 0)
    control.setCurrentIndex(index < control.count() ? index : index - 1);
  TOnglet* now = f.view().activePage();
  f.showTabName(now ? now->caption() : QString());
  f.EdtNomOnglet->setEnabled(now && !f.view().isReservedTab(now));
}

void insertTexts(CreationPanel& f, int tab, int index, const QStringList& captions,
                 const QList<BoardPicture>& pictures = {}) {
  if (TOnglet* page = pageAt(f, tab))
    page->model().insertTexts(index, captions, pictures);
}

void removeText(CreationPanel& f, int tab, int index) {
  if (TOnglet* page = pageAt(f, tab))
    page->model().removeTexts(index, 1);
}

// The text becomes the text chosen for editing, shown whole in the name field.
void chooseText(CreationPanel& f, int tab, int index, bool focus) {
  TOnglet* page = pageAt(f, tab);
  TTextButton* b = page ? page->textButton(index) : nullptr;
  if (!b)
    return;
  page->setCurrentIndex(page->itemIndexOf(b));
  if (focus)
    b->setFocus();
  page->SelectButton(b);
  f.EdtNomTexte->setEnabled(true);
}

// A text added at the end of its tab is brought into view, as "Ajouter" always did.
void scrollToEndIfLast(CreationPanel& f, int tab, int lastIndex) {
  TOnglet* page = pageAt(f, tab);
  if (!page || f.view().execMode() || page->textButton(lastIndex + 1))
    return;
  page->setScrollPosition(page->scrollMaximum());
  page->ArrangeButtons();
}
} // namespace

BoardSnapshot captureBoard(CreationPanel& f) {
  return BoardSnapshot{f.view().boardData(), f.document().fileName(), f.document().title(),
                       f.view().tabCounter(), f.view().currentIndex()};
}

void restoreBoard(CreationPanel& f, const BoardSnapshot& s) {
  f.document().applyBoard(s.data, s.fileName);
  f.view().setTabCounter(s.tabCounter);
  f.document().setTitle(s.title);
  if (s.activeTab >= 0 && s.activeTab < f.view().pageCount())
    f.view().showTab(s.activeTab);
}

bool refusedPastBounds(CreationPanel& f, int addedTabs, const QStringList& addedTexts,
                       const QStringList& newNames, qint64 replacedBytes) {
  const auto passed = f.view().boundPassedBy(addedTabs, addedTexts, newNames, replacedBytes);
  if (passed)
    f.services().messages->information(*passed);
  return passed.has_value();
}

bool refusedPastPictureBounds(CreationPanel& f, int tab, const QList<PictureChange>& changes) {
  BoardData board = f.view().boardData();
  QList<BoardPicture> added;
  for (const PictureChange& c : changes) {
    if (tab >= 0 && tab < board.tabs.size() && c.text < board.tabs[tab].pictures.size())
      board.tabs[tab].pictures[c.text] = BoardPicture(); // replaced: no longer stored
    if (!c.after.isNull())
      added << c.after;
  }
  const auto passed = boardfile::pictureBoundPassed(board, added);
  if (passed)
    f.services().messages->information(*passed);
  return passed.has_value();
}

ScanSetup captureScanSetup(const CreationPanel& f) {
  // The paces as the boxes show them: a box just changed shows the pace being chosen.
  return ScanSetup{f.EdtT1->value(), f.EdtT2->value(), f.view().settings()};
}

} // namespace boardedit

using namespace boardedit;

// ---------------------------------------------------------------------------------------------
// Tabs

AddTabCommand::AddTabCommand(CreationPanel& f, int index, const QString& caption, int counterAfter)
    : BoardEdit(f), FIndex(index), FCaption(caption), FCounterAfter(counterAfter) {}

void AddTabCommand::redo() {
  FPanel.view().tabBar()->setHighlighted(-1);
  insertTab(FPanel, FIndex, FCaption, {});
  // A default name is never given twice in a run, even when the tab is undone.
  FPanel.view().setTabCounter(std::max(FPanel.view().tabCounter(), FCounterAfter));
  FPanel.view().pageControl()->setCurrentIndex(FIndex);
  FPanel.view().showTab(FIndex);
  FPanel.EdtNomOnglet->setEnabled(true);
  FPanel.view().tabBar()->setHighlighted(FIndex);
  FPanel.settleChosenText();
}

void AddTabCommand::undo() {
  removeTab(FPanel, FIndex);
  FPanel.settleChosenText();
}

DeleteTabCommand::DeleteTabCommand(CreationPanel& f, int index, const QString& caption,
                                   const QStringList& texts, const QList<BoardPicture>& pictures)
    : BoardEdit(f), FIndex(index), FCaption(caption), FTexts(texts), FPictures(pictures) {}

void DeleteTabCommand::redo() {
  removeTab(FPanel, FIndex);
  FPanel.settleChosenText();
}

void DeleteTabCommand::undo() {
  insertTab(FPanel, FIndex, FCaption, FTexts, FPictures);
  FPanel.view().showTab(FIndex);
  FPanel.settleChosenText();
}

RenameTabCommand::RenameTabCommand(CreationPanel& f, int index, const QString& from,
                                   const QString& to)
    : BoardEdit(f), FIndex(index), FFrom(from), FTo(to) {}

void RenameTabCommand::apply(const QString& caption) {
  if (TOnglet* page = pageAt(FPanel, FIndex))
    page->setCaption(caption);
  FPanel.view().showTab(FIndex);
}

bool RenameTabCommand::mergeWith(const QUndoCommand* other) {
  // Typing a name is one step; typed back to where it began, it is no step at all.
  const auto* o = static_cast<const RenameTabCommand*>(other);
  if (o->FIndex != FIndex)
    return false;
  FTo = o->FTo;
  setObsolete(FFrom == FTo);
  return true;
}

MoveTabCommand::MoveTabCommand(CreationPanel& f, int from, int to)
    : BoardEdit(f), FFrom(from), FTo(to) {}

void MoveTabCommand::move(int from, int to) {
  FPanel.view().tabBar()->moveTab(from, to);
  FPanel.view().showTab(to);
}

ScanSetupCommand::ScanSetupCommand(CreationPanel& f, const ScanSetup& before,
                                   const ScanSetup& after, int mergeId)
    : BoardEdit(f), FBefore(before), FAfter(after), FMergeId(mergeId) {}

ScanSetupCommand* ScanSetupCommand::paceTyped(CreationPanel& f, int which, int shownBefore) {
  ScanSetup before = captureScanSetup(f);
  (which == 1 ? before.t1Seconds : before.t2Seconds) = shownBefore;
  ScanSetup after = captureScanSetup(f);
  (which == 1 ? after.settings.tabPaceMs : after.settings.textPaceMs) = 0;
  return new ScanSetupCommand(f, before, after, 10 + which);
}

ScanSetupCommand* ScanSetupCommand::settingsChosen(CreationPanel& f, const BoardSettings& chosen) {
  if (chosen == f.view().settings())
    return nullptr;
  const ScanSetup before = captureScanSetup(f);
  ScanSetup after = before;
  after.settings = chosen;
  if (chosen.tabPaceMs)
    after.t1Seconds = boardsettings::wholeSeconds(chosen.tabPaceMs);
  if (chosen.textPaceMs)
    after.t2Seconds = boardsettings::wholeSeconds(chosen.textPaceMs);
  return new ScanSetupCommand(f, before, after);
}

void ScanSetupCommand::apply(const ScanSetup& setup) {
  FPanel.view().setSettings(setup.settings);
  FPanel.view().setPaces(setup.t1Seconds, setup.t2Seconds);
  FPanel.showPaces(); // showing the paces is no new edit
  FPanel.settingsApplied();
}

bool ScanSetupCommand::mergeWith(const QUndoCommand* other) {
  FAfter = static_cast<const ScanSetupCommand*>(other)->FAfter;
  setObsolete(FBefore == FAfter);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Texts

AddTextsCommand::AddTextsCommand(CreationPanel& f, int tab, int index, const QStringList& captions)
    : BoardEdit(f), FTab(tab), FIndex(index), FCaptions(captions) {}

void AddTextsCommand::redo() {
  FPanel.view().showTab(FTab);
  insertTexts(FPanel, FTab, FIndex, FCaptions);
  const int last = FIndex + int(FCaptions.size()) - 1;
  chooseText(FPanel, FTab, last, false);
  scrollToEndIfLast(FPanel, FTab, last);
  FPanel.settleChosenText();
}

void AddTextsCommand::undo() {
  FPanel.view().showTab(FTab);
  if (TOnglet* page = pageAt(FPanel, FTab))
    page->model().removeTexts(FIndex, int(FCaptions.size()));
  FPanel.settleChosenText();
}

DeleteTextCommand::DeleteTextCommand(CreationPanel& f, int tab, int index, const QString& caption,
                                     const BoardPicture& picture)
    : BoardEdit(f), FTab(tab), FIndex(index), FCaption(caption), FPicture(picture) {}

void DeleteTextCommand::redo() {
  FPanel.view().showTab(FTab);
  TOnglet* page = pageAt(FPanel, FTab);
  if (!page)
    return;
  const int i = FIndex;
  page->model().removeTexts(i, 1);
  FPanel.view().setChosenText(nullptr);
  // The follower, else the new last text, is chosen; none after the first text of its tab.
  const int texts = page->model().textCount();
  if (i != 0 && texts > 0) {
    TTextButton* neighbour = page->textButton(i < texts ? i : i - 1);
    neighbour->setFocus();
    page->SelectButton(neighbour);
  }
  FPanel.settleChosenText();
}

void DeleteTextCommand::undo() {
  FPanel.view().showTab(FTab);
  insertTexts(FPanel, FTab, FIndex, {FCaption}, {FPicture});
  chooseText(FPanel, FTab, FIndex, false);
  FPanel.settleChosenText();
}

RenameTextCommand::RenameTextCommand(CreationPanel& f, int tab, int index, const QString& from,
                                     const QString& to)
    : BoardEdit(f), FTab(tab), FIndex(index), FFrom(from), FTo(to) {}

void RenameTextCommand::apply(const QString& caption) {
  FPanel.view().showTab(FTab);
  TOnglet* page = pageAt(FPanel, FTab);
  if (!page)
    return;
  page->model().setText(FIndex, caption);
  // The carer sees the text an undo or a redo renames; while typing it is chosen already.
  if (page->textButton(FIndex) != FPanel.view().currentText())
    chooseText(FPanel, FTab, FIndex, false);
  else
    FPanel.showTextName(caption);
  FPanel.settleChosenText();
}

bool RenameTextCommand::mergeWith(const QUndoCommand* other) {
  const auto* o = static_cast<const RenameTextCommand*>(other);
  if (o->FTab != FTab || o->FIndex != FIndex)
    return false;
  FTo = o->FTo;
  setObsolete(FFrom == FTo);
  return true;
}

MoveTextCommand::MoveTextCommand(CreationPanel& f, int tab, int index, bool back)
    : BoardEdit(f), FTab(tab), FIndex(index), FBack(back) {}

void MoveTextCommand::swap(int index, bool back) {
  FPanel.view().showTab(FTab);
  TOnglet* page = pageAt(FPanel, FTab);
  if (!page)
    return;
  TTextButton* b = page->textButton(index);
  if (!b)
    return;
  if (back)
    page->MoveButtonBack(b); // the moved text receives the focus
  else
    page->MoveButtonForward(b);
  if (FPanel.view().currentText() != b)
    chooseText(FPanel, FTab, back ? index - 1 : index + 1, false);
  FPanel.settleChosenText();
}

MoveTextToTabCommand::MoveTextToTabCommand(CreationPanel& f, int fromTab, int fromIndex, int toTab,
                                           int toIndex, const QString& caption,
                                           const BoardPicture& picture)
    : BoardEdit(f), FFromTab(fromTab), FFromIndex(fromIndex), FToTab(toTab), FToIndex(toIndex),
      FCaption(caption), FPicture(picture) {}

void MoveTextToTabCommand::move(int fromTab, int fromIndex, int toTab, int toIndex) {
  removeText(FPanel, fromTab, fromIndex);
  FPanel.view().showTab(toTab);
  insertTexts(FPanel, toTab, toIndex, {FCaption}, {FPicture});
  chooseText(FPanel, toTab, toIndex, true);
  scrollToEndIfLast(FPanel, toTab, toIndex);
  FPanel.settleChosenText();
}

SetPicturesCommand::SetPicturesCommand(CreationPanel& f, int tab,
                                       const QList<PictureChange>& changes, bool chosen)
    : BoardEdit(f), FTab(tab), FChanges(changes), FChosen(chosen) {}

void SetPicturesCommand::apply(bool after) {
  FPanel.view().showTab(FTab);
  TOnglet* page = pageAt(FPanel, FTab);
  if (!page)
    return;
  std::vector<std::pair<int, BoardPicture>> pictures;
  pictures.reserve(size_t(FChanges.size()));
  for (const PictureChange& c : FChanges)
    pictures.emplace_back(c.text, after ? c.after : c.before);
  page->model().setPictures(pictures);
  // The carer sees the text an undo or a redo changes.
  if (FChosen && !FChanges.isEmpty() &&
      page->textButton(FChanges[0].text) != FPanel.view().currentText())
    chooseText(FPanel, FTab, FChanges[0].text, false);
  FPanel.settleChosenText();
}

ReorderTextsCommand::ReorderTextsCommand(CreationPanel& f, int tab, const Order& before,
                                         const Order& after)
    : BoardEdit(f), FTab(tab), FBefore(before), FAfter(after) {}

void ReorderTextsCommand::apply(const Order& order) {
  FPanel.view().showTab(FTab);
  TOnglet* page = pageAt(FPanel, FTab);
  if (!page)
    return;
  // Taken out and put back whole: the page is cut and laid out once, and the text counter,
  // one less for each text taken and one more for each put back, is where it was.
  page->model().removeTexts(0, page->model().textCount());
  page->model().insertTexts(0, order.texts, order.pictures);
  FPanel.settleChosenText();
}

ReorderTextsCommand* ReorderTextsCommand::byFrequency(CreationPanel& f) {
  TOnglet* page = f.view().activePage();
  if (!page)
    return nullptr;
  const PageModel& model = page->model();
  const Order before{model.texts(), model.pictures()};
  const std::vector<int> order =
      letterfrequency::frequencyOrder(before.texts, boardedit::columnsShown(*page));
  Order after;
  for (int from : order) {
    after.texts << before.texts.at(from);
    if (!before.pictures.isEmpty())
      after.pictures << before.pictures.at(from);
  }
  if (after.texts == before.texts)
    return nullptr;
  return new ReorderTextsCommand(f, f.view().currentIndex(), before, after);
}

// ---------------------------------------------------------------------------------------------
// Appearance and whole boards

AppearanceCommand::AppearanceCommand(CreationPanel& f, const BoardLook& before,
                                     const BoardLook& after)
    : BoardEdit(f), FBefore(before), FAfter(after) {}

void AppearanceCommand::apply(const BoardLook& to, const BoardLook& from) {
  FPanel.view().setLook(to, from);
}

ReplaceBoardCommand::ReplaceBoardCommand(CreationPanel& f, const BoardSnapshot& before,
                                         std::function<void()> replace)
    : BoardEdit(f), FBefore(before), FReplace(std::move(replace)) {}

void ReplaceBoardCommand::redo() {
  if (FAfter) {
    restoreBoard(FPanel, *FAfter);
  } else {
    FReplace();
    FAfter = captureBoard(FPanel);
  }
  FPanel.settleChosenText();
}

void ReplaceBoardCommand::undo() {
  // Taken again now: the user's own phrases (AJOUT) may have joined the board since.
  FAfter = captureBoard(FPanel);
  restoreBoard(FPanel, FBefore);
  FPanel.settleChosenText();
}
