// The tab page and its buttons: construction, texts, cutting into pieces, layout, and the
// scanning highlight over the buttons.
#include "board/TOnglet.h"

#include "platform/SwitchKeys.h"

#include "board/ButtonLayout.h"
#include "board/TextCutting.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

#include <algorithm>

namespace {

// A caption shown as typed: Qt would take a single '&' for a mnemonic marker.
QString shownLiterally(const QString& caption) {
  QString shown = caption;
  shown.replace(QLatin1Char('&'), QLatin1String("&&"));
  return shown;
}

constexpr int kReservedCount = 7;

} // namespace

// ---------------------------------------------------------------------------------------------
// TTextButton

TTextButton::TTextButton(TOnglet* page, QWidget* parent) : QPushButton(parent), FPage(page) {
  setAutoDefault(false);
  setDefault(false);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QPushButton::clicked, this, [this] {
    if (!isReserved && FPage)
      FPage->TextButtonClick(this);
  });
}

void TTextButton::setCaption(const QString& caption) {
  if (caption == FCaption)
    return;
  FCaption = caption;
  setText(shownLiterally(caption));
  FCutForWidth = -1;
}

void TTextButton::setBoardFont(const BoardFont& font, int shownSize, bool framed) {
  if (framed != FFramed) {
    FFramed = framed;
    update();
  }
  if (FHasFont && font == FBoardFont && shownSize == FShownSize)
    return;
  FBoardFont = font;
  FShownSize = shownSize;
  FHasFont = true;
  BoardFont shown = font;
  if (shownSize > 0)
    shown.size = shownSize;
  setFont(shown.toQFont());
  QPalette pal = palette();
  pal.setColor(QPalette::ButtonText, toQColor(font.color));
  setPalette(pal);
  FCutForWidth = -1;
}

void TTextButton::paintEvent(QPaintEvent* e) {
  if (!FFramed) {
    QPushButton::paintEvent(e);
    paintChosenFrame();
    return;
  }
  // Inverted: the button filled with the highlight's colour, its caption in the page's colour,
  // inside a thick frame that contrasts with the page whatever the colours chosen.
  const QColor ink = toQColor(FBoardFont.color);
  const QColor page = FPage ? toQColor(FPage->GetBackgroundColor()) : QColor(Qt::white);
  const QColor frame = page.lightness() > 127 ? QColor(Qt::black) : QColor(Qt::white);
  QPainter p(this);
  p.fillRect(rect(), frame);
  p.fillRect(rect().adjusted(4, 4, -4, -4), ink);
  p.setFont(font());
  p.setPen(page);
  p.drawText(rect(), Qt::AlignCenter, FCaption);
}

void TTextButton::paintChosenFrame() {
  // The text chosen for editing wears a frame on every piece, so that the carer sees which of
  // many similar buttons the commands will act on.
  const TOngletHost* host = FPage ? FPage->host() : nullptr;
  const TTextButton* chosen = host && !host->execMode() ? host->chosenText() : nullptr;
  if (!chosen || isReserved)
    return;
  if (this != chosen && FPage->textButton(FPage->textIndexOf(this)) != chosen)
    return;
  QPainter painter(this);
  painter.setPen(QPen(QColor(0, 0, 0x80), 3));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void TTextButton::focusInEvent(QFocusEvent* e) {
  QPushButton::focusInEvent(e);
  if (FPage)
    FPage->TextButtonEnter(this);
}

void TTextButton::focusOutEvent(QFocusEvent* e) {
  QPushButton::focusOutEvent(e);
  if (FPage)
    FPage->TextButtonExit(this);
}

void TTextButton::keyPressEvent(QKeyEvent* e) {
  // A press of the switch is the user's, not a navigation key: the page must not scroll on
  // the keypad's Page Down or arrows.
  if (switchkeys::isSwitchKey(switchkeys::virtualKeyCode(*e))) {
    e->accept();
    return;
  }
  QPushButton::keyPressEvent(e);
}

// ---------------------------------------------------------------------------------------------
// TOnglet: construction

TOnglet::TOnglet(QTabWidget* ATabControl, TOngletHost* host)
    : QWidget(ATabControl), FTabControl(ATabControl), FHost(host) {
  hide(); // owned by the tab control, but shown only once it is one of its pages
  FScrollBox = new QScrollArea(this);
  FScrollBox->setFrameShape(QFrame::NoFrame);
  FScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  FScrollBox->setWidgetResizable(false);
  FContent = new QWidget;
  FContent->setAutoFillBackground(true);
  FScrollBox->setWidget(FContent);
  FScrollBox->viewport()->installEventFilter(this);
  connect(FScrollBox->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this] { cullOutOfView(); });
  SetBackgroundColor(FBackgroundColor);

  struct Reserved {
    TTextButton** field;
    const char* word;
  };
  // Configured from the right; the first layout replaces these provisional places.
  const Reserved configured[] = {
      {&FBtnSonnerie, "SONNERIE"},     {&FBtnRetour, "RETOUR"},
      {&FBtnClear, "CLEAR"},           {&FBtnAjout, "AJOUT"},
      {&FBtnValidation, "VALIDATION"}, {&FBtnSuppression, "SUPPRESSION"},
      {&FBtnAnnulation, "ANNULATION"},
  };
  int left = 0;
  bool first = true;
  for (const Reserved& r : configured) {
    auto* b = new TTextButton(this, FContent);
    b->isReserved = true;
    b->setCaption(QString::fromLatin1(r.word));
    b->setBoardFont(FHost->unselectedFont());
    const int w = measure(FHost->unselectedMeasure(), b->caption()) + 16;
    left = first ? tabControlWidth() - w - 20 : left - w - 20;
    first = false;
    b->setGeometry(left, 5, w, FHost->buttonHeight());
    b->FShownOnPage = FHost->execMode();
    b->setVisible(false); // until laid out in view
    *r.field = b;
  }
  FButtons = {FBtnAnnulation, FBtnSuppression, FBtnValidation, FBtnAjout,
              FBtnClear,      FBtnRetour,      FBtnSonnerie};
}

