// The board on screen: its pages, its look and its values, put in place from a file or as the
// default board, and laid out again when the fonts or the mode change.
#include "board/BoardView.h"

#include "board/DefaultBoard.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/ReservedNames.h"
#include "documents/StorableText.h"

#include <QSignalBlocker>
#include <algorithm>

namespace {
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

BoardFont colouredFont(TColor colour) {
  BoardFont f;
  f.color = colour;
  return f;
}
} // namespace

BoardView::BoardView(ITextMeasurer* measurer, QWidget* tabParent, QObject* parent)
    : QObject(parent), FSelectedMeasure(measurer), FUnselectedMeasure(measurer),
      FMeasureLabel(measurer) {
  FPageControl = new TPageControl(tabParent);
  FPageControl->setObjectName(QStringLiteral("PageControl"));
  FTabBar = FPageControl->tabStrip();
  FPageControl->setUsesScrollButtons(true);
  FPageControl->setFocusPolicy(Qt::NoFocus);
  FTabBar->setFocusPolicy(Qt::NoFocus);
  setFonts(colouredFont(clRed), colouredFont(clNavy));
  FTabFont = colouredFont(clMaroon);
  FPageControl->setFont(FTabFont.toQFont());
}

BoardView::~BoardView() {
  // The pages go while the view is whole: a text button losing the focus calls back into it.
  const QSignalBlocker block(FPageControl);
  ClearBoard();
}

QList<TOnglet*> BoardView::pages() const {
  QList<TOnglet*> list;
  for (int i = 0; i < FPageControl->count(); ++i)
    if (auto* p = qobject_cast<TOnglet*>(FPageControl->widget(i)))
      list << p;
  return list;
}

TOnglet* BoardView::activePage() const {
  return qobject_cast<TOnglet*>(FPageControl->currentWidget());
}

int BoardView::pageCount() const {
  return FPageControl->count();
}

int BoardView::currentIndex() const {
  return FPageControl->currentIndex();
}

TOnglet* BoardView::pageAt(int index) const {
  return qobject_cast<TOnglet*>(FPageControl->widget(index));
}

TOnglet* BoardView::pageNamed(const QString& caption) const {
  TOnglet* found = nullptr;
  for (TOnglet* page : pages())
    if (page->caption() == caption)
      found = page;
  return found;
}

namespace {
constexpr int kDiversName = 0; // the index of "Divers" among the reserved tab names
}

bool BoardView::isLetterTab(const QString& caption) {
  return reservednames::reservedTabIndex(caption) > kDiversName;
}

bool BoardView::isReservedTabCaption(const QString& caption) {
  return reservednames::isReservedTab(caption);
}

bool BoardView::isReservedTab(const TOnglet* page) const {
  const int name = page ? reservednames::reservedTabIndex(page->caption()) : -1;
  if (name < 0)
    return false;
  for (int i = 0; i < FPageControl->count(); ++i) {
    const TOnglet* p = pageAt(i);
    if (p == page)
      return true;
    if (p && reservednames::reservedTabIndex(p->caption()) == name)
      return false;
  }
  return false;
}

bool BoardView::isLetterPage(const TOnglet* page) const {
  return page && isLetterTab(page->caption()) && isReservedTab(page);
}

void BoardView::findDiversTab() {
  FDiversTab = nullptr;
  for (TOnglet* page : pages())
    if (reservednames::reservedTabIndex(page->caption()) == kDiversName) {
      FDiversTab = page;
      return;
    }
}

TOnglet* BoardView::newPage() {
  auto* page = new TOnglet(FPageControl, this);
  connect(page, &TOnglet::textChosen, this, &BoardView::setCurrentText);
  connect(page, &TOnglet::textNameShown, this, &BoardView::textNameShown);
  connect(page, &TOnglet::textNameAttached, this, &BoardView::textNameAttached);
  connect(page, &TOnglet::textNameEnabled, this, &BoardView::textNameEnabled);
  connect(page, &TOnglet::textReached, this, &BoardView::textLit);
  return page;
}

TOnglet* BoardView::createPage(const QString& caption) {
  TOnglet* page = newPage();
  page->setCaption(caption);
  FPageControl->addTab(page, page->shownCaption());
  page->SetBackgroundColor(FTabColor);
  return page;
}

