// The board edit commands and the few board operations they are made of. Each operation joins
// the pieces of the page it touches, changes it, then cuts and lays it out again, as the
// panel's commands always did.
#include "editing/BoardEdits.h"

#include "board/TOnglet.h"
#include "platform/Services.h"
#include "shell/TMainFrame.h"
#include "shell/TPageControl.h"

#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

namespace boardedit {

namespace {
TOnglet* pageAt(TMainFrame& f, int tab) {
  return qobject_cast<TOnglet*>(f.PageControl->widget(tab));
}

// Writes a name field without running its change handler: the program shows, nobody renames.
// A field already showing the text keeps its cursor.
void showInField(QLineEdit* field, bool& attached, const QString& text) {
  if (field->text() == text)
    return;
  const bool was = attached;
  attached = false;
  field->setText(text);
  attached = was;
}

void insertTab(TMainFrame& f, int index, const QString& caption, const QStringList& texts) {
  auto* page = new TOnglet(f.PageControl, &f);
  f.PageControl->insertTab(index, page, QString());
  page->setCaption(caption);
  page->SetBackgroundColor(f.FTabColor);
  if (caption == QStringLiteral("Divers"))
    f.FDiversTab = page;
  page->SetButtonsHeight(f.FButtonHeight);
  page->AddTexts(texts);
  page->ApplyFont(!f.FExecMode && f.FAllSelected ? f.FSelectedFont : f.FUnselectedFont);
  page->SplitAllTexts();
  page->ArrangeButtons();
}

// The tab goes with its texts; the tab that followed it, else the new last tab, becomes active.
void removeTab(TMainFrame& f, int index) {
  TOnglet* page = pageAt(f, index);
  if (!page)
    return;
  f.PageControl->removeTab(index);
  delete page; // the chosen text and the reserved-tab references forget it by themselves
  if (f.PageControl->count() > 0)
    f.PageControl->setCurrentIndex(index < f.PageControl->count() ? index : index - 1);
  TOnglet* now = f.activePage();
  showInField(f.EdtNomOnglet, f.FTabNameChangeAttached, now ? now->caption() : QString());
  f.EdtNomOnglet->setEnabled(now && !TMainFrame::isReservedTabCaption(now->caption()));
}

void insertTexts(TMainFrame& f, int tab, int index, const QStringList& captions) {
  TOnglet* page = pageAt(f, tab);
  if (!page)
    return;
  page->JoinPieces();
  page->InsertTexts(index, captions);
  page->SplitAllTexts();
  page->ArrangeButtons();
}

void removeText(TMainFrame& f, int tab, int index) {
  TOnglet* page = pageAt(f, tab);
  if (!page)
    return;
  page->JoinPieces();
  if (index >= 0 && index < page->textButtonCount())
    page->DeleteButton(page->FButtons[size_t(index)]);
  page->SplitAllTexts();
  page->ArrangeButtons();
}

// The text becomes the text chosen for editing, shown whole in the name field.
void chooseText(TMainFrame& f, int tab, int index, bool focus) {
  TOnglet* page = pageAt(f, tab);
  TTextButton* b = page ? page->textButton(index) : nullptr;
  if (!b)
    return;
  page->FCurrentIndex = page->indexOfButton(b);
  if (focus)
    b->setFocus();
  page->SelectButton(b);
  f.EdtNomTexte->setEnabled(true);
}

// A text added at the end of its tab is brought into view, as "Ajouter" always did.
void scrollToEndIfLast(TMainFrame& f, int tab, int lastIndex) {
  TOnglet* page = pageAt(f, tab);
  if (!page || f.FExecMode || page->textButton(lastIndex + 1))
    return;
  page->setScrollPosition(page->scrollMaximum());
  page->ArrangeButtons();
}
} // namespace

BoardData currentBoardData(const TMainFrame& f) {
  BoardData d;
  d.t1Seconds = f.EdtT1->value();
  d.t2Seconds = f.EdtT2->value();
  d.selectedFont = f.FSelectedFont;
  d.unselectedFont = f.FUnselectedFont;
  d.tabFont = f.FTabFont;
  d.validatedFont = f.FValidatedFont;
  d.tabColor = f.FTabColor;
  d.memoColor = f.FMemoColor;
  d.currentPhraseFont = f.FCurrentPhraseFont;
  d.finalMemoColor = f.FMemoColor;
  d.finalLinesRead = 7;
  d.settings = f.FSettings;
  // The texts are read whole from their pieces: joining and cutting every button again would
  // leave the same buttons, at a cost that grows with the board.
  for (TOnglet* page : f.pages())
    d.tabs << BoardTab{page->caption(), page->wholeTexts()};
  return d;
}

BoardSnapshot captureBoard(const TMainFrame& f) {
  return BoardSnapshot{currentBoardData(f), f.FFileName, f.windowTitle(), f.FTabCounter,
                       f.PageControl->currentIndex()};
}

void restoreBoard(TMainFrame& f, const BoardSnapshot& s) {
  BoardReadResult result;
  result.status = BoardReadStatus::Ok;
  result.data = s.data;
  f.applyBoard(result, s.fileName);
  f.FTabCounter = s.tabCounter;
  f.setWindowTitle(s.title);
  if (s.activeTab >= 0 && s.activeTab < f.pageCount())
    showTab(f, s.activeTab);
}

bool refusedPastBounds(TMainFrame& f, int addedTabs, const QStringList& addedTexts,
                       const QStringList& newNames) {
  qint64 texts = addedTexts.size();
  for (TOnglet* page : f.pages())
    texts += page->wholeTexts().size();
  const auto passed = boardfile::boundPassed(f.pageCount() + addedTabs, texts, newNames);
  if (passed)
    f.FServices.messages->information(*passed);
  return passed.has_value();
}

ScanSetup captureScanSetup(const TMainFrame& f) {
  return ScanSetup{f.EdtT1->value(), f.EdtT2->value(), f.FSettings};
}

Appearance captureAppearance(const TMainFrame& f) {
  return Appearance{f.FSelectedFont, f.FUnselectedFont, f.FValidatedFont, f.FCurrentPhraseFont,
                    f.FTabFont,      f.FTabColor,       f.FMemoColor};
}

void showTab(TMainFrame& f, int tab) {
  if (tab < 0 || tab >= f.pageCount())
    return;
  QWidget* before = f.PageControl->currentWidget();
  if (f.PageControl->currentIndex() != tab)
    f.PageControl->setCurrentIndex(tab);
  if (f.TabBar->highlighted() >= 0)
    f.TabBar->setHighlighted(tab);
  TOnglet* page = f.activePage();
  showInField(f.EdtNomOnglet, f.FTabNameChangeAttached, page->caption());
  // As when the carer picks a tab; a tab renamed in place keeps the field as the carer left it.
  if (page != before)
    f.EdtNomOnglet->setEnabled(!TMainFrame::isReservedTabCaption(page->caption()));
}

void settleChosenText(TMainFrame& f) {
  if (!f.FCurrentText && !f.FExecMode) {
    showInField(f.EdtNomTexte, f.FTextNameChangeAttached, QString());
    f.EdtNomTexte->setEnabled(false);
  }
  if (TOnglet* page = f.activePage())
    page->repaintTexts();
}

} // namespace boardedit

