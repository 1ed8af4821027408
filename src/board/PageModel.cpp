// The page's texts, pieces, items and current item as plain values, and the cutting of texts
// into pieces over a measuring function.
#include "board/PageModel.h"

#include "board/TextCutting.h"

#include <algorithm>

namespace {
const ButtonKind kReservedOrder[PageModel::kReservedCount] = {
    ButtonKind::Annulation, ButtonKind::Suppression, ButtonKind::Validation, ButtonKind::Ajout,
    ButtonKind::Clear,      ButtonKind::Retour,      ButtonKind::Sonnerie};
} // namespace

ButtonKind PageModel::reservedKind(int r) {
  return kReservedOrder[std::clamp(r, 0, kReservedCount - 1)];
}

QString PageModel::commandWord(ButtonKind kind) {
  switch (kind) {
  case ButtonKind::Retour:
    return QStringLiteral("RETOUR");
  case ButtonKind::Clear:
    return QStringLiteral("CLEAR");
  case ButtonKind::Ajout:
    return QStringLiteral("AJOUT");
  case ButtonKind::Validation:
    return QStringLiteral("VALIDATION");
  case ButtonKind::Suppression:
    return QStringLiteral("SUPPRESSION");
  case ButtonKind::Annulation:
    return QStringLiteral("ANNULATION");
  case ButtonKind::Sonnerie:
    return QStringLiteral("SONNERIE");
  case ButtonKind::None:
  case ButtonKind::Text:
  case ButtonKind::Suggestion:
    break;
  }
  return QString();
}

void PageModel::setCaption(const QString& caption) {
  FCaption = caption;
  emit captionChanged(caption);
}

void PageModel::setColour(TColor colour) {
  FColour = colour;
  emit colourChanged(colour);
}

// ---------------------------------------------------------------------------------------------
// Texts and pieces

QString PageModel::text(int t) const {
  return t >= 0 && t < textCount() ? FTexts[size_t(t)].whole : QString();
}

QStringList PageModel::texts() const {
  QStringList list;
  list.reserve(textCount());
  for (const PageText& t : FTexts)
    list << t.whole;
  return list;
}

QString PageModel::pieceAt(int k) const {
  if (!isPiece(k))
    return QString();
  const PieceRef& p = FPieces[size_t(k)];
  return FTexts[size_t(p.text)].pieces.value(p.number - 1);
}

int PageModel::firstPieceOf(int k) const {
  return isPiece(k) ? k - FPieces[size_t(k)].number + 1 : k;
}

int PageModel::piecesOfTextAt(int k) const {
  return isPiece(k) ? int(FTexts[size_t(FPieces[size_t(k)].text)].pieces.size()) : 1;
}

int PageModel::firstPieceOfText(int t) const {
  return t >= 0 && t < textCount() ? FTexts[size_t(t)].firstPiece : -1;
}

QString PageModel::wholeTextAt(int k) const {
  return isPiece(k) ? FTexts[size_t(FPieces[size_t(k)].text)].whole : captionOfButton(k);
}

int PageModel::cutWidthOf(int t) const {
  return t >= 0 && t < textCount() ? FTexts[size_t(t)].cutForWidth : -1;
}

BoardPicture PageModel::picture(int t) const {
  return t >= 0 && t < textCount() ? FTexts[size_t(t)].picture : BoardPicture();
}

QList<BoardPicture> PageModel::pictures() const {
  QList<BoardPicture> list;
  for (int t = 0; t < textCount(); ++t)
    if (!FTexts[size_t(t)].picture.isNull()) {
      list.reserve(textCount());
      for (const PageText& text : FTexts)
        list << text.picture;
      break;
    }
  return list;
}

void PageModel::setPicture(int t, const BoardPicture& picture) {
  setPictures({{t, picture}});
}

void PageModel::setPictures(const std::vector<std::pair<int, BoardPicture>>& pictures) {
  for (const auto& [t, picture] : pictures) {
    if (t < 0 || t >= textCount())
      continue;
    PageText& text = FTexts[size_t(t)];
    text.picture = picture;
    text.cutForWidth = -1;
    // A picture's text is whole on its button: pieces it had join at once.
    if (!picture.isNull() && text.pieces.size() != 1)
      replacePieces(t, {text.whole});
  }
  emit textsEdited();
}

ButtonKind PageModel::kindOfButton(int k) const {
  if (k < 0 || k >= buttonCount())
    return ButtonKind::None;
  if (k < pieceCount())
    return ButtonKind::Text;
  return reservedKind(k - pieceCount());
}

QString PageModel::captionOfButton(int k) const {
  if (k < 0 || k >= buttonCount())
    return QString();
  return isPiece(k) ? pieceAt(k) : commandWord(kindOfButton(k));
}

