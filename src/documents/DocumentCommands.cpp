// Whole-board commands of the main window: load, save, clear, open, and the change of
// password. A board file is read and checked whole before the board on screen is touched,
// and saved through a temporary file so that a failed save leaves the previous file intact; the
// file a save replaces is kept beside it as its backup.
#include "shell/TMainFrame.h"

#include "board/TOnglet.h"
#include "documents/BoardFile.h"
#include "documents/SafeSave.h"
#include "documents/StorableText.h"
#include "documents/TFormChangeMdp.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "shell/TPageControl.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>

namespace {
const QString kFilter = QStringLiteral("Fichiers ordinogrammes (*.ord) |*.ord");
const QString kCaption = QStringLiteral("Orivox v1.0");

// Values of a stored font record over a font; an empty stored name keeps the font's name.
void applyRecord(BoardFont& font, const BoardFont& stored, bool withColour) {
  if (!stored.name.isEmpty())
    font.name = stored.name;
  font.size = stored.size;
  if (withColour)
    font.color = stored.color;
  font.bold = stored.bold;
  font.italic = stored.italic;
  font.underline = stored.underline;
}
} // namespace

void TMainFrame::ClearBoard() {
  TabBar->setHighlighted(-1);
  const TPageControl::Batch batch(static_cast<TPageControl&>(*PageControl));
  // Pages go from the last, with the first one current until it goes too: each time the current
  // page goes, the page stack walks every widget of every page that remains.
  if (PageControl->count() > 0)
    PageControl->setCurrentIndex(0);
  while (PageControl->count() > 0) {
    QWidget* page = PageControl->widget(PageControl->count() - 1);
    PageControl->removeTab(PageControl->count() - 1);
    delete page;
  }
  FTabCounter = 0;
}

TOnglet* TMainFrame::createPage(const QString& caption) {
  auto* page = new TOnglet(PageControl, this);
  page->setCaption(caption);
  PageControl->addTab(page, page->shownCaption());
  page->SetBackgroundColor(FTabColor);
  return page;
}

void TMainFrame::setMemoColor(TColor color) {
  FMemoColor = color;
  QPalette pal = Memo->palette();
  pal.setColor(QPalette::Base, toQColor(color));
  Memo->setPalette(pal);
  QPalette logo = PnlLogo->palette();
  logo.setColor(QPalette::Window, toQColor(color));
  PnlLogo->setPalette(logo);
}

// The name fields spoke of the board just replaced: left as they were, typing in the tab
// name field would rename a tab of the new board after one of the old.
void TMainFrame::showNewBoardInNameFields() {
  FTextNameChangeAttached = false;
  FTabNameChangeAttached = false;
  TOnglet* active = activePage();
  EdtNomOnglet->setText(active ? active->caption() : QString());
  EdtNomOnglet->setEnabled(active && !isReservedTabCaption(active->caption()));
  EdtNomTexte->clear();
  EdtNomTexte->setEnabled(false);
  FTextNameChangeAttached = true;
  FTabNameChangeAttached = true;
}

TMainFrame::LoadOutcome TMainFrame::LoadBoard(const QString& path) {
  BoardReadResult result;
  const LoadOutcome outcome = readBoardFile(path, result, true);
  if (outcome != LoadOutcome::Loaded)
    return outcome;
  applyBoard(result, path);
  FHistory->startAfresh();
  return outcome;
}

TMainFrame::LoadOutcome TMainFrame::readBoardFile(const QString& path, BoardReadResult& result,
                                                  bool sayWhy) {
  if (!QFileInfo(path).isFile()) {
    FServices.messages->information(QStringLiteral("le fichier ") + path +
                                    QStringLiteral("n'existe pas"));
    return LoadOutcome::Missing;
  }
  QFile file(path);
  result = BoardReadResult{BoardReadStatus::Error, {}, 0}; // unreadable until read
  if (file.open(QIODevice::ReadOnly)) {
    result = boardfile::read(file);
    if (file.error() != QFileDevice::NoError)
      result = BoardReadResult{BoardReadStatus::Error, {}, 0}; // unreadable, whatever was read
  }
  // Nothing of a broken file reaches the board: what is on screen stays as it was. A file that
  // is not a board at all is one such file: opened as an empty board, it would be overwritten
  // by the next save.
  if (result.status != BoardReadStatus::Ok) {
    FServices.messages->information(
        sayWhy ? boardfile::refusalMessage(path, boardfile::refusalReason(result))
               : QStringLiteral("erreur de chargement du fichier"));
    return LoadOutcome::Broken;
  }
  return LoadOutcome::Loaded;
}