TOnglet::~TOnglet() {
  // The buttons die with the page's children; they must not call back into a half-gone page
  // when the focus leaves them.
  for (TTextButton* b : FButtons)
    b->FPage = nullptr;
  for (TTextButton* b : FSuggestionButtons)
    b->FPage = nullptr;
  if (FScrollBox)
    FScrollBox->viewport()->removeEventFilter(this);
}

void TOnglet::setCaption(const QString& caption) {
  FCaption = caption;
  // Until it is added, the page is a child of the tab control itself, not of its stack of pages:
  // there is no tab to look for (looking costs the number of tabs).
  if (FTabControl && parentWidget() != FTabControl) {
    const int i = FTabControl->indexOf(this);
    if (i >= 0)
      FTabControl->setTabText(i, shownLiterally(caption));
  }
}

QString TOnglet::shownCaption() const {
  return shownLiterally(FCaption);
}

void TOnglet::SetBackgroundColor(TColor AColor) {
  FBackgroundColor = AColor;
  QPalette pal = FContent->palette();
  pal.setColor(QPalette::Window, toQColor(AColor));
  FContent->setPalette(pal);
}

int TOnglet::tabControlWidth() const {
  return FTabControl ? FTabControl->width() : width();
}

int TOnglet::cuttingWidth() const {
  return FGridColumns > 0 ? buttonlayout::gridCuttingWidth(tabControlWidth(), FGridColumns)
                          : tabControlWidth();
}

int TOnglet::shownSize(const BoardFont& font) const {
  if (FGridColumns <= 0 || !FGridFitFont || FGridScale <= 1.0)
    return 0;
  return std::clamp(int(font.size * FGridScale), 1, 100);
}

BoardFont TOnglet::shownFont(const BoardFont& font) const {
  BoardFont shown = font;
  if (const int size = shownSize(font))
    shown.size = size;
  return shown;
}

int TOnglet::textButtonHeight() const {
  if (FGridColumns <= 0 || !FGridFitFont)
    return FHost->buttonHeight();
  ITextMeasurer* m = FHost->measureLabel().measurer();
  return std::max({FHost->buttonHeight(), m->lineHeight(shownFont(FHost->unselectedFont())) + 6,
                   m->lineHeight(shownFont(FHost->selectedFont())) + 6});
}

// Texts in the grid take the enlarged size; the reserved buttons keep the board's.
void TOnglet::dress(TTextButton* b, const BoardFont& font, bool highlighted) {
  const bool framed = highlighted && FHighlightStyle == HighlightStyle::Frame;
  b->setBoardFont(font, b->isReserved ? 0 : shownSize(font), framed);
}

// ---------------------------------------------------------------------------------------------
// Helpers

int TOnglet::measure(TMeasureLabel& label, const QString& caption) {
  ITextMeasurer* m = label.measurer();
  const BoardFont& font = label.font();
  auto it = std::find_if(FMeasureCaches.begin(), FMeasureCaches.end(),
                         [&](const MeasureCache& c) { return c.measurer == m && c.font == font; });
  if (it == FMeasureCaches.end()) {
    if (FMeasureCaches.size() >= 16) // fonts come and go in the appearance dialog
      FMeasureCaches.erase(FMeasureCaches.begin());
    FMeasureCaches.push_back(MeasureCache{m, font, {}});
    it = FMeasureCaches.end() - 1;
  }
  auto w = it->widths.constFind(caption);
  if (w != it->widths.constEnd())
    return *w;
  const int width = label.width(caption);
  it->widths.insert(caption, width);
  return width;
}

void TOnglet::setButtonWidth(TTextButton* b, int width) {
  if (FGridColumns > 0 && !b->isReserved)
    width = buttonlayout::gridCellWidth(tabControlWidth(), FGridColumns);
  if (b->width() == width)
    return;
  b->resize(width, b->height());
  b->FCutForWidth = -1;
}

int TOnglet::firstPieceOf(int k) const {
  if (!isTextIndex(k))
    return k;
  return std::clamp(k - FPieceNumbers[size_t(k)] + 1, 0, k);
}

QString TOnglet::wholeTextAt(int first) const {
  if (!isTextIndex(first))
    return first >= 0 && first < int(FButtons.size()) ? FButtons[size_t(first)]->caption()
                                                      : QString();
  const int n = std::max(1, FPieceCounts[size_t(first)]);
  const int end = std::min(first + n, textButtonCount());
  QString whole;
  for (int i = first; i < end; ++i)
    whole += FButtons[size_t(i)]->caption();
  return whole;
}