using namespace boardedit;

// ---------------------------------------------------------------------------------------------
// Tabs

AddTabCommand::AddTabCommand(TMainFrame& f, int index, const QString& caption, int counterAfter)
    : BoardEdit(f), FIndex(index), FCaption(caption), FCounterAfter(counterAfter) {}

void AddTabCommand::redo() {
  FFrame.TabBar->setHighlighted(-1);
  insertTab(FFrame, FIndex, FCaption, {});
  // A default name is never given twice in a run, even when the tab is undone.
  FFrame.FTabCounter = std::max(FFrame.FTabCounter, FCounterAfter);
  FFrame.PageControl->setCurrentIndex(FIndex);
  showTab(FFrame, FIndex);
  FFrame.EdtNomOnglet->setEnabled(true);
  FFrame.TabBar->setHighlighted(FIndex);
  settleChosenText(FFrame);
}

void AddTabCommand::undo() {
  removeTab(FFrame, FIndex);
  settleChosenText(FFrame);
}

DeleteTabCommand::DeleteTabCommand(TMainFrame& f, int index, const QString& caption,
                                   const QStringList& texts)
    : BoardEdit(f), FIndex(index), FCaption(caption), FTexts(texts) {}

void DeleteTabCommand::redo() {
  removeTab(FFrame, FIndex);
  settleChosenText(FFrame);
}

void DeleteTabCommand::undo() {
  insertTab(FFrame, FIndex, FCaption, FTexts);
  showTab(FFrame, FIndex);
  settleChosenText(FFrame);
}

RenameTabCommand::RenameTabCommand(TMainFrame& f, int index, const QString& from, const QString& to)
    : BoardEdit(f), FIndex(index), FFrom(from), FTo(to) {}