void TMainFrame::applyBoard(const BoardReadResult& result, const QString& path) {
  ClearBoard();
  FDiversTab = nullptr;
  FAlphabetTab = nullptr;
  FOtherCharsTab = nullptr;
  const BoardData& d = result.data;
  FSettings = d.settings;
  {
    const QSignalBlocker b1(EdtT1), b2(EdtT2);
    EdtT1->setValue(d.t1Seconds);
    EdtT2->setValue(d.t2Seconds);
  }
  // A pace outside 1..100 is shown at the nearest limit: the scan runs at the pace shown,
  // which is also the one the next save writes.
  TimerT1->setInterval(EdtT1->value() * 1000);
  TimerT2->setInterval(EdtT2->value() * 1000);
  FSelectedFont = BoardFont();
  FUnselectedFont = BoardFont();
  applyRecord(FSelectedFont, d.selectedFont, true);
  applyRecord(FUnselectedFont, d.unselectedFont, true);
  applyRecord(FTabFont, d.tabFont, false);
  PageControl->setFont(FTabFont.toQFont());
  FTabColor = d.tabColor;
  applyRecord(FValidatedFont, d.validatedFont, true);
  setMemoColor(d.memoColor);
  FUnselectedMeasure.setFont(FUnselectedFont);
  FSelectedMeasure.setFont(FSelectedFont);

  const TPageControl::Batch batch(static_cast<TPageControl&>(*PageControl));
  for (const BoardTab& tab : d.tabs) {
    TOnglet* page = createPage(tab.caption);
    if (tab.caption == QStringLiteral("Divers"))
      FDiversTab = page;
    else if (tab.caption == QStringLiteral("Alphabet"))
      FAlphabetTab = page;
    else if (tab.caption == QStringLiteral("Autres caractères"))
      FOtherCharsTab = page;
    page->AddTexts(tab.texts);
  }
  FTabCounter = int(d.tabs.size());

  // The final block may be cut short: what was read of it applies.
  const int n = d.finalLinesRead;
  const BoardFont& f = d.currentPhraseFont;
  if (n >= 1 && !f.name.isEmpty())
    FCurrentPhraseFont.name = f.name;
  if (n >= 2)
    FCurrentPhraseFont.size = f.size;
  if (n >= 3)
    FCurrentPhraseFont.color = f.color;
  if (n >= 4)
    setMemoColor(d.finalMemoColor);
  if (n >= 5)
    FCurrentPhraseFont.bold = f.bold;
  if (n >= 6)
    FCurrentPhraseFont.italic = f.italic;
  if (n >= 7)
    FCurrentPhraseFont.underline = f.underline;

  FFileName = path;
  setWindowTitle(QStringLiteral("Orivox v1.0 : ") + path);
  FButtonHeight = (FSelectedFont.size > FUnselectedFont.size ? FSelectedMeasure.height()
                                                             : FUnselectedMeasure.height()) +
                  6;
  for (TOnglet* page : pages()) {
    page->SetButtonsHeight(FButtonHeight);
    page->ApplyFont(FUnselectedMeasure.font());
  }
  ClearDisplay();
  applyBoardSettings();
  for (TOnglet* page : pages())
    page->SplitAllTexts();
  if (!FExecMode) {
    applyModeLook(); // a board opened while editing shows the editing look at once
    showNewBoardInNameFields();
  } else if (TOnglet* page = activePage())
    page->ApplyFont(FUnselectedFont);
  for (TOnglet* page : pages())
    page->ArrangeButtons();
}

void TMainFrame::SaveBoard(bool saveAs) {
  if (saveAs || FFileName.isEmpty()) {
    const QString name = FServices.fileDialogs->saveFileName(kFilter);
    if (name.isEmpty()) {
      return;
    }
    FFileName = name.size() > 4 && name.endsWith(QStringLiteral(".ord"))
                    ? name
                    : name + QStringLiteral(".ord");
  }

  const BoardData d = boardedit::currentBoardData(*this);
  bool storable = true;
  for (const BoardTab& tab : d.tabs) {
    storable = storable && isStorableText(tab.caption);
    for (const QString& t : tab.texts)
      storable = storable && isStorableText(t);
  }

  // A text the file cannot hold would be lost: refuse the save instead. The file replaced is
  // kept as its backup.
  if (!storable || !saveKeepingBackup(FFileName, boardfile::write(d))) {
    FServices.messages->information(QStringLiteral("erreur d'enregistrement du fichier"));
    FFileName.clear();
    setWindowTitle(kCaption);
    return;
  }
  setWindowTitle(QStringLiteral("Orivox v1.0 : ") + FFileName);
  FHistory->markSaved();
  journal("enregistrement", FFileName);
}

void TMainFrame::BtnOuvrirClick() {
  const QString path = FServices.fileDialogs->openFileName(kFilter);
  if (path.isEmpty())
    return;
  const boardedit::BoardSnapshot before = boardedit::captureBoard(*this);
  setWindowTitle(path);
  BoardReadResult result;
  const LoadOutcome outcome = readBoardFile(path, result);
  if (outcome == LoadOutcome::Broken)
    setWindowTitle(before.title); // a broken file changes nothing, the caption included
  if (outcome != LoadOutcome::Loaded)
    return;
  // The board opened replaces the one shown as one step the carer can undo.
  FHistory->replaceBoard(before, [this, result, path] { applyBoard(result, path); });
}

void TMainFrame::BtnChangMdpClick() {
  createDialogs();
  if (FormChangeMdp->exec() == 1)
    FPassword = FormChangeMdp->GetNewPassword();
}