void TOnglet::giveFont(int first, int count, const BoardFont& font, TMeasureLabel& label,
                       bool highlighted) {
  const int end = std::min(first + count, int(FButtons.size()));
  for (int i = std::max(first, 0); i < end; ++i) {
    TTextButton* b = FButtons[size_t(i)];
    dress(b, font, highlighted);
    setButtonWidth(b, measure(label, b->caption()) + 16);
  }
}

TTextButton* TOnglet::newTextButton(const QString& caption) {
  auto* b = new TTextButton(this, FContent);
  b->setCaption(caption);
  b->resize(b->width(), FHost->buttonHeight());
  b->setVisible(false); // shown by the layout once it lies in view
  return b;
}

void TOnglet::destroyButtonAt(int k) {
  TTextButton* b = FButtons[size_t(k)];
  if (isTextIndex(k)) {
    FPieceCounts.erase(FPieceCounts.begin() + k);
    FPieceNumbers.erase(FPieceNumbers.begin() + k);
  }
  FButtons.erase(FButtons.begin() + k);
  b->FPage = nullptr;
  delete b;
}

int TOnglet::indexOfButton(const TTextButton* b) const {
  const auto it = std::find(FButtons.begin(), FButtons.end(), b);
  return it == FButtons.end() ? -1 : int(it - FButtons.begin());
}

TTextButton* TOnglet::itemButton(int item) const {
  const int S = suggestionCount();
  if (item < 0 || item >= itemCount())
    return nullptr;
  return item < S ? FSuggestionButtons[size_t(item)] : FButtons[size_t(item - S)];
}

int TOnglet::itemIndexOf(const TTextButton* b) const {
  const auto it = std::find(FSuggestionButtons.begin(), FSuggestionButtons.end(), b);
  if (it != FSuggestionButtons.end())
    return int(it - FSuggestionButtons.begin());
  const int k = indexOfButton(b);
  return k < 0 ? -1 : suggestionCount() + k;
}

int TOnglet::scrollPosition() const {
  return FScrollBox->verticalScrollBar()->value();
}
void TOnglet::setScrollPosition(int p) {
  FScrollBox->verticalScrollBar()->setValue(p);
}
int TOnglet::scrollMaximum() const {
  return FScrollBox->verticalScrollBar()->maximum();
}

// ---------------------------------------------------------------------------------------------
// Texts

TTextButton* TOnglet::appendTextButton(const QString& caption) {
  return insertTextButton(textButtonCount(), caption);
}

TTextButton* TOnglet::insertTextButton(int k, const QString& caption) {
  auto* b = newTextButton(caption);
  if (!FHost->execMode())
    dress(b, FHost->allSelected() ? FHost->selectedFont() : FHost->unselectedFont());
  b->resize(measure(FHost->unselectedMeasure(), caption) + 16, FHost->buttonHeight());
  FPieceCounts.insert(FPieceCounts.begin() + k, 1);
  FPieceNumbers.insert(FPieceNumbers.begin() + k, 1);
  ++FTextCount;
  FButtons.insert(FButtons.begin() + k, b);
  return b;
}

void TOnglet::InsertTexts(int textIndex, const QStringList& captions) {
  TTextButton* current = GetCurrentButton();
  int k = std::clamp(textIndex, 0, textButtonCount());
  for (const QString& caption : captions)
    insertTextButton(k++, caption);
  if (current)
    FCurrentIndex = itemIndexOf(current);
  ArrangeButtons();
}

TTextButton* TOnglet::textButton(int textIndex) const {
  int text = 0;
  for (int i = 0; i < textButtonCount(); ++i)
    if (i == firstPieceOf(i) && text++ == textIndex)
      return FButtons[size_t(i)];
  return nullptr;
}

int TOnglet::textIndexOf(const TTextButton* b) const {
  const int k = indexOfButton(b);
  if (!isTextIndex(k))
    return -1;
  const int first = firstPieceOf(k);
  int text = 0;
  for (int i = 0; i < first; ++i)
    if (i == firstPieceOf(i))
      ++text;
  return text;
}

void TOnglet::repaintTexts() {
  FContent->update();
}

int TOnglet::AddText(bool AUseCaption, const QString& ACaption, bool ASelect) {
  const QString caption =
      AUseCaption ? ACaption : QStringLiteral("Texte") + QString::number(FTextCount);
  TTextButton* b = appendTextButton(caption);
  if (ASelect) {
    FCurrentIndex = itemIndexOf(b);
    FHost->setCurrentText(b);
    reveal(b);
    b->setFocus();
    FHost->setTextNameField(caption);
  }
  if (!FHost->execMode())
    setScrollPosition(scrollMaximum());
  ArrangeButtons();
  // The range has only now grown to hold the new button: bring the end into view.
  if (!FHost->execMode())
    setScrollPosition(scrollMaximum());
  return 1;
}

void TOnglet::AddTexts(const QStringList& captions) {
  // The same page as one AddText per caption, laid out once instead of once per text.
  for (const QString& caption : captions)
    appendTextButton(caption);
  ArrangeButtons();
  if (!FHost->execMode())
    setScrollPosition(scrollMaximum());
}

