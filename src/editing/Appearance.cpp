// The appearance targets of the creation panel (the two text fonts, the tabs, the two phrase
// fonts with the display colour), the preview toggle and the re-layout after the splitter moves.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/TFormFont.h"
#include "shell/TPageControl.h"

#include <QPushButton>

namespace {
enum Kind { SelectedKind = 0, UnselectedKind = 1, TabsKind = 2, PhraseKind = 3 };
}

bool TMainFrame::runFontDialog(int kind, BoardFont* font, std::optional<TColor> back) {
  createDialogs();
  FormFont->SetTargetKind(kind);
  if (back)
    FormFont->SetBackColor(*back);
  FormFont->LoadFont(font);
  return FormFont->exec() == 1;
}

void TMainFrame::refitTextFonts() {
  FButtonHeight = (FSelectedFont.size > FUnselectedFont.size ? FSelectedMeasure.height()
                                                             : FUnselectedMeasure.height()) +
                  6;
  for (TOnglet* page : pages()) {
    page->JoinPieces();
    page->SetButtonsHeight(FButtonHeight);
    page->ApplyFont(FAllSelected ? FSelectedFont : FUnselectedFont);
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
}

namespace {
using boardedit::Appearance;

// One target edited in the dialog, on a copy: the change reaches the board through the edit
// history. Accepted without any change, it still counts as an edit of the board.
bool editAppearance(TMainFrame& f, int kind, BoardFont Appearance::*font,
                    std::optional<TColor> back, TColor Appearance::*colour = nullptr) {
  const Appearance before = boardedit::captureAppearance(f);
  Appearance after = before;
  if (!f.runFontDialog(kind, &(after.*font), back))
    return false;
  if (colour)
    after.*colour = f.FormFont->GetBackColor();
  if (after == before)
    f.FHistory->markChangedOutsideHistory();
  else
    f.FHistory->push(new AppearanceCommand(f, before, after));
  return true;
}
} // namespace

void TMainFrame::BtnVisuSelecClick() {
  editAppearance(*this, SelectedKind, &Appearance::selected, std::nullopt);
}

void TMainFrame::BtnVisuNonSelecClick() {
  editAppearance(*this, UnselectedKind, &Appearance::unselected, std::nullopt);
}

void TMainFrame::BtnVisuOngletClick() {
  TOnglet* active = activePage();
  editAppearance(*this, TabsKind, &Appearance::tabs,
                 active ? active->GetBackgroundColor() : FTabColor, &Appearance::tabColor);
}

void TMainFrame::BtnVisuAffClick() {
  // The logo panel takes the display colour once it is first set, changed or not.
  if (editAppearance(*this, PhraseKind, &Appearance::validated, FMemoColor, &Appearance::memoColor))
    setMemoColor(FMemoColor);
}

void TMainFrame::BtnVisuAff2Click() {
  if (editAppearance(*this, PhraseKind, &Appearance::currentPhrase, FMemoColor,
                     &Appearance::memoColor))
    setMemoColor(FMemoColor);
}

void TMainFrame::BitBtnTtAffClick() {
  FAllSelected = !FAllSelected;
  BitBtnTtAff->setText(FAllSelected ? QStringLiteral("Désélectionner les textes")
                                    : QStringLiteral("Sélectionner les textes"));
  for (TOnglet* page : pages()) {
    page->JoinPieces();
    page->ApplyFont(FAllSelected ? FSelectedFont : FUnselectedFont);
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
}

void TMainFrame::SplitterMoved() {
  for (TOnglet* page : pages())
    page->ArrangeButtons();
}