void PageModel::renumberFrom(int t) {
  // The flat index from text t on: the texts before it keep their pieces' places.
  int k = t > 0 ? FTexts[size_t(t - 1)].firstPiece + int(FTexts[size_t(t - 1)].pieces.size()) : 0;
  FPieces.resize(size_t(k));
  for (int i = t; i < textCount(); ++i) {
    PageText& text = FTexts[size_t(i)];
    text.firstPiece = k;
    for (int n = 1; n <= text.pieces.size(); ++n)
      FPieces.push_back(PieceRef{i, n});
    k += int(text.pieces.size());
  }
}

int PageModel::followPiece(int k, int first, int removed, int inserted) const {
  // A piece after the change moves with it; a piece joined away is its text's first piece.
  if (k < first)
    return k;
  if (k >= first + removed)
    return k + inserted - removed;
  return k - first < inserted ? k : first;
}

void PageModel::replacePieces(int t, const QStringList& pieces) {
  PageText& text = FTexts[size_t(t)];
  const int first = text.firstPiece;
  const int removed = int(text.pieces.size());
  const int inserted = int(pieces.size());
  text.pieces = pieces;
  if (inserted != removed) {
    // Only the pieces of this text and after it move.
    std::vector<PieceRef> own;
    for (int n = 1; n <= inserted; ++n)
      own.push_back(PieceRef{t, n});
    FPieces.erase(FPieces.begin() + first, FPieces.begin() + first + removed);
    FPieces.insert(FPieces.begin() + first, own.begin(), own.end());
    for (size_t i = size_t(t) + 1; i < FTexts.size(); ++i)
      FTexts[i].firstPiece += inserted - removed;
    if (FCurrentItem >= suggestionCount())
      FCurrentItem =
          itemOfButton(followPiece(buttonOfItem(FCurrentItem), first, removed, inserted));
  }
  emit piecesReplaced(first, removed, inserted);
}

// ---------------------------------------------------------------------------------------------
// Edits

void PageModel::insertTexts(int t, const QStringList& captions,
                            const QList<BoardPicture>& pictures) {
  if (captions.isEmpty())
    return;
  t = std::clamp(t, 0, textCount());
  const int first = t < textCount() ? FTexts[size_t(t)].firstPiece : pieceCount();
  std::vector<PageText> added;
  added.reserve(size_t(captions.size()));
  for (qsizetype i = 0; i < captions.size(); ++i)
    added.push_back(PageText{captions[i], QStringList{captions[i]}, -1, 0, pictures.value(i)});
  FTexts.insert(FTexts.begin() + t, added.begin(), added.end());
  FTextCounter += int(captions.size());
  renumberFrom(t);
  const int n = int(captions.size());
  if (FCurrentItem >= suggestionCount())
    FCurrentItem = itemOfButton(followPiece(buttonOfItem(FCurrentItem), first, 0, n));
  emit piecesReplaced(first, 0, n);
  emit textsEdited();
}

void PageModel::removeTexts(int t, int count) {
  count = std::min(count, textCount() - t);
  if (t < 0 || count <= 0)
    return;
  const int first = FTexts[size_t(t)].firstPiece;
  int removed = 0;
  for (int i = t; i < t + count; ++i)
    removed += int(FTexts[size_t(i)].pieces.size());
  FTexts.erase(FTexts.begin() + t, FTexts.begin() + t + count);
  FTextCounter = std::max(0, FTextCounter - count);
  renumberFrom(t);
  FCurrentItem = -1;
  emit piecesReplaced(first, removed, 0);
  emit textsEdited();
}

void PageModel::setText(int t, const QString& caption) {
  if (t < 0 || t >= textCount())
    return;
  PageText& text = FTexts[size_t(t)];
  text.whole = caption;
  text.cutForWidth = -1;
  replacePieces(t, {caption});
  emit textsEdited();
}

bool PageModel::moveText(int t, bool back) {
  const int other = back ? t - 1 : t + 1;
  if (t < 0 || t >= textCount() || other < 0 || other >= textCount())
    return false;
  const int a = std::min(t, other);
  const int first = FTexts[size_t(a)].firstPiece;
  const int middle = FTexts[size_t(a + 1)].firstPiece;
  const int end = middle + int(FTexts[size_t(a + 1)].pieces.size());
  std::swap(FTexts[size_t(a)], FTexts[size_t(a + 1)]);
  renumberFrom(a);
  emit piecesSwapped(first, middle, end);
  emit textsEdited();
  return true;
}

// ---------------------------------------------------------------------------------------------
// Cutting