void TOnglet::DeleteButton(TTextButton* AButton) {
  const int k = indexOfButton(AButton);
  if (!isTextIndex(k)) // reserved buttons and strangers are never removed
    return;
  destroyButtonAt(k);
  FCurrentIndex = -1;
  FTextCount = std::max(0, FTextCount - 1);
  ArrangeButtons();
}

void TOnglet::MoveButtonBack(TTextButton* AButton) {
  const int k = indexOfButton(AButton);
  if (k > 0 && isTextIndex(k)) {
    std::swap(FButtons[size_t(k)], FButtons[size_t(k - 1)]);
    ArrangeButtons();
  }
  if (AButton) {
    reveal(AButton);
    AButton->setFocus();
  }
}

void TOnglet::MoveButtonForward(TTextButton* AButton) {
  const int k = indexOfButton(AButton);
  if (k >= 0 && k < int(FButtons.size()) - kReservedCount - 1) {
    std::swap(FButtons[size_t(k)], FButtons[size_t(k + 1)]);
    ArrangeButtons();
  }
  if (AButton) {
    reveal(AButton);
    AButton->setFocus();
  }
}

QStringList TOnglet::GetTexts() const {
  QStringList texts;
  const int n = std::min(FTextCount, textButtonCount());
  for (int i = 0; i < n; ++i)
    texts << FButtons[size_t(i)]->caption();
  return texts;
}

QStringList TOnglet::wholeTexts() const {
  QStringList texts;
  for (int i = 0; i < textButtonCount(); ++i)
    if (i == firstPieceOf(i))
      texts << wholeTextAt(i);
  return texts;
}

QString TOnglet::GetButtonCaption(int AIndex) const {
  if (AIndex < 0 || AIndex >= int(FButtons.size()))
    return QString();
  return FButtons[size_t(AIndex)]->caption();
}

void TOnglet::SetButtonsHeight(int AHeight) {
  for (TTextButton* b : FButtons)
    if (b->height() != AHeight)
      b->resize(b->width(), AHeight);
}

// ---------------------------------------------------------------------------------------------
// Cutting and joining

QStringList TOnglet::fitPieces(QStringList pieces, TMeasureLabel& label, int W) {
  // Prefix widths are estimates: a piece that does not fit by its own measure hands its last
  // characters on to the next piece.
  for (int k = 0; k < pieces.size(); ++k) {
    while (pieces[k].size() > 1 && !textcutting::pieceFits(measure(label, pieces[k]), W)) {
      int cut = int(pieces[k].size()) - 1;
      if (cut > 0 && pieces[k].at(cut - 1).isHighSurrogate() && pieces[k].at(cut).isLowSurrogate())
        --cut;
      if (cut == 0)
        break;
      const QString moved = pieces[k].mid(cut);
      pieces[k].truncate(cut);
      if (k + 1 < pieces.size())
        pieces[k + 1].prepend(moved);
      else
        pieces.append(moved);
    }
  }
  return pieces;
}

int TOnglet::SplitText(const QString& AText, bool ACreate, int AIndex, const BoardFont& AFont) {
  TMeasureLabel& label = FHost->measureLabel();
  label.setFont(shownFont(AFont));
  const int W = cuttingWidth();
  bool wholeText = ACreate;
  if (ACreate) {
    if (AIndex < 0 || AIndex > textButtonCount())
      return 0;
    auto* b = newTextButton(AText);
    dress(b, AFont);
    b->resize(measure(label, AText) + 16, FHost->buttonHeight());
    FButtons.insert(FButtons.begin() + AIndex, b);
    FPieceCounts.insert(FPieceCounts.begin() + AIndex, 1);
    FPieceNumbers.insert(FPieceNumbers.begin() + AIndex, 1);
  } else {
    if (!isTextIndex(AIndex))
      return 0;
    wholeText = FPieceCounts[size_t(AIndex)] <= 1;
    setButtonWidth(FButtons[size_t(AIndex)],
                   measure(label, FButtons[size_t(AIndex)]->caption()) + 16);
  }
  TTextButton* b = FButtons[size_t(AIndex)];
  // A text that fits is one piece; a longer one is cut from its prefix widths, measured once.
  QStringList pieces =
      textcutting::pieceFits(measure(label, b->caption()), W)
          ? QStringList{b->caption()}
          : textcutting::cutTextByPrefixWidths(
                b->caption(), W, label.measurer()->prefixWidths(b->caption(), label.font()));
  pieces = fitPieces(pieces, label, W);
  const int n = int(pieces.size());
  if (n > 1) {
    b->setCaption(pieces.front());
    setButtonWidth(b, measure(label, pieces.front()) + 16);
    for (int k = 1; k < n; ++k) {
      auto* piece = newTextButton(pieces[k]);
      dress(piece, AFont, b->isFramed());
      piece->resize(measure(label, pieces[k]) + 16, FHost->buttonHeight());
      FButtons.insert(FButtons.begin() + AIndex + k, piece);
      FPieceCounts.insert(FPieceCounts.begin() + AIndex + k, n);
      FPieceNumbers.insert(FPieceNumbers.begin() + AIndex + k, k + 1);
    }
    for (int k = 0; k < n; ++k) {
      FPieceCounts[size_t(AIndex + k)] = n;
      FPieceNumbers[size_t(AIndex + k)] = k + 1;
    }
  }
  // Only a whole text cut here is known to be cut for this width and font; a lone piece
  // refitted in place is not.
  for (int k = 0; k < n; ++k)
    FButtons[size_t(AIndex + k)]->FCutForWidth = wholeText ? W : -1;
  return n;
}

