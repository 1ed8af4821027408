// One tab of the board: its texts as buttons in a vertically scrolling area, followed by the
// seven reserved command buttons, and on the letter pages a row of suggested words before them.
// Long texts are cut into consecutive pieces that fit the page and joined again for editing and
// saving. The page also steps the scanning highlight over its buttons and classifies the current
// one.
#pragma once

#include "board/ButtonLayout.h"
#include "board/TOngletHost.h"
#include "platform/HighlightStyle.h"

#include <QHash>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <vector>

class QScrollArea;
class QTabWidget;
class TOnglet;

// A button of a page. Its caption is a user text, shown literally (no mnemonic); it remembers
// the font it carries so that giving it the same font again costs nothing.
class TTextButton : public QPushButton {
  Q_OBJECT
public:
  TTextButton(TOnglet* page, QWidget* parent);
  QString caption() const { return FCaption; }
  void setCaption(const QString& caption);
  const BoardFont& boardFont() const { return FBoardFont; }
  // The board font, drawn at shownSize points when that is positive (a grid that enlarges its
  // texts), framed with inverted colours when asked (the frame highlight).
  void setBoardFont(const BoardFont& font, int shownSize = 0, bool framed = false);
  bool isFramed() const { return FFramed; }
  bool isReserved = false;
  // A suggested word: scanned with the page but no text of the board (never saved or edited).
  bool isSuggestion = false;
  // Whether the button is part of its page as the user sees the board: false only for the
  // reserved buttons in creation mode. A button kept out of view because it lies outside the
  // scrolled area is still shown in this sense, though its widget is hidden meanwhile.
  bool isShownOnPage() const { return FShownOnPage; }

protected:
  void paintEvent(QPaintEvent* e) override;
  void paintChosenFrame();
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

private:
  friend class TOnglet;
  TOnglet* FPage;
  QString FCaption;
  BoardFont FBoardFont;
  bool FHasFont = false;
  int FShownSize = 0;
  bool FFramed = false;
  bool FShownOnPage = true;
  // The tab control width this button's text was last cut for; -1 once its caption, font or
  // width changed otherwise, so that the text must be cut again before its pieces are trusted.
  int FCutForWidth = -1;
  int FCaptionWidth = 0; // a suggestion's caption as measured in its font, with the margins
};

class TOnglet : public QWidget {
  Q_OBJECT
public:
  // Builds the page with its seven reserved buttons; it is not yet added to the tab control.
  TOnglet(QTabWidget* ATabControl, TOngletHost* host);
  ~TOnglet() override;

  // The tab's caption (kept here, shown literally in the tab strip once the page is added).
  QString caption() const { return FCaption; }
  void setCaption(const QString& caption);
  QString shownCaption() const; // the caption as the tab strip shows it

  void SetBackgroundColor(TColor AColor);
  TColor GetBackgroundColor() const { return FBackgroundColor; }
  int AddText(bool AUseCaption, const QString& ACaption, bool ASelect);
  // Adds texts with their own captions, unselected, as AddText does one by one.
  void AddTexts(const QStringList& captions);
  void DeleteButton(TTextButton* AButton);
  void MoveButtonBack(TTextButton* AButton);
  void MoveButtonForward(TTextButton* AButton);
  QStringList GetTexts() const;
  // The whole texts of the page, pieces joined, without joining any button (for saving).
  QStringList wholeTexts() const;
  QString GetButtonCaption(int AIndex) const;
  int GetButtonCount() const { return int(FButtons.size()); }
  void SetButtonsHeight(int AHeight);
  int SplitText(const QString& AText, bool ACreate, int AIndex, const BoardFont& AFont);
  void SplitAllTexts();
  void JoinPieces();
  void ArrangeButtons();

  // Highlighting and the current button.
  void ResetCurrent();
  void PageShow();
  void StepNext();
  void TextButtonEnter(TTextButton* Sender);
  void TextButtonExit(TTextButton* Sender);
  void TextButtonClick(TTextButton* Sender);
  void SelectButton(TTextButton* AButton);
  TTextButton* GetCurrentButton() const;
  // Makes a button of this page the current one again (a release acts on what was lit when
  // it happened); false when the button is not on this page.
  bool makeCurrent(TTextButton* button);
  QString GetCurrentText() const;
  int GetCurrentKind() const;
  // The same for any entry of FButtons (an item a scan chose), -1 and empty when none.
  QString GetTextAt(int index) const;
  int GetKindAt(int index) const;
  void ApplyFont(const BoardFont& AFont);
  void ApplyUnselectedFont();
  // Shows or hides the seven reserved buttons (hidden in creation mode).
  void setReservedShown(bool shown);

  // Word prediction: `count` suggestion buttons in a row of their own above the texts (0: none).
  // They hold the words of setSuggestions, blank where there are fewer words.
  void setSuggestionSlots(int count);
  int suggestionCount() const { return int(FSuggestionButtons.size()); }
  void setSuggestions(const QStringList& words);
  QStringList suggestions() const;
  // The items the scan steps over: the suggestions first, then FButtons (without suggestions the
  // two are the same). FCurrentIndex, layoutRows, LightRow, GetTextAt and GetKindAt count items.
  int itemCount() const { return suggestionCount() + int(FButtons.size()); }
  TTextButton* itemButton(int item) const;
  int itemIndexOf(const TTextButton* b) const; // -1 when not an item of this page
  // GetKindAt of a suggestion (0 is a text, 1..8 the reserved commands).
  static constexpr int kSuggestionKind = 9;