TOnglet* BoardView::AddTab(const QString& caption, bool activate) {
  TOnglet* page = newPage();
  const QString name = caption.isEmpty() ? QStringLiteral("Onglet%1").arg(FTabCounter) : caption;
  FPageControl->addTab(page, QString());
  page->setCaption(name);
  page->SetBackgroundColor(FTabColor);
  ++FTabCounter;
  if (activate) {
    FPageControl->setCurrentWidget(page);
    emit tabNameShown(name);
    emit tabNameEnabled(true);
  }
  if (!FExecMode)
    page->ApplyFont(FAllSelected ? FSelectedFont : FUnselectedFont);
  return page;
}

TOnglet* BoardView::insertPage(int index, const QString& caption, const QStringList& texts,
                               const QList<BoardPicture>& pictures) {
  TOnglet* page = newPage();
  FPageControl->insertTab(index, page, QString());
  page->setCaption(caption);
  page->SetBackgroundColor(FTabColor);
  findDiversTab();
  page->SetButtonsHeight(FButtonHeight);
  page->AddTexts(texts, pictures);
  page->refitTexts(!FExecMode && FAllSelected ? FSelectedFont : FUnselectedFont);
  return page;
}

void BoardView::ClearBoard() {
  FTabBar->setHighlighted(-1);
  const TPageControl::Batch batch(*FPageControl);
  // Pages go from the last, with the first one current until it goes too: each time the current
  // page goes, the page stack walks every widget of every page that remains.
  if (FPageControl->count() > 0)
    FPageControl->setCurrentIndex(0);
  while (FPageControl->count() > 0) {
    QWidget* page = FPageControl->widget(FPageControl->count() - 1);
    FPageControl->removeTab(FPageControl->count() - 1);
    delete page;
  }
  FTabCounter = 0;
}

void BoardView::showTab(int tab) {
  if (tab < 0 || tab >= pageCount())
    return;
  QWidget* before = FPageControl->currentWidget();
  if (FPageControl->currentIndex() != tab)
    FPageControl->setCurrentIndex(tab);
  if (FTabBar->highlighted() >= 0)
    FTabBar->setHighlighted(tab);
  TOnglet* page = activePage();
  emit tabNameShown(page->caption());
  // As when the carer picks a tab; a tab renamed in place keeps the field as the carer left it.
  if (page != before)
    emit tabNameEnabled(!isReservedTab(page));
}

void BoardView::announceActiveTab() {
  if (TOnglet* page = activePage()) {
    emit tabNameEnabled(!isReservedTab(page));
    emit tabNameShown(page->caption());
  }
}

TOnglet* BoardView::ensureDiversTab() {
  // A board without "Divers" must not lose the user's phrase: the tab is made at the end.
  if (!FDiversTab)
    FDiversTab = AddTab(QStringLiteral("Divers"), false);
  return FDiversTab;
}

bool BoardView::hasButtonCaption(const QString& text) const {
  for (TOnglet* page : pages())
    for (int i = 0; i < page->GetButtonCount(); ++i)
      if (page->GetButtonCaption(i) == text)
        return true;
  return false;
}

void BoardView::addPhrase(const QString& text) {
  TOnglet* divers = ensureDiversTab();
  divers->AddText(true, text, false);
  if (divers != activePage())
    divers->refitTexts(FUnselectedFont);
}

QRect BoardView::litRect(const QWidget* in, int rowFirst, int rowCount) const {
  const QWidget* lit = nullptr;
  QRect r;
  if (FTabScanning && FTabBar->highlighted() >= 0) {
    lit = FTabBar;
    r = FTabBar->tabRect(FTabBar->highlighted());
  } else if (TOnglet* page = activePage(); page && !FTabScanning) {
    if (rowFirst >= 0) {
      // A row counts items: the suggestions come before the buttons.
      QRect under;
      for (int i = rowFirst; i < rowFirst + rowCount && i < page->itemCount(); ++i)
        if (TTextButton* b = page->itemButton(i); b && b->isVisible())
          under |= QRect(b->mapTo(in, QPoint()), b->size());
      return under;
    }
    lit = page->GetCurrentButton();
    if (lit && !lit->isVisible())
      lit = nullptr;
    if (lit)
      r = lit->rect();
  }
  if (!lit)
    return QRect();
  return QRect(lit->mapTo(in, r.topLeft()), r.size());
}

void BoardView::setFonts(const BoardFont& selected, const BoardFont& unselected) {
  FSelectedFont = selected;
  FUnselectedFont = unselected;
  FUnselectedMeasure.setFont(FUnselectedFont);
  FSelectedMeasure.setFont(FSelectedFont);
}