// Cutting and joining add and remove buttons before the current one: the current index follows
// its button (the first piece when its own piece is joined away), so that the highlight and the
// text a press acts on stay the same.
void TOnglet::SplitAllTexts() {
  TTextButton* current = GetCurrentButton();
  int i = 0;
  while (i < textButtonCount()) {
    TTextButton* b = FButtons[size_t(i)];
    const BoardFont font = b->boardFont();
    i += std::max(1, SplitText(b->caption(), false, i, font));
  }
  if (current && itemIndexOf(current) >= 0)
    FCurrentIndex = itemIndexOf(current);
}

void TOnglet::JoinPieces() {
  TTextButton* current = GetCurrentButton();
  int first = -1;
  int i = 0;
  while (i < textButtonCount()) {
    const size_t k = size_t(i);
    if (FPieceCounts[k] > 1 && (FPieceNumbers[k] == 1 || first < 0)) {
      // A continuation piece without its first piece is kept as a text of its own.
      first = i;
      FPieceCounts[k] = 1;
      FPieceNumbers[k] = 1;
      ++i;
    } else if (FPieceCounts[k] > 1) {
      TTextButton* head = FButtons[size_t(first)];
      head->setCaption(head->caption() + FButtons[k]->caption());
      if (FButtons[k] == current)
        current = head;
      destroyButtonAt(i);
    } else {
      ++i;
    }
  }
  if (current)
    FCurrentIndex = itemIndexOf(current);
}

bool TOnglet::piecesAreConsistent() const {
  const int count = textButtonCount();
  int i = 0;
  while (i < count) {
    const int n = FPieceCounts[size_t(i)];
    if (n < 1 || i + n > count)
      return false;
    for (int k = 0; k < n; ++k)
      if (FPieceCounts[size_t(i + k)] != n || FPieceNumbers[size_t(i + k)] != k + 1)
        return false;
    i += n;
  }
  return true;
}

// The same buttons, captions, piece lists and widths as JoinPieces followed by SplitAllTexts,
// but only the texts that changed since they were last cut are touched, and their buttons are
// reused where the number of pieces allows.
void TOnglet::recutChangedTexts() {
  if (!piecesAreConsistent()) {
    JoinPieces();
    SplitAllTexts();
    return;
  }
  const int W = cuttingWidth();
  TMeasureLabel& label = FHost->measureLabel();
  int i = 0;
  while (i < textButtonCount()) {
    const int n = FPieceCounts[size_t(i)];
    bool changed = false;
    for (int k = 0; k < n && !changed; ++k)
      changed = FButtons[size_t(i + k)]->FCutForWidth != W;
    if (!changed) {
      i += n;
      continue;
    }
    const QString whole = wholeTextAt(i);
    TTextButton* head = FButtons[size_t(i)];
    const BoardFont font = head->boardFont();
    const bool framed = head->isFramed();
    label.setFont(shownFont(font));
    const QStringList pieces =
        textcutting::cutText(whole, W, [&label](const QString& s) { return label.width(s); });
    const int m = int(pieces.size());
    head->setCaption(pieces.front());
    setButtonWidth(head, measure(label, pieces.front()) + 16);
    for (int k = 1; k < m; ++k) {
      TTextButton* piece = nullptr;
      if (k < n) {
        piece = FButtons[size_t(i + k)];
        piece->setCaption(pieces[k]);
        if (!piece->isEnabled())
          piece->setEnabled(true);
        if (piece->height() != FHost->buttonHeight())
          piece->resize(piece->width(), FHost->buttonHeight());
      } else {
        piece = newTextButton(pieces[k]);
        FButtons.insert(FButtons.begin() + i + k, piece);
        FPieceCounts.insert(FPieceCounts.begin() + i + k, m);
        FPieceNumbers.insert(FPieceNumbers.begin() + i + k, k + 1);
      }
      dress(piece, font, framed);
      setButtonWidth(piece, measure(label, pieces[k]) + 16);
    }
    for (int k = n - 1; k >= m; --k)
      destroyButtonAt(i + k);
    for (int k = 0; k < m; ++k) {
      FPieceCounts[size_t(i + k)] = m;
      FPieceNumbers[size_t(i + k)] = k + 1;
      FButtons[size_t(i + k)]->FCutForWidth = W;
    }
    i += m;
  }
}

// ---------------------------------------------------------------------------------------------
// Layout