void PageModel::invalidateCut(int t) {
  if (t >= 0 && t < textCount())
    FTexts[size_t(t)].cutForWidth = -1;
}

void PageModel::invalidateAllCuts() {
  for (PageText& t : FTexts)
    t.cutForWidth = -1;
}

void PageModel::joinPieces() {
  for (int t = 0; t < textCount(); ++t) {
    PageText& text = FTexts[size_t(t)];
    if (text.pieces.size() == 1)
      continue;
    text.cutForWidth = -1;
    replacePieces(t, {text.whole});
  }
}

QStringList PageModel::fitPieces(QStringList pieces, int W,
                                 const std::function<int(const QString&)>& width) {
  for (int k = 0; k < pieces.size(); ++k) {
    while (pieces[k].size() > 1 && !textcutting::pieceFits(width(pieces[k]), W)) {
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

QStringList PageModel::cutPieces(const QString& text, int W,
                                 const std::function<int(const QString&)>& width,
                                 const std::function<std::vector<int>(const QString&)>& prefixes) {
  // A text that fits is one piece; a longer one is cut from its prefix widths, measured once.
  if (textcutting::pieceFits(width(text), W))
    return {text};
  return fitPieces(textcutting::cutTextByPrefixWidths(text, W, prefixes(text)), W, width);
}

void PageModel::recutChangedTexts(int W, PieceMeasure& measure) {
  for (int t = 0; t < textCount(); ++t) {
    if (FTexts[size_t(t)].cutForWidth == W)
      continue;
    // A text with a picture is never cut: its label shrinks or wraps on its one button.
    const QStringList pieces =
        !FTexts[size_t(t)].picture.isNull()
            ? QStringList{FTexts[size_t(t)].whole}
            : cutPieces(
                  FTexts[size_t(t)].whole, W,
                  [&](const QString& s) { return measure.captionWidth(t, s); },
                  [&](const QString& s) { return measure.captionPrefixWidths(t, s); });
    FTexts[size_t(t)].cutForWidth = W;
    replacePieces(t, pieces);
  }
}

// ---------------------------------------------------------------------------------------------
// Items

void PageModel::setSuggestionSlots(int count) {
  count = std::clamp(count, 0, 8);
  const int before = suggestionCount();
  if (count == before)
    return;
  while (FSuggestions.size() > count)
    FSuggestions.removeLast();
  while (FSuggestions.size() < count)
    FSuggestions << QString();
  // The current item follows its button; a scan whose item went starts the page again.
  if (FCurrentItem >= before)
    FCurrentItem += count - before;
  else if (FCurrentItem >= count)
    resetCurrent();
}

std::vector<int> PageModel::setSuggestions(const QStringList& words) {
  std::vector<int> changed;
  for (int i = 0; i < suggestionCount(); ++i) {
    const QString word = words.value(i);
    if (word == FSuggestions[i])
      continue;
    FSuggestions[i] = word;
    changed.push_back(i);
  }
  return changed;
}

ButtonKind PageModel::kindAt(int item) const {
  if (!isItem(item))
    return ButtonKind::None;
  if (item < suggestionCount())
    return ButtonKind::Suggestion;
  return kindOfButton(buttonOfItem(item));
}

QString PageModel::textAt(int item) const {
  if (!isItem(item))
    return QString();
  if (item < suggestionCount())
    return FSuggestions[item];
  return wholeTextAt(buttonOfItem(item));
}

int PageModel::nextItem() const {
  if (FCurrentItem < 0)
    return -1;
  return (FCurrentItem + 1) % itemCount();
}

bool PageModel::startsItem(int item) const {
  const int k = buttonOfItem(item);
  return !isPiece(k) || pieceNumber(k) == 1;
}

std::vector<int> PageModel::litHeads(int first, int count) const {
  std::vector<int> heads;
  const int S = suggestionCount();
  const int end = std::min(first + count, itemCount());
  int item = first >= 0 ? first : end;
  for (; item < end && item < S; ++item)
    heads.push_back(item);
  const int buttonsEnd = end - S;
  for (int k = item < end ? firstPieceOf(item - S) : buttonsEnd; k < buttonsEnd;
       k += piecesOfTextAt(k))
    heads.push_back(itemOfButton(k));
  return heads;
}

std::pair<int, int> PageModel::litRange(int item) const {
  const int k = buttonOfItem(item);
  if (!isPiece(k))
    return {item, 1};
  return {itemOfButton(firstPieceOf(k)), piecesOfTextAt(k)};
}

bool PageModel::setGrid(int columns, bool fitFont) {
  columns = std::max(0, columns);
  if (columns == FGridColumns && fitFont == FGridFitFont)
    return false;
  FGridColumns = columns;
  FGridFitFont = fitFont;
  return true;
}