  // The texts in a grid of `columns` equal cells (0: flowing rows), each text cut to its cell;
  // fitFont enlarges their font to fill the cells. The reserved buttons keep their row(s).
  void setGridColumns(int columns, bool fitFont);
  int gridColumns() const { return FGridColumns; }
  bool gridFitFont() const { return FGridFitFont; }
  void setHighlightStyle(HighlightStyle style);
  HighlightStyle highlightStyle() const { return FHighlightStyle; }
  // The rows of FButtons as last laid out, top to bottom (the reserved buttons in their own).
  const std::vector<buttonlayout::Row>& layoutRows() const { return FLayoutRows; }
  // Row-column scanning: lights the whole texts of the buttons first to first + count - 1 and
  // brings them into view; the buttons lit this way before go back to plain. Count 0 lights
  // nothing. The current button is not changed.
  void LightRow(int first, int count);

  int indexOfButton(const TTextButton* b) const; // -1 when not on this page
  // Whole texts by their place among the page's texts (pieces count once): the first piece of
  // text `textIndex` (null when there is none), and the text a button is a piece of (-1).
  TTextButton* textButton(int textIndex) const;
  int textIndexOf(const TTextButton* b) const;
  // Inserts texts before text `textIndex` of a page whose pieces are joined, unselected; the
  // current button stays the same.
  void InsertTexts(int textIndex, const QStringList& captions);
  // Repaints the texts (the mark of the text chosen for editing moved).
  void repaintTexts();
  int textButtonCount() const { return int(FButtons.size()) - 7; }
  int scrollPosition() const;
  void setScrollPosition(int p);
  int scrollMaximum() const;
  TOngletHost* host() const { return FHost; }

  // Fields read and written by the main window.
  QTabWidget* FTabControl;
  int FTextCount = 0;
  int FCurrentIndex = -1; // an item: suggestions first, then FButtons
  TTextButton* FBtnRetour = nullptr;
  TTextButton* FBtnClear = nullptr;
  TTextButton* FBtnAjout = nullptr;
  TTextButton* FBtnValidation = nullptr;
  TTextButton* FBtnSuppression = nullptr;
  TTextButton* FBtnAnnulation = nullptr;
  TTextButton* FBtnSonnerie = nullptr;
  std::vector<int> FPieceCounts;
  std::vector<int> FPieceNumbers;
  std::vector<TTextButton*> FButtons; // owned (through Qt parenthood); text buttons first
  QScrollArea* FScrollBox = nullptr;

protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

private:
  bool isTextIndex(int k) const { return k >= 0 && k < int(FPieceCounts.size()); }
  int firstPieceOf(int k) const;
  QString wholeTextAt(int first) const;
  int measure(TMeasureLabel& label, const QString& caption);
  void setButtonWidth(TTextButton* b, int width);
  void giveFont(int first, int count, const BoardFont& font, TMeasureLabel& label,
                bool highlighted = false);
  void dress(TTextButton* b, const BoardFont& font, bool highlighted = false);
  int shownSize(const BoardFont& font) const;
  BoardFont shownFont(const BoardFont& font) const;
  int cuttingWidth() const;
  int textButtonHeight() const;
  void fitGridFont();
  TTextButton* newTextButton(const QString& caption);
  TTextButton* appendTextButton(const QString& caption);
  TTextButton* insertTextButton(int k, const QString& caption);
  QStringList fitPieces(QStringList pieces, TMeasureLabel& label, int W);
  void destroyButtonAt(int k);
  void recutChangedTexts();
  bool piecesAreConsistent() const;
  void updateContentSize();
  int tabControlWidth() const;
  // Only the buttons in or near the visible part of the area have their widget shown:
  // showing a page then costs what is seen, not the whole page.
  void cullOutOfView();
  void reveal(TTextButton* b);
  // A suggestion dressed lit or plain, its caption measured in that font.
  void dressSuggestion(TTextButton* b, bool lit);

  TOngletHost* FHost;
  QWidget* FContent = nullptr; // the scroll area's widget, parent of every button
  QString FCaption;
  TColor FBackgroundColor = 0xC0C0C0;
  int FContentBottom = 0; // lowest edge of the shown buttons, from the last layout
  int FCutTabWidth = -1;  // tab control width the current pieces were cut for
  int FGridColumns = 0;
  bool FGridFitFont = false;
  double FGridScale = 1.0; // how much the grid enlarges the texts' fonts
  HighlightStyle FHighlightStyle = HighlightStyle::TextColour;
  std::vector<buttonlayout::Row> FLayoutRows;
  std::vector<TTextButton*> FLitRow;            // lit by LightRow
  std::vector<TTextButton*> FSuggestionButtons; // owned (through Qt parenthood), in slot order
  // Measured caption widths per measurer and font: a scanning step measures the same
  // captions over and over.
  struct MeasureCache {
    ITextMeasurer* measurer;
    BoardFont font;
    QHash<QString, int> widths;
  };
  std::vector<MeasureCache> FMeasureCaches;
};