void TOnglet::ArrangeButtons() {
  buttonlayout::Input in;
  in.tabControlWidth = tabControlWidth();
  in.pageHeight = FScrollBox->viewport()->height();
  in.scrollPosition = scrollPosition();
  in.gridColumns = FGridColumns;
  // The suggestions share the page width in equal cells, as far as their words allow: each
  // word keeps its place from one letter to the next.
  const int S = suggestionCount();
  const int cell = S > 0 ? buttonlayout::gridCellWidth(in.tabControlWidth, S) : 0;
  for (TTextButton* b : FSuggestionButtons) {
    const QSize size(std::max(cell, b->FCaptionWidth), FHost->buttonHeight());
    if (b->size() != size)
      b->resize(size);
    in.leading.push_back(size);
  }
  const int texts = textButtonCount();
  if (FGridColumns > 0) {
    const QSize cell(buttonlayout::gridCellWidth(in.tabControlWidth, FGridColumns),
                     textButtonHeight());
    for (int i = 0; i < texts; ++i)
      if (FButtons[size_t(i)]->size() != cell)
        FButtons[size_t(i)]->resize(cell);
  }
  in.texts.reserve(size_t(texts));
  for (int i = 0; i < texts; ++i)
    in.texts.push_back(FButtons[size_t(i)]->size());
  for (size_t i = size_t(texts); i < FButtons.size(); ++i)
    in.reserved.push_back(FButtons[i]->size());
  const buttonlayout::Result out = buttonlayout::arrange(in);
  FLayoutRows = out.rows;

  int bottom = 0;
  auto place = [&bottom](TTextButton* b, const QPoint& p) {
    if (b->pos() != p)
      b->move(p);
    if (b->isShownOnPage())
      bottom = std::max(bottom, p.y() + b->height());
  };
  for (int i = 0; i < S; ++i)
    place(FSuggestionButtons[size_t(i)], out.leading[size_t(i)]);
  for (int i = 0; i < texts; ++i)
    place(FButtons[size_t(i)], out.texts[size_t(i)]);
  for (size_t i = 0; i < out.reserved.size(); ++i)
    place(FButtons[size_t(texts) + i], out.reserved[i]);
  FContentBottom = bottom;
  updateContentSize();
  cullOutOfView();
}

void TOnglet::cullOutOfView() {
  const int margin = 100;
  const int top = scrollPosition() - margin;
  const int bottom = scrollPosition() + FScrollBox->viewport()->height() + margin;
  QWidget* focus = FContent->focusWidget();
  auto cull = [&](TTextButton* b) {
    const bool inView = b->y() + b->height() > top && b->y() < bottom;
    const bool shown = b->FShownOnPage && (inView || b == focus);
    if (b->isHidden() == shown)
      b->setVisible(shown);
  };
  for (TTextButton* b : FSuggestionButtons)
    cull(b);
  for (TTextButton* b : FButtons)
    cull(b);
}

void TOnglet::reveal(TTextButton* b) {
  if (b && b->FShownOnPage && b->isHidden())
    b->setVisible(true);
}

void TOnglet::setReservedShown(bool shown) {
  for (size_t i = size_t(textButtonCount()); i < FButtons.size(); ++i)
    FButtons[i]->FShownOnPage = shown;
  cullOutOfView();
}

void TOnglet::updateContentSize() {
  const QSize viewport = FScrollBox->viewport()->size();
  const QSize size(viewport.width(), std::max(viewport.height(), FContentBottom + 5));
  if (FContent->size() != size)
    FContent->resize(size);
}

void TOnglet::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  FScrollBox->setGeometry(rect());
}

bool TOnglet::eventFilter(QObject* watched, QEvent* e) {
  // The reserved row sits at the page bottom: it follows the window as it is resized.
  if (FScrollBox && watched == FScrollBox->viewport() && e->type() == QEvent::Resize)
    ArrangeButtons();
  return QWidget::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------------------------
// The current button and the highlight

void TOnglet::ResetCurrent() {
  FCurrentIndex = itemCount() - 1;
}

void TOnglet::PageShow() {
  ResetCurrent();
}

void TOnglet::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  PageShow();
}

void TOnglet::StepNext() {
  if (FCurrentIndex < 0)
    return;
  const int S = suggestionCount();
  const int N = itemCount();
  const int c = (FCurrentIndex + 1) % N;
  FCurrentIndex = c;
  TTextButton* R = itemButton(c);
  const int k = c - S; // among FButtons; negative for a suggestion
  const bool newItem = !isTextIndex(k) || FPieceNumbers[size_t(k)] == 1;
  // Painting waits until the page is cut and laid out again, as hiding the area would.
  const bool painting = FScrollBox->updatesEnabled();
  if (newItem && painting)
    FScrollBox->setUpdatesEnabled(false);
  if (!R->isShownOnPage())
    setScrollPosition(scrollPosition() + FHost->buttonHeight());

  // Within one cut text the highlight would come straight back: leaving it is skipped.
  const bool rehighlighted = !newItem && FHost->execMode() && !FHost->tabScanning();
  if (!rehighlighted)
    TextButtonExit(itemButton(c == 0 ? N - 1 : c - 1));
  TextButtonEnter(R);
  ArrangeButtons();
  if (newItem)
    recutChangedTexts();
  const int found = itemIndexOf(R);
  if (found >= 0)
    FCurrentIndex = found;
  ArrangeButtons();
  if (newItem && painting)
    FScrollBox->setUpdatesEnabled(true);

  if (FCurrentIndex >= S && !isTextIndex(FCurrentIndex - S))
    setScrollPosition(scrollMaximum());
  TTextButton* current = itemButton(FCurrentIndex);
  reveal(current);
  current->setFocus();
  if (current->isShownOnPage())
    FScrollBox->ensureWidgetVisible(current, 0, 5);
  if (newItem)
    FHost->textReached(GetCurrentText());
}

