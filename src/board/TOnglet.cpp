// The tab page and its buttons: construction, the buttons following the page's model, layout,
// and the scanning highlight over the buttons.
#include "board/TOnglet.h"

#include "platform/Accessibility.h"
#include "platform/SwitchKeys.h"

#include "board/ButtonLayout.h"
#include "board/TPageControl.h"
#include "board/TextCutting.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
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

constexpr int kReservedCount = PageModel::kReservedCount;

// The signs a phrase needs, named in words: a screen reader set to read no punctuation would
// say nothing of a button that writes only ".".
QString signName(const QString& caption) {
  if (caption == QLatin1String("."))
    return QStringLiteral("Point");
  if (caption == QLatin1String(","))
    return QStringLiteral("Virgule");
  if (caption == QLatin1String("?"))
    return QStringLiteral("Point d'interrogation");
  if (caption == QLatin1String("!"))
    return QStringLiteral("Point d'exclamation");
  return {};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TTextButton

TTextButton::TTextButton(TOnglet* page, ButtonKind kind, QWidget* parent)
    : QPushButton(parent), FPage(page), FKind(kind) {
  setAutoDefault(false);
  setDefault(false);
  setFocusPolicy(Qt::StrongFocus);
  if (isSuggestion())
    setAccessibleName(QStringLiteral("Aucun mot proposé"));
  connect(this, &QPushButton::clicked, this, [this] {
    if (!isReserved() && FPage)
      FPage->TextButtonClick(this);
  });
}

void TTextButton::setCaption(const QString& caption) {
  if (caption == FCaption)
    return;
  FCaption = caption;
  setText(shownLiterally(caption));
  // What assistive technologies name, even when the picture is shown without its label. A
  // caption of spaces alone (the space key) or none (a suggestion slot left blank) would be
  // heard as nothing.
  if (const QString sign = signName(caption); !sign.isEmpty())
    setAccessibleName(sign);
  else if (!caption.trimmed().isEmpty())
    setAccessibleName(caption);
  else if (!caption.isEmpty())
    setAccessibleName(QStringLiteral("Espace"));
  else
    setAccessibleName(isSuggestion() ? QStringLiteral("Aucun mot proposé") : QString());
}

void TTextButton::setPicture(const BoardPicture& picture) {
  if (picture == FPicture)
    return;
  FPicture = picture;
  FPixmap = QPixmap();
  FPixmapBox = QSize();
  update();
}

bool TTextButton::setBoardFont(const BoardFont& font, int shownSize, bool framed) {
  if (framed != FFramed) {
    FFramed = framed;
    update();
  }
  if (FHasFont && font == FBoardFont && shownSize == FShownSize)
    return false;
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
  return true;
}

void TTextButton::paintEvent(QPaintEvent* e) {
  if (hasPicture()) {
    paintWithPicture();
    paintChosenFrame();
    return;
  }
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
  if (!chosen || isReserved())
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
  connect(&FModel, &PageModel::piecesReplaced, this, &TOnglet::piecesReplaced);
  connect(&FModel, &PageModel::piecesSwapped, this, &TOnglet::piecesSwapped);
  connect(&FModel, &PageModel::textsEdited, this, &TOnglet::textsEdited);
  connect(&FModel, &PageModel::captionChanged, this, &TOnglet::captionChanged);
  connect(&FModel, &PageModel::colourChanged, this, &TOnglet::colourChanged);
  colourChanged(FModel.colour());

  // Configured from the right; the first layout replaces these provisional places.
  FButtons.resize(kReservedCount);
  int left = 0;
  for (int r = kReservedCount - 1; r >= 0; --r) {
    const ButtonKind kind = PageModel::reservedKind(r);
    auto* b = new TTextButton(this, kind, FContent);
    b->setCaption(PageModel::commandWord(kind));
    b->setBoardFont(FHost->unselectedFont());
    const int w = measure(FHost->unselectedMeasure(), b->caption()) + 16;
    left = r == kReservedCount - 1 ? tabControlWidth() - w - 20 : left - w - 20;
    b->setGeometry(left, 5, w, FHost->buttonHeight());
    b->FShownOnPage = FHost->execMode();
    b->setVisible(false); // until laid out in view
    FButtons[size_t(r)] = b;
  }
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

void TOnglet::captionChanged(const QString& caption) {
  // Until it is added, the page is a child of the tab control itself, not of its stack of pages:
  // there is no tab to look for (looking costs the number of tabs).
  if (FTabControl && parentWidget() != FTabControl) {
    const int i = FTabControl->indexOf(this);
    if (i >= 0)
      FTabControl->setTabText(i, shownLiterally(caption));
  }
}

QString TOnglet::shownCaption() const {
  return shownLiterally(caption());
}

void TOnglet::colourChanged(TColor colour) {
  QPalette pal = FContent->palette();
  pal.setColor(QPalette::Window, toQColor(colour));
  FContent->setPalette(pal);
}

int TOnglet::tabControlWidth() const {
  return FTabControl ? FTabControl->width() : width();
}

int TOnglet::cuttingWidth() const {
  const int columns = gridColumns();
  return columns > 0 ? buttonlayout::gridCuttingWidth(tabControlWidth(), columns)
                     : tabControlWidth();
}

int TOnglet::shownSize(const BoardFont& font) const {
  if (gridColumns() <= 0 || !gridFitFont() || FGridScale <= 1.0)
    return 0;
  return std::clamp(int(font.size * FGridScale), 1, 100);
}

BoardFont TOnglet::shownFont(const BoardFont& font) const {
  BoardFont shown = font;
  if (const int size = shownSize(font))
    shown.size = size;
  return shown;
}

int TOnglet::pictureButtonHeight() const {
  return std::max(4 * FHost->buttonHeight(), 64);
}

int TOnglet::textButtonHeight() const {
  if (gridColumns() <= 0 || !gridFitFont())
    return FHost->buttonHeight();
  ITextMeasurer* m = FHost->measureLabel().measurer();
  return std::max({FHost->buttonHeight(), m->lineHeight(shownFont(FHost->unselectedFont())) + 6,
                   m->lineHeight(shownFont(FHost->selectedFont())) + 6});
}

// Texts in the grid take the enlarged size; the reserved buttons keep the board's.
bool TOnglet::dress(TTextButton* b, const BoardFont& font, bool highlighted) {
  if (b->FLit != highlighted) {
    b->FLit = highlighted;
    if (b->hasPicture())
      b->update();
  }
  const bool framed = highlighted && FHighlightStyle == HighlightStyle::Frame;
  return b->setBoardFont(font, b->isReserved() ? 0 : shownSize(font), framed);
}

// ---------------------------------------------------------------------------------------------
// Measuring

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

TMeasureLabel& TOnglet::labelForText(int text) {
  TMeasureLabel& label = FHost->measureLabel();
  const int first = FModel.firstPieceOfText(text);
  const BoardFont font = first >= 0 ? FButtons[size_t(first)]->boardFont() : BoardFont();
  label.setFont(shownFont(font));
  return label;
}

int TOnglet::captionWidth(int text, const QString& caption) {
  return measure(labelForText(text), caption);
}

std::vector<int> TOnglet::captionPrefixWidths(int text, const QString& caption) {
  TMeasureLabel& label = labelForText(text);
  return label.measurer()->prefixWidths(caption, label.font());
}

void TOnglet::setButtonWidth(TTextButton* b, int width) {
  int height = b->height();
  if (b->hasPicture()) {
    // One button whatever the label's length: never wider than a piece may be, the label
    // shrinking or wrapping inside it; at least as wide as the picture is tall.
    height = pictureButtonHeight();
    width = std::clamp(std::max(width, height), 1, std::max(1, tabControlWidth() - 52));
  }
  if (gridColumns() > 0 && !b->isReserved())
    width = buttonlayout::gridCellWidth(tabControlWidth(), gridColumns());
  if (b->width() != width || b->height() != height)
    b->resize(width, height);
}

void TOnglet::giveFont(int first, int count, const BoardFont& font, TMeasureLabel& label,
                       bool highlighted) {
  const int end = std::min(first + count, int(FButtons.size()));
  for (int i = std::max(first, 0); i < end; ++i) {
    TTextButton* b = FButtons[size_t(i)];
    if (dress(b, font, highlighted) && FModel.isPiece(i))
      FModel.invalidateCut(FModel.textOfPiece(i)); // cut again for the new font
    setButtonWidth(b, measure(label, b->caption()) + 16);
  }
}

// ---------------------------------------------------------------------------------------------
// The buttons following the model

TTextButton* TOnglet::newTextButton() {
  auto* b = new TTextButton(this, ButtonKind::Text, FContent);
  b->resize(b->width(), FHost->buttonHeight());
  b->setVisible(false); // shown by the layout once it lies in view
  return b;
}

void TOnglet::destroyButton(TTextButton* b) {
  FLitRow.erase(std::remove(FLitRow.begin(), FLitRow.end(), b), FLitRow.end());
  b->FPage = nullptr;
  delete b;
}

void TOnglet::piecesReplaced(int first, int removed, int inserted) {
  // A text that stays keeps its first button (the text chosen for editing is known by it) and
  // as many of its other buttons as it still has pieces.
  const bool newTexts = removed == 0;
  const BoardFont font = newTexts ? BoardFont() : FButtons[size_t(first)]->boardFont();
  const bool framed = !newTexts && FButtons[size_t(first)]->isFramed();
  if (removed > inserted) {
    const auto from = FButtons.begin() + first + inserted;
    const auto to = FButtons.begin() + first + removed;
    const std::vector<TTextButton*> gone(from, to);
    FButtons.erase(from, to);
    for (TTextButton* b : gone)
      destroyButton(b);
  } else if (inserted > removed) {
    std::vector<TTextButton*> made;
    made.reserve(size_t(inserted - removed));
    for (int k = removed; k < inserted; ++k)
      made.push_back(newTextButton());
    FButtons.insert(FButtons.begin() + first + removed, made.begin(), made.end());
  }
  if (newTexts) {
    const bool editing = !FHost->execMode();
    const BoardFont& editFont =
        FHost->allSelected() ? FHost->selectedFont() : FHost->unselectedFont();
    for (int k = first; k < first + inserted; ++k) {
      TTextButton* b = FButtons[size_t(k)];
      b->setCaption(FModel.pieceAt(k));
      b->setPicture(FModel.picture(FModel.textOfPiece(k)));
      if (editing)
        dress(b, editFont);
      const int width = measure(FHost->unselectedMeasure(), b->caption()) + 16;
      b->resize(width, FHost->buttonHeight());
      if (b->hasPicture())
        setButtonWidth(b, width);
    }
    return;
  }
  TMeasureLabel& label = FHost->measureLabel();
  label.setFont(shownFont(font));
  for (int k = first; k < first + inserted; ++k) {
    TTextButton* b = FButtons[size_t(k)];
    b->setCaption(FModel.pieceAt(k));
    b->setPicture(k == first ? FModel.picture(FModel.textOfPiece(k)) : BoardPicture());
    if (k > first) {
      if (!b->isEnabled())
        b->setEnabled(true);
      if (b->height() != FHost->buttonHeight())
        b->resize(b->width(), FHost->buttonHeight());
      dress(b, font, framed);
    }
    setButtonWidth(b, measure(label, b->caption()) + 16);
  }
}

void TOnglet::piecesSwapped(int first, int middle, int end) {
  std::rotate(FButtons.begin() + first, FButtons.begin() + middle, FButtons.begin() + end);
}

void TOnglet::textsEdited() {
  if (FQuietEdits)
    return;
  recutChangedTexts();
  ArrangeButtons();
}

void TOnglet::recutChangedTexts() {
  FModel.recutChangedTexts(cuttingWidth(), *this);
}

int TOnglet::indexOfButton(const TTextButton* b) const {
  const auto it = std::find(FButtons.begin(), FButtons.end(), b);
  return it == FButtons.end() ? -1 : int(it - FButtons.begin());
}

TTextButton* TOnglet::buttonAt(int k) const {
  return k >= 0 && k < int(FButtons.size()) ? FButtons[size_t(k)] : nullptr;
}

TTextButton* TOnglet::reservedButton(ButtonKind kind) const {
  for (int r = 0; r < kReservedCount; ++r)
    if (PageModel::reservedKind(r) == kind)
      return FButtons[size_t(textButtonCount() + r)];
  return nullptr;
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

void TOnglet::InsertTexts(int textIndex, const QStringList& captions) {
  {
    const QScopedValueRollback quiet(FQuietEdits, true);
    FModel.insertTexts(textIndex, captions); // the current item follows its button
  }
  ArrangeButtons();
}

TTextButton* TOnglet::textButton(int textIndex) const {
  return buttonAt(FModel.firstPieceOfText(textIndex));
}

int TOnglet::textIndexOf(const TTextButton* b) const {
  return FModel.textOfPiece(indexOfButton(b));
}

void TOnglet::repaintTexts() {
  FContent->update();
}

int TOnglet::AddText(bool AUseCaption, const QString& ACaption, bool ASelect) {
  const QString caption =
      AUseCaption ? ACaption : QStringLiteral("Texte") + QString::number(textCounter());
  {
    const QScopedValueRollback quiet(FQuietEdits, true);
    FModel.insertTexts(FModel.textCount(), {caption});
  }
  TTextButton* b = textButton(FModel.textCount() - 1);
  if (ASelect) {
    setCurrentIndex(itemIndexOf(b));
    emit textChosen(b);
    reveal(b);
    b->setFocus();
    emit textNameShown(caption);
  }
  if (!FHost->execMode())
    setScrollPosition(scrollMaximum());
  ArrangeButtons();
  // The range has only now grown to hold the new button: bring the end into view.
  if (!FHost->execMode())
    setScrollPosition(scrollMaximum());
  return 1;
}

void TOnglet::AddTexts(const QStringList& captions, const QList<BoardPicture>& pictures) {
  // The same page as one AddText per caption, laid out once instead of once per text.
  {
    const QScopedValueRollback quiet(FQuietEdits, true);
    FModel.insertTexts(FModel.textCount(), captions, pictures);
  }
  ArrangeButtons();
  if (!FHost->execMode())
    setScrollPosition(scrollMaximum());
}

void TOnglet::DeleteButton(TTextButton* AButton) {
  const int t = textIndexOf(AButton);
  if (t < 0) // reserved buttons and strangers are never removed
    return;
  {
    const QScopedValueRollback quiet(FQuietEdits, true);
    FModel.removeTexts(t, 1);
  }
  ArrangeButtons();
}

void TOnglet::MoveButtonBack(TTextButton* AButton) {
  const int t = textIndexOf(AButton);
  bool moved = false;
  {
    const QScopedValueRollback quiet(FQuietEdits, true);
    moved = t >= 0 && FModel.moveText(t, true);
  }
  if (moved)
    ArrangeButtons();
  if (AButton) {
    reveal(AButton);
    AButton->setFocus();
  }
}

void TOnglet::MoveButtonForward(TTextButton* AButton) {
  const int t = textIndexOf(AButton);
  bool moved = false;
  {
    const QScopedValueRollback quiet(FQuietEdits, true);
    moved = t >= 0 && FModel.moveText(t, false);
  }
  if (moved)
    ArrangeButtons();
  if (AButton) {
    reveal(AButton);
    AButton->setFocus();
  }
}

QStringList TOnglet::GetTexts() const {
  QStringList texts;
  const int n = std::min(textCounter(), textButtonCount());
  for (int i = 0; i < n; ++i)
    texts << FModel.pieceAt(i);
  return texts;
}

void TOnglet::SetButtonsHeight(int AHeight) {
  const int pictured = std::max(4 * AHeight, 64);
  for (TTextButton* b : FButtons) {
    const int height = b->hasPicture() ? pictured : AHeight;
    if (b->height() != height)
      b->resize(b->width(), height);
  }
}

void TOnglet::setOneLetterTextsEnabled(bool enabled) {
  for (int k = 0; k < textButtonCount(); ++k)
    FButtons[size_t(k)]->setEnabled(enabled || FModel.wholeTextAt(k).size() != 1);
}

// ---------------------------------------------------------------------------------------------
// Cutting and joining

// Cutting and joining add and remove buttons before the current one: the current item follows
// its button (the first piece when its own piece is joined away), so that the highlight and the
// text a press acts on stay the same.
void TOnglet::SplitAllTexts() {
  FModel.invalidateAllCuts();
  recutChangedTexts();
}

void TOnglet::JoinPieces() {
  FModel.joinPieces();
}

void TOnglet::refitTexts(const BoardFont& font) {
  ApplyFont(font);
  SplitAllTexts();
  ArrangeButtons();
}

// ---------------------------------------------------------------------------------------------
// Layout

void TOnglet::ArrangeButtons() {
  buttonlayout::Input in;
  in.tabControlWidth = tabControlWidth();
  in.pageHeight = FScrollBox->viewport()->height();
  in.scrollPosition = scrollPosition();
  in.gridColumns = gridColumns();
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
  if (gridColumns() > 0) {
    const int cellWidth = buttonlayout::gridCellWidth(in.tabControlWidth, gridColumns());
    const QSize cell(cellWidth, textButtonHeight());
    const QSize pictured(cellWidth, std::max(textButtonHeight(), pictureButtonHeight()));
    for (int i = 0; i < texts; ++i) {
      TTextButton* b = FButtons[size_t(i)];
      const QSize& size = b->hasPicture() ? pictured : cell;
      if (b->size() != size)
        b->resize(size);
    }
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
  FModel.resetCurrent();
}

void TOnglet::PageShow() {
  ResetCurrent();
}

void TOnglet::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  PageShow();
}

void TOnglet::StepNext() {
  const int c = FModel.nextItem();
  if (c < 0)
    return;
  const int N = itemCount();
  setCurrentIndex(c);
  TTextButton* R = itemButton(c);
  const bool newItem = FModel.startsItem(c);
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
    setCurrentIndex(found);
  ArrangeButtons();
  if (newItem && painting)
    FScrollBox->setUpdatesEnabled(true);

  if (PageModel::isCommand(GetCurrentKind()))
    setScrollPosition(scrollMaximum());
  TTextButton* current = GetCurrentButton();
  reveal(current);
  const bool hadFocus = current->hasFocus();
  current->setFocus();
  // Taking the focus tells assistive technologies; a button that had it already, or a window
  // without the keyboard, tells them nothing by itself.
  announceLit(current, !hadFocus && current->hasFocus());
  if (current->isShownOnPage())
    FScrollBox->ensureWidgetVisible(current, 0, 5);
  if (newItem)
    emit textReached(GetCurrentText());
}

void TOnglet::TextButtonEnter(TTextButton* Sender) {
  if (FHost->execMode() && !FHost->tabScanning())
    SelectButton(Sender);
}

void TOnglet::TextButtonExit(TTextButton* Sender) {
  if (!FHost->execMode())
    return;
  if (Sender && Sender->isSuggestion()) {
    dressSuggestion(Sender, false);
    ArrangeButtons();
    return;
  }
  const int k = indexOfButton(Sender);
  if (k < 0)
    return;
  giveFont(FModel.firstPieceOf(k), FModel.piecesOfTextAt(k), FHost->unselectedFont(),
           FHost->unselectedMeasure());
  ArrangeButtons();
}

void TOnglet::TextButtonClick(TTextButton* Sender) {
  if (FHost->execMode())
    return;
  const int k = indexOfButton(Sender);
  if (!FModel.isPiece(k))
    return;
  emit textNameEnabled();
  SelectButton(FButtons[size_t(FModel.firstPieceOf(k))]);
}

void TOnglet::SelectButton(TTextButton* AButton) {
  if (AButton && AButton->isSuggestion()) {
    // Lit only: a suggestion is no text the carer could edit or name.
    if (FHost->execMode()) {
      dressSuggestion(AButton, true);
      ArrangeButtons();
    }
    return;
  }
  emit textChosen(AButton);
  const int k = indexOfButton(AButton);
  if (FHost->execMode() && k >= 0)
    giveFont(FModel.firstPieceOf(k), FModel.piecesOfTextAt(k), FHost->selectedFont(),
             FHost->selectedMeasure(), true);
  // What is written next into the name field is a choice, not a rename.
  emit textNameAttached(false);
  if (!FModel.isPiece(k))
    return; // a reserved button: the field keeps its text, the handler stays detached
  emit textNameShown(FModel.wholeTextAt(k));
  emit textNameAttached(true);
  ArrangeButtons();
}

TTextButton* TOnglet::GetCurrentButton() const {
  return itemButton(currentIndex());
}

bool TOnglet::makeCurrent(TTextButton* button) {
  const int k = itemIndexOf(button);
  if (k < 0)
    return false;
  if (k == currentIndex())
    return true;
  if (TTextButton* old = GetCurrentButton())
    TextButtonExit(old);
  setCurrentIndex(k);
  TextButtonEnter(button);
  announceLit(button);
  return true;
}

void TOnglet::announceLit(TTextButton* b, bool byFocus) {
  if (!b || !FHost->execMode() || FHost->tabScanning())
    return;
  if (auto* strip = FTabControl ? qobject_cast<TTabBar*>(FTabControl->tabBar()) : nullptr)
    strip->dropPendingAnnouncement();
  if (!byFocus)
    accessibility::announceCurrent(b);
}

QString TOnglet::GetCurrentText() const {
  return GetTextAt(currentIndex());
}

ButtonKind TOnglet::GetCurrentKind() const {
  return GetKindAt(currentIndex());
}

QString TOnglet::GetTextAt(int index) const {
  return FModel.textAt(index);
}

ButtonKind TOnglet::GetKindAt(int index) const {
  return FModel.kindAt(index);
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
  FModel.setSuggestionSlots(count); // the current item follows its button
  while (int(FSuggestionButtons.size()) > count) {
    TTextButton* b = FSuggestionButtons.back();
    FSuggestionButtons.pop_back();
    destroyButton(b);
  }
  while (int(FSuggestionButtons.size()) < count) {
    auto* b = new TTextButton(this, ButtonKind::Suggestion, FContent);
    b->setVisible(false); // shown by the layout
    dressSuggestion(b, false);
    FSuggestionButtons.push_back(b);
  }
  ArrangeButtons();
}

void TOnglet::setSuggestions(const QStringList& words) {
  const std::vector<int> changed = FModel.setSuggestions(words);
  for (int i : changed) {
    TTextButton* b = FSuggestionButtons[size_t(i)];
    b->setCaption(FModel.suggestions().at(i));
    // A lit suggestion stays lit with its new word.
    const bool lit = std::find(FLitRow.begin(), FLitRow.end(), b) != FLitRow.end() ||
                     (b == GetCurrentButton() && FHost->execMode() && !FHost->tabScanning());
    dressSuggestion(b, lit);
  }
  if (!changed.empty())
    ArrangeButtons();
}

// ---------------------------------------------------------------------------------------------
// Grid and highlight style

void TOnglet::fitGridFont() {
  FGridScale = 1.0;
  if (gridColumns() <= 0 || !gridFitFont())
    return;
  std::vector<int> widths;
  for (const QString& text : wholeTexts())
    widths.push_back(std::max(measure(FHost->unselectedMeasure(), text),
                              measure(FHost->selectedMeasure(), text)));
  const int base = std::max({1, FHost->unselectedFont().size, FHost->selectedFont().size});
  FGridScale = buttonlayout::fittedFontScale(
      buttonlayout::gridCellWidth(tabControlWidth(), gridColumns()), widths, 72.0 / base);
}

void TOnglet::setGridColumns(int columns, bool fitFont) {
  if (!FModel.setGrid(columns, fitFont))
    return;
  fitGridFont();
  for (int i = 0; i < textButtonCount(); ++i) {
    TTextButton* b = FButtons[size_t(i)];
    dress(b, b->boardFont(), b->isFramed());
  }
  FModel.invalidateAllCuts(); // cut again for the cells (or the page) and the new size
  recutChangedTexts();
  ArrangeButtons();
}

void TOnglet::LightRow(int first, int count) {
  // Each text is lit and put out whole, from its first piece, which outlives any cutting.
  for (TTextButton* head : FLitRow) {
    if (head->isSuggestion()) {
      dressSuggestion(head, false);
      continue;
    }
    const int k = indexOfButton(head);
    if (k >= 0)
      giveFont(k, FModel.piecesOfTextAt(k), FHost->unselectedFont(), FHost->unselectedMeasure());
  }
  FLitRow.clear();
  for (const int item : FModel.litHeads(first, count)) {
    TTextButton* head = itemButton(item);
    if (head->isSuggestion()) {
      dressSuggestion(head, true);
    } else {
      const int k = FModel.buttonOfItem(item);
      giveFont(k, FModel.piecesOfTextAt(k), FHost->selectedFont(), FHost->selectedMeasure(), true);
    }
    FLitRow.push_back(head);
  }
  recutChangedTexts();
  ArrangeButtons();
  if (!FLitRow.empty()) {
    reveal(FLitRow.front());
    FScrollBox->ensureWidgetVisible(FLitRow.front(), 0, 5);
    announceLit(FLitRow.front()); // a row is named by its first text, as the prompts name it
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