int BoardView::fittedButtonHeight() {
  return (FSelectedFont.size > FUnselectedFont.size ? FSelectedMeasure.height()
                                                    : FUnselectedMeasure.height()) +
         6;
}

void BoardView::buildDefaultBoard() {
  ClearBoard();
  FSettings = BoardSettings();
  setFonts(colouredFont(clRed), colouredFont(clNavy));
  FValidatedFont.name = QStringLiteral("Arial");
  FCurrentPhraseFont.name = QStringLiteral("Arial");
  FButtonHeight = FUnselectedMeasure.height() + 6;

  AddTab(QStringLiteral("Divers"));
  AddTab(QStringLiteral("Alphabet"));
  AddTab(QStringLiteral("Autres caractères"));
  const QList<TOnglet*> all = pages();
  FDiversTab = all.at(0);
  all.at(1)->AddTexts(defaultboard::alphabetTexts());
  all.at(2)->AddTexts(defaultboard::otherCharacterTexts());
  applyLayoutSettings();
  // The new texts carry the fonts of the moment, whatever mode the board is in; while editing,
  // the letters cannot be chosen, as after entering creation mode.
  for (TOnglet* page : all)
    page->ApplyFont(!FExecMode && FAllSelected ? FSelectedFont : FUnselectedFont);
  if (!FExecMode)
    applyModeLook();
  emit tabNameEnabled(false);
  FTabCounter = 1;
}

void BoardView::setPaces(int tabSeconds, int textSeconds) {
  // A pace outside 1..100 is taken at the nearest limit: the scan runs at the pace shown, which
  // is also the one the next save writes.
  FTabSeconds = std::clamp(tabSeconds, 1, 100);
  FTextSeconds = std::clamp(textSeconds, 1, 100);
}

boardfile::BoardExtent BoardView::extent() const {
  // Counted when an edit asks, never kept: sizes only, no text is encoded or copied whole.
  boardfile::BoardExtent e;
  e.tabs = pageCount();
  for (TOnglet* page : pages()) {
    e.textBytes += boardfile::storedBytes(page->caption());
    for (const QString& t : page->wholeTexts()) {
      ++e.texts;
      e.textBytes += boardfile::storedBytes(t);
    }
  }
  return e;
}

std::optional<QString> BoardView::boundPassedBy(int addedTabs, const QStringList& addedTexts,
                                                const QStringList& newNames,
                                                qint64 replacedBytes) const {
  boardfile::BoardExtent e = extent();
  e.textBytes -= replacedBytes;
  e.tabs += addedTabs;
  e.texts += addedTexts.size();
  for (const QString& name : newNames)
    e.textBytes += boardfile::storedBytes(name);
  if (const auto passed = boardfile::boundPassed(e, newNames))
    return passed;
  // A text the file cannot hold would make every later save fail: it is refused where it is
  // made, the program's own phrases included.
  for (const QString& name : newNames)
    if (const auto at = firstUnstorableAt(name))
      return unstorableCharacterMessage(name, *at);
  return std::nullopt;
}

BoardData BoardView::boardData() const {
  BoardData d;
  d.t1Seconds = FTabSeconds;
  d.t2Seconds = FTextSeconds;
  d.selectedFont = FSelectedFont;
  d.unselectedFont = FUnselectedFont;
  d.tabFont = FTabFont;
  d.validatedFont = FValidatedFont;
  d.tabColor = FTabColor;
  d.memoColor = FMemoColor;
  d.currentPhraseFont = FCurrentPhraseFont;
  d.finalMemoColor = FMemoColor;
  d.finalLinesRead = boardfile::kFinalBlockLines;
  d.settings = FSettings;
  // The texts are read whole from their pieces: joining and cutting every button again would
  // leave the same buttons, at a cost that grows with the board.
  for (TOnglet* page : pages())
    d.tabs << BoardTab{page->caption(), page->wholeTexts(), page->model().pictures()};
  return d;
}