void TOnglet::TextButtonEnter(TTextButton* Sender) {
  if (FHost->execMode() && !FHost->tabScanning())
    SelectButton(Sender);
}

void TOnglet::TextButtonExit(TTextButton* Sender) {
  if (!FHost->execMode())
    return;
  if (Sender && Sender->isSuggestion) {
    dressSuggestion(Sender, false);
    ArrangeButtons();
    return;
  }
  const int k = indexOfButton(Sender);
  if (k < 0)
    return;
  if (isTextIndex(k)) {
    const int first = firstPieceOf(k);
    giveFont(first, FPieceCounts[size_t(first)], FHost->unselectedFont(),
             FHost->unselectedMeasure());
  } else {
    giveFont(k, 1, FHost->unselectedFont(), FHost->unselectedMeasure());
  }
  ArrangeButtons();
}

void TOnglet::TextButtonClick(TTextButton* Sender) {
  if (FHost->execMode())
    return;
  const int k = indexOfButton(Sender);
  if (!isTextIndex(k))
    return;
  FHost->enableTextNameField();
  SelectButton(FButtons[size_t(firstPieceOf(k))]);
}

void TOnglet::SelectButton(TTextButton* AButton) {
  if (AButton && AButton->isSuggestion) {
    // Lit only: a suggestion is no text the carer could edit or name.
    if (FHost->execMode()) {
      dressSuggestion(AButton, true);
      ArrangeButtons();
    }
    return;
  }
  FHost->setCurrentText(AButton);
  int k = indexOfButton(AButton);
  if (FHost->execMode() && k >= 0) {
    if (isTextIndex(k)) {
      const int first = firstPieceOf(k);
      giveFont(first, FPieceCounts[size_t(first)], FHost->selectedFont(), FHost->selectedMeasure(),
               true);
    } else {
      giveFont(k, 1, FHost->selectedFont(), FHost->selectedMeasure(), true);
    }
  }
  // What is written next into the name field is a choice, not a rename.
  FHost->setTextNameChangeAttached(false);
  if (!isTextIndex(k))
    return; // a reserved button: the field keeps its text, the handler stays detached
  k = firstPieceOf(k);
  FHost->setTextNameField(wholeTextAt(k));
  FHost->setTextNameChangeAttached(true);
  ArrangeButtons();
}

TTextButton* TOnglet::GetCurrentButton() const {
  return itemButton(FCurrentIndex);
}

bool TOnglet::makeCurrent(TTextButton* button) {
  const int k = itemIndexOf(button);
  if (k < 0)
    return false;
  if (k == FCurrentIndex)
    return true;
  if (TTextButton* old = GetCurrentButton())
    TextButtonExit(old);
  FCurrentIndex = k;
  TextButtonEnter(button);
  return true;
}

QString TOnglet::GetCurrentText() const {
  return GetTextAt(FCurrentIndex);
}

int TOnglet::GetCurrentKind() const {
  return GetKindAt(FCurrentIndex);
}

QString TOnglet::GetTextAt(int index) const {
  const int S = suggestionCount();
  if (index < 0 || index >= itemCount())
    return QString();
  if (index < S)
    return FSuggestionButtons[size_t(index)]->caption();
  return wholeTextAt(firstPieceOf(index - S));
}

int TOnglet::GetKindAt(int index) const {
  if (index < 0 || index >= itemCount())
    return -1;
  // Before the captions: a word typed in capitals may well read "RETOUR".
  if (index < suggestionCount())
    return kSuggestionKind;
  const TTextButton* b = FButtons[size_t(index - suggestionCount())];
  static const struct {
    const char* word;
    int kind;
  } kinds[] = {{"RETOUR", 1},      {"CLEAR", 2},      {"AJOUT", 3},   {"VALIDATION", 4},
               {"SUPPRESSION", 6}, {"ANNULATION", 7}, {"SONNERIE", 8}};
  for (const auto& k : kinds)
    if (b->caption() == QLatin1String(k.word))
      return k.kind;
  return 0;
}

void TOnglet::ApplyFont(const BoardFont& AFont) {
  fitGridFont();
  TMeasureLabel& label = FHost->measureLabel();
  label.setFont(AFont);
  giveFont(0, int(FButtons.size()), AFont, label);
  for (TTextButton* b : FSuggestionButtons)
    dressSuggestion(b, false);
  ArrangeButtons();
}

void TOnglet::ApplyUnselectedFont() {
  fitGridFont();
  giveFont(0, int(FButtons.size()), FHost->unselectedFont(), FHost->unselectedMeasure());
  for (TTextButton* b : FSuggestionButtons)
    dressSuggestion(b, false);
  ArrangeButtons();
}

// ---------------------------------------------------------------------------------------------
// Suggested words

void TOnglet::dressSuggestion(TTextButton* b, bool lit) {
  TMeasureLabel& label = lit ? FHost->selectedMeasure() : FHost->unselectedMeasure();
  b->setBoardFont(label.font(), 0, lit && FHighlightStyle == HighlightStyle::Frame);
  b->FCaptionWidth = measure(label, b->caption()) + 16;
}

