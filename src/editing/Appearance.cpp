// The appearance targets of the creation panel (the two text fonts, the tabs, the two phrase
// fonts with the display colour), the preview toggle and the re-layout after the splitter moves.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
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

void TMainFrame::BtnVisuSelecClick() {
  if (!runFontDialog(SelectedKind, &FSelectedFont, std::nullopt))
    return;
  FSelectedMeasure.setFont(FSelectedFont);
  refitTextFonts();
  FSaved = false;
}

void TMainFrame::BtnVisuNonSelecClick() {
  if (!runFontDialog(UnselectedKind, &FUnselectedFont, std::nullopt))
    return;
  FUnselectedMeasure.setFont(FUnselectedFont);
  for (TOnglet* page : pages())
    page->ApplyUnselectedFont();
  refitTextFonts();
  FSaved = false;
}

void TMainFrame::BtnVisuOngletClick() {
  TOnglet* active = activePage();
  if (!runFontDialog(TabsKind, &FTabFont, active ? active->GetBackgroundColor() : FTabColor))
    return;
  PageControl->setFont(FTabFont.toQFont());
  FTabColor = FormFont->GetBackColor();
  for (TOnglet* page : pages())
    page->SetBackgroundColor(FTabColor);
  FSaved = false;
}

void TMainFrame::BtnVisuAffClick() {
  if (!runFontDialog(PhraseKind, &FValidatedFont, FMemoColor))
    return;
  setMemoColor(FormFont->GetBackColor());
  FSaved = false;
}

void TMainFrame::BtnVisuAff2Click() {
  if (!runFontDialog(PhraseKind, &FCurrentPhraseFont, FMemoColor))
    return;
  setMemoColor(FormFont->GetBackColor());
  FSaved = false;
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