void BoardView::showBoard(const BoardData& d) {
  ClearBoard();
  FDiversTab = nullptr;
  FSettings = d.settings;
  setPaces(d.t1Seconds, d.t2Seconds);
  BoardFont selected, unselected;
  applyRecord(selected, d.selectedFont, true);
  applyRecord(unselected, d.unselectedFont, true);
  applyRecord(FTabFont, d.tabFont, false);
  FPageControl->setFont(FTabFont.toQFont());
  FTabColor = d.tabColor;
  applyRecord(FValidatedFont, d.validatedFont, true);
  setMemoColor(d.memoColor);
  setFonts(selected, unselected);

  {
    const TPageControl::Batch batch(*FPageControl);
    for (const BoardTab& tab : d.tabs) {
      TOnglet* page = createPage(tab.caption);
      page->AddTexts(tab.texts, tab.pictures);
    }
  }
  findDiversTab();
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
  if (n >= boardfile::kFinalBlockLines)
    FCurrentPhraseFont.underline = f.underline;

  FButtonHeight = fittedButtonHeight();
  for (TOnglet* page : pages()) {
    page->SetButtonsHeight(FButtonHeight);
    page->ApplyFont(FUnselectedMeasure.font());
  }
  applyLayoutSettings();
  for (TOnglet* page : pages())
    page->SplitAllTexts();
  if (!FExecMode)
    applyModeLook(); // a board opened while editing shows the editing look at once
  else if (TOnglet* page = activePage())
    page->ApplyFont(FUnselectedFont);
  for (TOnglet* page : pages())
    page->ArrangeButtons();
}

void BoardView::applyLayoutSettings() {
  for (TOnglet* page : pages()) {
    page->setGridColumns(FSettings.gridColumns, FSettings.gridFitFont);
    page->setHighlightStyle(FSettings.highlight);
    page->repaintTexts(); // where the pictures' labels go may have changed
  }
  FTabBar->setHighlightStyle(FSettings.highlight);
}

void BoardView::applyModeLook() {
  const BoardFont& font = FExecMode || !FAllSelected ? FUnselectedFont : FSelectedFont;
  for (TOnglet* page : pages()) {
    // The texts are cut again for the new font: a larger font must not overflow the page.
    page->setReservedShown(FExecMode);
    if (isLetterPage(page))
      page->setOneLetterTextsEnabled(FExecMode);
    page->refitTexts(font);
  }
}

void BoardView::setSuggestionSlots(int count) {
  FSuggestionSlots = count;
  // Every page again: a board just put on screen has pages without them.
  for (TOnglet* page : pages()) {
    page->setSuggestionSlots(isLetterPage(page) ? count : 0);
    page->setSuggestions(FSuggestions);
  }
}

void BoardView::showSuggestions(const QStringList& words) {
  FSuggestions = words;
  for (TOnglet* page : pages())
    if (page->suggestionCount() > 0)
      page->setSuggestions(words);
}

void BoardView::setAllSelected(bool all) {
  FAllSelected = all;
}

void BoardView::refitTextFonts() {
  FButtonHeight = fittedButtonHeight();
  for (TOnglet* page : pages()) {
    page->SetButtonsHeight(FButtonHeight);
    page->refitTexts(FAllSelected ? FSelectedFont : FUnselectedFont);
  }
}

void BoardView::arrangeAll() {
  for (TOnglet* page : pages())
    page->ArrangeButtons();
}

BoardLook BoardView::look() const {
  return BoardLook{FSelectedFont, FUnselectedFont, FValidatedFont, FCurrentPhraseFont,
                   FTabFont,      FTabColor,       FMemoColor};
}

void BoardView::setLook(const BoardLook& to, const BoardLook& from) {
  FSelectedFont = to.selected;
  FUnselectedFont = to.unselected;
  FValidatedFont = to.validated;
  FCurrentPhraseFont = to.currentPhrase;
  // Only what changed is laid out again: refitting the texts costs a pass over the board.
  if (to.selected != from.selected || to.unselected != from.unselected) {
    setFonts(to.selected, to.unselected);
    if (to.unselected != from.unselected)
      for (TOnglet* page : pages())
        page->ApplyUnselectedFont();
    refitTextFonts();
  }
  if (to.tabs != from.tabs || to.tabColor != from.tabColor) {
    FTabFont = to.tabs;
    FPageControl->setFont(FTabFont.toQFont());
    FTabColor = to.tabColor;
    for (TOnglet* page : pages())
      page->SetBackgroundColor(FTabColor);
  }
  if (to.memoColor != from.memoColor)
    setMemoColor(to.memoColor);
}

void BoardView::setMemoColor(TColor color) {
  FMemoColor = color;
  emit memoColorChanged(color);
}

void BoardView::setCurrentText(TTextButton* button) {
  FCurrentText = button;
  if (TOnglet* page = activePage())
    page->repaintTexts(); // the mark moves to the text now chosen
}
