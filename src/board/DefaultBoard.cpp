// Tab creation and the default board: "Divers", "Alphabet" and "Autres caractères" with the
// letters, digits, signs and accented letters a user can spell with at once.
#include "board/DefaultBoard.h"
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "editing/BoardHistory.h"
#include "shell/TPageControl.h"

#include <QLineEdit>

namespace defaultboard {
QStringList alphabetTexts() {
  QStringList texts;
  for (char c = 'a'; c <= 'z'; ++c)
    texts << QString(QLatin1Char(c));
  texts << QStringLiteral(" ");
  return texts;
}

QStringList otherCharacterTexts() {
  QStringList texts;
  for (char c = '0'; c <= '9'; ++c)
    texts << QString(QLatin1Char(c));
  texts << QStringLiteral("+") << QStringLiteral("-") << QStringLiteral("*") << QStringLiteral("/")
        << QStringLiteral(".") << QStringLiteral(",") << QStringLiteral(";") << QStringLiteral(":")
        << QStringLiteral("!") << QStringLiteral("?") << QStringLiteral("\"") << QStringLiteral("(")
        << QStringLiteral(")") << QStringLiteral("é") << QStringLiteral("è") << QStringLiteral("ç")
        << QStringLiteral("à") << QStringLiteral("ù") << QStringLiteral("@") << QStringLiteral(" ");
  return texts;
}
} // namespace defaultboard

TOnglet* TMainFrame::AddTab(const QString& caption, bool activate) {
  auto* page = new TOnglet(PageControl, this);
  const QString name = caption.isEmpty() ? QStringLiteral("Onglet%1").arg(FTabCounter) : caption;
  PageControl->addTab(page, QString());
  page->setCaption(name);
  page->SetBackgroundColor(FTabColor);
  ++FTabCounter;
  if (activate) {
    PageControl->setCurrentWidget(page);
    EdtNomOnglet->setText(name);
    EdtNomOnglet->setEnabled(true);
  }
  if (!FExecMode)
    page->ApplyFont(FAllSelected ? FSelectedFont : FUnselectedFont);
  return page;
}

void TMainFrame::BtnNouveauClick() {
  // While the carer edits, the board replaced can be brought back; at start-up there is none.
  if (FExecMode) {
    buildDefaultBoard();
    FHistory->startAfresh();
  } else {
    FHistory->replaceBoard([this] { buildDefaultBoard(); });
  }
}

void TMainFrame::buildDefaultBoard() {
  ClearBoard();
  FSettings = BoardSettings();
  FSelectedFont = BoardFont();
  FSelectedFont.color = clRed;
  FUnselectedFont = BoardFont();
  FUnselectedFont.color = clNavy;
  FValidatedFont.name = QStringLiteral("Arial");
  FCurrentPhraseFont.name = QStringLiteral("Arial");
  FUnselectedMeasure.setFont(FUnselectedFont);
  FSelectedMeasure.setFont(FSelectedFont);
  FButtonHeight = FUnselectedMeasure.height() + 6;

  AddTab(QStringLiteral("Divers"));
  AddTab(QStringLiteral("Alphabet"));
  AddTab(QStringLiteral("Autres caractères"));
  const QList<TOnglet*> all = pages();
  FDiversTab = all.at(0);
  FAlphabetTab = all.at(1);
  FOtherCharsTab = all.at(2);
  FAlphabetTab->AddTexts(defaultboard::alphabetTexts());
  FOtherCharsTab->AddTexts(defaultboard::otherCharacterTexts());
  applyBoardSettings();
  // The new texts carry the fonts of the moment, whatever mode the window is in; while editing,
  // the letters cannot be chosen, as after entering creation mode.
  for (TOnglet* page : all)
    page->ApplyFont(!FExecMode && FAllSelected ? FSelectedFont : FUnselectedFont);
  if (!FExecMode)
    applyModeLook();

  EdtNomOnglet->setEnabled(false);
  FTabCounter = 1;
  FFileName.clear();
  setWindowTitle(QStringLiteral("Orivox v1.0"));
  ClearDisplay();
}