void RenameTabCommand::apply(const QString& caption) {
  if (TOnglet* page = pageAt(FFrame, FIndex))
    page->setCaption(caption);
  showTab(FFrame, FIndex);
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

MoveTabCommand::MoveTabCommand(TMainFrame& f, int from, int to)
    : BoardEdit(f), FFrom(from), FTo(to) {}

void MoveTabCommand::move(int from, int to) {
  FFrame.TabBar->moveTab(from, to);
  showTab(FFrame, to);
}

ScanSetupCommand::ScanSetupCommand(TMainFrame& f, const ScanSetup& before, const ScanSetup& after,
                                   int mergeId)
    : BoardEdit(f), FBefore(before), FAfter(after), FMergeId(mergeId) {}

ScanSetupCommand* ScanSetupCommand::paceTyped(TMainFrame& f, int which, int shownBefore) {
  ScanSetup before = captureScanSetup(f);
  (which == 1 ? before.t1Seconds : before.t2Seconds) = shownBefore;
  ScanSetup after = captureScanSetup(f);
  (which == 1 ? after.settings.tabPaceMs : after.settings.textPaceMs) = 0;
  return new ScanSetupCommand(f, before, after, 10 + which);
}

ScanSetupCommand* ScanSetupCommand::settingsChosen(TMainFrame& f, const BoardSettings& chosen) {
  if (chosen == f.FSettings)
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
  FFrame.FSettings = setup.settings;
  {
    const QSignalBlocker b1(FFrame.EdtT1), b2(FFrame.EdtT2); // showing the paces is no new edit
    FFrame.EdtT1->setValue(setup.t1Seconds);
    FFrame.EdtT2->setValue(setup.t2Seconds);
  }
  FFrame.applyBoardSettings();
}

bool ScanSetupCommand::mergeWith(const QUndoCommand* other) {
  FAfter = static_cast<const ScanSetupCommand*>(other)->FAfter;
  setObsolete(FBefore == FAfter);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Texts

AddTextsCommand::AddTextsCommand(TMainFrame& f, int tab, int index, const QStringList& captions)
    : BoardEdit(f), FTab(tab), FIndex(index), FCaptions(captions) {}

void AddTextsCommand::redo() {
  showTab(FFrame, FTab);
  insertTexts(FFrame, FTab, FIndex, FCaptions);
  const int last = FIndex + int(FCaptions.size()) - 1;
  chooseText(FFrame, FTab, last, false);
  scrollToEndIfLast(FFrame, FTab, last);
  settleChosenText(FFrame);
}

void AddTextsCommand::undo() {
  showTab(FFrame, FTab);
  TOnglet* page = pageAt(FFrame, FTab);
  if (page) {
    page->JoinPieces();
    for (int k = 0; k < FCaptions.size() && FIndex < page->textButtonCount(); ++k)
      page->DeleteButton(page->FButtons[size_t(FIndex)]);
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
  settleChosenText(FFrame);
}

DeleteTextCommand::DeleteTextCommand(TMainFrame& f, int tab, int index, const QString& caption)
    : BoardEdit(f), FTab(tab), FIndex(index), FCaption(caption) {}

void DeleteTextCommand::redo() {
  showTab(FFrame, FTab);
  TOnglet* page = pageAt(FFrame, FTab);
  if (!page)
    return;
  page->JoinPieces();
  const int i = FIndex;
  if (i < page->textButtonCount())
    page->DeleteButton(page->FButtons[size_t(i)]);
  FFrame.FCurrentText = nullptr;
  // The follower, else the new last text, is chosen; none after the first text of its tab.
  if (i != 0 && page->textButtonCount() > 0) {
    TTextButton* neighbour = page->FButtons[size_t(i < page->textButtonCount() ? i : i - 1)];
    neighbour->setFocus();
    page->SelectButton(neighbour);
  }
  page->SplitAllTexts();
  page->ArrangeButtons();
  settleChosenText(FFrame);
}

void DeleteTextCommand::undo() {
  showTab(FFrame, FTab);
  insertTexts(FFrame, FTab, FIndex, {FCaption});
  chooseText(FFrame, FTab, FIndex, false);
  settleChosenText(FFrame);
}

RenameTextCommand::RenameTextCommand(TMainFrame& f, int tab, int index, const QString& from,
                                     const QString& to)
    : BoardEdit(f), FTab(tab), FIndex(index), FFrom(from), FTo(to) {}

void RenameTextCommand::apply(const QString& caption) {
  showTab(FFrame, FTab);
  TOnglet* page = pageAt(FFrame, FTab);
  if (!page)
    return;
  page->JoinPieces();
  if (FIndex < page->textButtonCount()) {
    TTextButton* b = page->FButtons[size_t(FIndex)];
    b->setCaption(caption);
    const TMeasureLabel& measure =
        FFrame.FAllSelected ? FFrame.FSelectedMeasure : FFrame.FUnselectedMeasure;
    b->resize(measure.width(caption) + 16, b->height());
  }
  page->SplitAllTexts();
  page->ArrangeButtons();
  // The carer sees the text an undo or a redo renames; while typing it is chosen already.
  if (page->textButton(FIndex) != FFrame.FCurrentText)
    chooseText(FFrame, FTab, FIndex, false);
  else
    showInField(FFrame.EdtNomTexte, FFrame.FTextNameChangeAttached, caption);
  settleChosenText(FFrame);
}

bool RenameTextCommand::mergeWith(const QUndoCommand* other) {
  const auto* o = static_cast<const RenameTextCommand*>(other);
  if (o->FTab != FTab || o->FIndex != FIndex)
    return false;
  FTo = o->FTo;
  setObsolete(FFrom == FTo);
  return true;
}

MoveTextCommand::MoveTextCommand(TMainFrame& f, int tab, int index, bool back)
    : BoardEdit(f), FTab(tab), FIndex(index), FBack(back) {}

void MoveTextCommand::swap(int index, bool back) {
  showTab(FFrame, FTab);
  TOnglet* page = pageAt(FFrame, FTab);
  if (!page)
    return;
  page->JoinPieces();
  if (index < 0 || index >= page->textButtonCount()) {
    page->SplitAllTexts();
    return;
  }
  TTextButton* b = page->FButtons[size_t(index)];
  if (back)
    page->MoveButtonBack(b); // the moved text receives the focus
  else
    page->MoveButtonForward(b);
  page->SplitAllTexts();
  page->ArrangeButtons();
  if (FFrame.FCurrentText != b)
    chooseText(FFrame, FTab, back ? index - 1 : index + 1, false);
  settleChosenText(FFrame);
}

MoveTextToTabCommand::MoveTextToTabCommand(TMainFrame& f, int fromTab, int fromIndex, int toTab,
                                           int toIndex, const QString& caption)
    : BoardEdit(f), FFromTab(fromTab), FFromIndex(fromIndex), FToTab(toTab), FToIndex(toIndex),
      FCaption(caption) {}

void MoveTextToTabCommand::move(int fromTab, int fromIndex, int toTab, int toIndex) {
  removeText(FFrame, fromTab, fromIndex);
  showTab(FFrame, toTab);
  insertTexts(FFrame, toTab, toIndex, {FCaption});
  chooseText(FFrame, toTab, toIndex, true);
  scrollToEndIfLast(FFrame, toTab, toIndex);
  settleChosenText(FFrame);
}

// ---------------------------------------------------------------------------------------------
// Appearance and whole boards

AppearanceCommand::AppearanceCommand(TMainFrame& f, const Appearance& before,
                                     const Appearance& after)
    : BoardEdit(f), FBefore(before), FAfter(after) {}

void AppearanceCommand::apply(const Appearance& to, const Appearance& from) {
  TMainFrame& f = FFrame;
  f.FSelectedFont = to.selected;
  f.FUnselectedFont = to.unselected;
  f.FValidatedFont = to.validated;
  f.FCurrentPhraseFont = to.currentPhrase;
  // Only what changed is laid out again: refitting the texts costs a pass over the board.
  if (to.selected != from.selected || to.unselected != from.unselected) {
    f.FSelectedMeasure.setFont(f.FSelectedFont);
    f.FUnselectedMeasure.setFont(f.FUnselectedFont);
    if (to.unselected != from.unselected)
      for (TOnglet* page : f.pages())
        page->ApplyUnselectedFont();
    f.refitTextFonts();
  }
  if (to.tabs != from.tabs || to.tabColor != from.tabColor) {
    f.FTabFont = to.tabs;
    f.PageControl->setFont(f.FTabFont.toQFont());
    f.FTabColor = to.tabColor;
    for (TOnglet* page : f.pages())
      page->SetBackgroundColor(f.FTabColor);
  }
  if (to.memoColor != from.memoColor)
    f.setMemoColor(to.memoColor);
}

ReplaceBoardCommand::ReplaceBoardCommand(TMainFrame& f, const BoardSnapshot& before,
                                         std::function<void()> replace)
    : BoardEdit(f), FBefore(before), FReplace(std::move(replace)) {}

void ReplaceBoardCommand::redo() {
  if (FAfter) {
    restoreBoard(FFrame, *FAfter);
  } else {
    FReplace();
    FAfter = captureBoard(FFrame);
  }
  settleChosenText(FFrame);
}

void ReplaceBoardCommand::undo() {
  // Taken again now: the user's own phrases (AJOUT) may have joined the board since.
  FAfter = captureBoard(FFrame);
  restoreBoard(FFrame, FBefore);
  settleChosenText(FFrame);
}
