// What a tab page holds, without any widget: its caption and colour, its texts with the pieces
// they are cut into, the suggested words, the seven commands, the current item and the grid.
// Edits change the model and the model says what changed; the page widget listens and shows it.
#pragma once

#include "platform/BoardPicture.h"
#include "platform/Colour.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// What a button of a page stands for, fixed when the button is made: a text of the board (a
// text that reads "CLEAR" is a text), a suggested word, or one of the seven commands.
enum class ButtonKind {
  None, // no item (a page without a current item, a place past the end)
  Text,
  Suggestion,
  Retour,
  Clear,
  Ajout,
  Validation,
  Suppression,
  Annulation,
  Sonnerie,
};

// How the texts of a page measure: a caption's width (without the button's margin) in the font
// text `text` is shown in, and the widths of all its prefixes at once.
class PieceMeasure {
public:
  virtual ~PieceMeasure() = default;
  virtual int captionWidth(int text, const QString& caption) = 0;
  virtual std::vector<int> captionPrefixWidths(int text, const QString& caption) = 0;
};

class PageModel : public QObject {
  Q_OBJECT
public:
  static constexpr int kReservedCount = 7;
  // The commands in button order: the last one is the rightmost of the row.
  static ButtonKind reservedKind(int r);
  static QString commandWord(ButtonKind kind); // as the button reads; empty for others
  static bool isCommand(ButtonKind kind) {
    return kind != ButtonKind::None && kind != ButtonKind::Text && kind != ButtonKind::Suggestion;
  }

  explicit PageModel(QObject* parent = nullptr) : QObject(parent) {}

  QString caption() const { return FCaption; }
  void setCaption(const QString& caption);
  TColor colour() const { return FColour; }
  void setColour(TColor colour);

  // Whole texts, by their place among the page's texts.
  int textCount() const { return int(FTexts.size()); }
  QString text(int t) const;
  QStringList texts() const;
  // The number the next default name ("Texte<n>") takes: one more for each text added, one less
  // for each text deleted.
  int textCounter() const { return FTextCounter; }

  // Pieces: the texts' pieces in order, each shown by a button. The buttons of a page are the
  // pieces followed by the seven commands.
  int pieceCount() const { return int(FPieces.size()); }
  bool isPiece(int k) const { return k >= 0 && k < pieceCount(); }
  QString pieceAt(int k) const;
  int textOfPiece(int k) const { return isPiece(k) ? FPieces[size_t(k)].text : -1; }
  int pieceNumber(int k) const { return isPiece(k) ? FPieces[size_t(k)].number : 0; }
  // The first piece of the text piece k belongs to (k itself when k is no piece).
  int firstPieceOf(int k) const;
  int piecesOfTextAt(int k) const;   // pieces of the text piece k belongs to (1 for no piece)
  int firstPieceOfText(int t) const; // -1 when there is no text t
  int textIndexOf(int k) const { return textOfPiece(k); }
  QString wholeTextAt(int k) const; // the whole text of piece k, or the command's word
  int cutWidthOf(int t) const;
  // A text may carry one picture; a text with a picture is one button whatever its length.
  BoardPicture picture(int t) const;
  bool hasPicture(int t) const { return !picture(t).isNull(); }
  // One entry per text, null where none; empty when no text has a picture (as the file holds).
  QList<BoardPicture> pictures() const;
  // Text t takes `picture` (null: none) and is cut again.
  void setPicture(int t, const BoardPicture& picture);
  // The same for several texts, as one edit: the page is laid out once, not once a text.
  void setPictures(const std::vector<std::pair<int, BoardPicture>>& pictures);

  int buttonCount() const { return pieceCount() + kReservedCount; }
  ButtonKind kindOfButton(int k) const;
  QString captionOfButton(int k) const;

  // Edits. Each says what it changed (piecesReplaced, textsMoved), then textsEdited.
  // Texts inserted before text t (clamped), each one piece until it is cut.
  // `pictures` go with the captions of the same place (none past its end).
  void insertTexts(int t, const QStringList& captions, const QList<BoardPicture>& pictures = {});
  void removeTexts(int t, int count); // the current item is then none
  void setText(int t, const QString& caption);
  // Text t swapped with its neighbour before (back) or after it; false when there is none.
  bool moveText(int t, bool back);