void TOnglet::setSuggestionSlots(int count) {
  count = std::clamp(count, 0, 8);
  if (count == suggestionCount())
    return;
  TTextButton* current = GetCurrentButton();
  const bool hadCurrent = FCurrentIndex >= 0;
  while (suggestionCount() > count) {
    TTextButton* b = FSuggestionButtons.back();
    FSuggestionButtons.pop_back();
    FLitRow.erase(std::remove(FLitRow.begin(), FLitRow.end(), b), FLitRow.end());
    if (b == current)
      current = nullptr;
    b->FPage = nullptr;
    delete b;
  }
  while (suggestionCount() < count) {
    auto* b = new TTextButton(this, FContent);
    b->isSuggestion = true;
    b->setVisible(false); // shown by the layout
    dressSuggestion(b, false);
    FSuggestionButtons.push_back(b);
  }
  // The current item follows its button; a scan whose item went starts the page again.
  if (current)
    FCurrentIndex = itemIndexOf(current);
  else if (hadCurrent)
    ResetCurrent();
  ArrangeButtons();
}

void TOnglet::setSuggestions(const QStringList& words) {
  bool changed = false;
  for (int i = 0; i < suggestionCount(); ++i) {
    TTextButton* b = FSuggestionButtons[size_t(i)];
    const QString word = words.value(i);
    if (word == b->caption())
      continue;
    changed = true;
    b->setCaption(word);
    // A lit suggestion stays lit with its new word.
    const bool lit = std::find(FLitRow.begin(), FLitRow.end(), b) != FLitRow.end() ||
                     (b == GetCurrentButton() && FHost->execMode() && !FHost->tabScanning());
    dressSuggestion(b, lit);
  }
  if (changed)
    ArrangeButtons();
}

QStringList TOnglet::suggestions() const {
  QStringList words;
  for (const TTextButton* b : FSuggestionButtons)
    words << b->caption();
  return words;
}

// ---------------------------------------------------------------------------------------------
// Grid and highlight style

void TOnglet::fitGridFont() {
  FGridScale = 1.0;
  if (FGridColumns <= 0 || !FGridFitFont)
    return;
  std::vector<int> widths;
  for (const QString& text : wholeTexts())
    widths.push_back(std::max(measure(FHost->unselectedMeasure(), text),
                              measure(FHost->selectedMeasure(), text)));
  const int base = std::max({1, FHost->unselectedFont().size, FHost->selectedFont().size});
  FGridScale = buttonlayout::fittedFontScale(
      buttonlayout::gridCellWidth(tabControlWidth(), FGridColumns), widths, 72.0 / base);
}

void TOnglet::setGridColumns(int columns, bool fitFont) {
  columns = std::max(0, columns);
  if (columns == FGridColumns && fitFont == FGridFitFont)
    return;
  FGridColumns = columns;
  FGridFitFont = fitFont;
  fitGridFont();
  for (int i = 0; i < textButtonCount(); ++i) {
    TTextButton* b = FButtons[size_t(i)];
    dress(b, b->boardFont(), b->isFramed());
    b->FCutForWidth = -1; // cut again for the cells (or the page) and the new size
  }
  recutChangedTexts();
  ArrangeButtons();
}

void TOnglet::LightRow(int first, int count) {
  // Each text is lit and put out whole, from its first piece, which outlives any cutting.
  auto piecesOf = [this](int k) { return isTextIndex(k) ? FPieceCounts[size_t(k)] : 1; };
  for (TTextButton* head : FLitRow) {
    if (head->isSuggestion) {
      dressSuggestion(head, false);
      continue;
    }
    const int k = indexOfButton(head);
    if (k >= 0)
      giveFont(k, piecesOf(k), FHost->unselectedFont(), FHost->unselectedMeasure());
  }
  FLitRow.clear();
  // Items from `first`: the suggestions among them, then the buttons.
  const int S = suggestionCount();
  const int end = std::min(first + count, itemCount());
  int item = first >= 0 ? first : end;
  for (; item < end && item < S; ++item) {
    dressSuggestion(FSuggestionButtons[size_t(item)], true);
    FLitRow.push_back(FSuggestionButtons[size_t(item)]);
  }
  const int buttonsEnd = end - S;
  for (int k = item < end ? firstPieceOf(item - S) : buttonsEnd; k < buttonsEnd; k += piecesOf(k)) {
    giveFont(k, piecesOf(k), FHost->selectedFont(), FHost->selectedMeasure(), true);
    FLitRow.push_back(FButtons[size_t(k)]);
  }
  recutChangedTexts();
  ArrangeButtons();
  if (!FLitRow.empty()) {
    reveal(FLitRow.front());
    FScrollBox->ensureWidgetVisible(FLitRow.front(), 0, 5);
  }
}

void TOnglet::setHighlightStyle(HighlightStyle style) {
  FHighlightStyle = style;
  // A frame left from the other style goes at once; the next item lit takes the new style.
  if (style != HighlightStyle::Frame) {
    for (TTextButton* b : FButtons)
      if (b->isFramed())
        dress(b, b->boardFont(), false);
    for (TTextButton* b : FSuggestionButtons)
      if (b->isFramed())
        b->setBoardFont(b->boardFont(), 0, false);
  }
}

// The page's meta-object lives with the page, so a program using it links only what it uses.
#include "moc_TOnglet.cpp"