  // Cutting. A text is cut for the tab control width W; a text cut for another width, or whose
  // font changed, is cut again by recutChangedTexts.
  void invalidateCut(int t);
  void invalidateAllCuts();
  // Every text one piece again.
  void joinPieces();
  // The texts not cut for W cut again; their pieces as joining and cutting anew would leave.
  void recutChangedTexts(int W, PieceMeasure& measure);
  // The pieces of a text for W: whole when it fits, else cut from its prefix widths and
  // corrected where a piece measured alone does not fit.
  static QStringList cutPieces(const QString& text, int W,
                               const std::function<int(const QString&)>& width,
                               const std::function<std::vector<int>(const QString&)>& prefixes);
  // Prefix widths are estimates: a piece that does not fit by its own measure hands its last
  // characters on to the next piece.
  static QStringList fitPieces(QStringList pieces, int W,
                               const std::function<int(const QString&)>& width);

  // Suggested words: `count` slots (0 to 8) before the buttons, blank where there are fewer
  // words. The items the scan steps over are the suggestions, then the buttons.
  int suggestionCount() const { return int(FSuggestions.size()); }
  void setSuggestionSlots(int count);
  QStringList suggestions() const { return FSuggestions; }
  // The slots whose word changed, in order.
  std::vector<int> setSuggestions(const QStringList& words);
  int itemCount() const { return suggestionCount() + buttonCount(); }
  bool isItem(int item) const { return item >= 0 && item < itemCount(); }
  ButtonKind kindAt(int item) const;
  QString textAt(int item) const; // whole texts; empty past the end
  int buttonOfItem(int item) const { return item - suggestionCount(); } // negative: a suggestion
  int itemOfButton(int k) const { return k + suggestionCount(); }

  // The current item (-1: none), and stepping.
  int currentItem() const { return FCurrentItem; }
  void setCurrentItem(int item) { FCurrentItem = item; }
  void resetCurrent() { FCurrentItem = itemCount() - 1; }
  int nextItem() const; // the item after the current one, round the page; -1 without current
  // Whether reaching `item` reaches something new (not a further piece of the text lit).
  bool startsItem(int item) const;
  // The items a row of `count` items from `first` lights, each a whole text by its first
  // item: suggestions, first pieces, commands.
  std::vector<int> litHeads(int first, int count) const;
  // The items lit with item `item`: all the pieces of its text, from the first.
  std::pair<int, int> litRange(int item) const;

  // Grid: texts in `columns` equal cells (0: flowing rows), fitFont enlarging their fonts.
  int gridColumns() const { return FGridColumns; }
  bool gridFitFont() const { return FGridFitFont; }
  bool setGrid(int columns, bool fitFont); // false when nothing changed

signals:
  // Pieces [first, first + removed) became [first, first + inserted); the buttons of a text
  // that stays keep their places from its first piece.
  void piecesReplaced(int first, int removed, int inserted);
  // The pieces [first, middle) and [middle, end) swapped places.
  void piecesSwapped(int first, int middle, int end);
  // A carer's edit is complete: the texts changed are to be cut and the page laid out.
  void textsEdited();
  void captionChanged(const QString& caption);
  void colourChanged(TColor colour);

private:
  struct PageText {
    QString whole;
    QStringList pieces; // as last cut; {whole} before cutting
    int cutForWidth = -1;
    int firstPiece = 0;
    BoardPicture picture; // null: none
  };
  struct PieceRef {
    int text = 0;
    int number = 1; // from 1
  };
  // Text t now has `pieces`: the flat index and the current item follow.
  void replacePieces(int t, const QStringList& pieces);
  void renumberFrom(int t);
  int followPiece(int k, int first, int removed, int inserted) const;

  QString FCaption;
  TColor FColour = 0xC0C0C0;
  std::vector<PageText> FTexts;
  std::vector<PieceRef> FPieces;
  QStringList FSuggestions;
  int FTextCounter = 0;
  int FCurrentItem = -1;
  int FGridColumns = 0;
  bool FGridFitFont = false;
};
