// One tab of the board on screen: the buttons that show its PageModel (the texts' pieces in a
// vertically scrolling area, the seven command buttons, on the letter pages a row of suggested
// words before them), their dress, their layout, and the scanning highlight over them.
#pragma once

#include "board/ButtonLayout.h"
#include "board/PageModel.h"
#include "board/TOngletHost.h"
#include "platform/HighlightStyle.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
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
  TTextButton(TOnglet* page, ButtonKind kind, QWidget* parent);
  ButtonKind kind() const { return FKind; }
  bool isReserved() const { return PageModel::isCommand(FKind); }
  // A suggested word: scanned with the page but no text of the board (never saved or edited).
  bool isSuggestion() const { return FKind == ButtonKind::Suggestion; }
  QString caption() const { return FCaption; }
  void setCaption(const QString& caption);
  const BoardFont& boardFont() const { return FBoardFont; }
  // The board font, drawn at shownSize points when that is positive (a grid that enlarges its
  // texts), framed with inverted colours when asked (the frame highlight). True when the font
  // or its size changed: a text in it must be cut again.
  bool setBoardFont(const BoardFont& font, int shownSize = 0, bool framed = false);
  bool isFramed() const { return FFramed; }
  // Whether the button is part of its page as the user sees the board: false only for the
  // reserved buttons in creation mode. A button kept out of view because it lies outside the
  // scrolled area is still shown in this sense, though its widget is hidden meanwhile.
  bool isShownOnPage() const { return FShownOnPage; }
  // The picture of the text the button shows (null: none; only a text's one button has it).
  void setPicture(const BoardPicture& picture);
  bool hasPicture() const { return !FPicture.isNull(); }
  // The picture as last drawn, at the size shown (null when it could not be decoded).
  const QPixmap& shownPicture() const { return FPixmap; }

protected:
  void paintEvent(QPaintEvent* e) override;
  void paintChosenFrame();
  void paintWithPicture();
  void hideEvent(QHideEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

private:
  friend class TOnglet;
  TOnglet* FPage;
  const ButtonKind FKind;
  QString FCaption;
  BoardFont FBoardFont;
  bool FHasFont = false;
  int FShownSize = 0;
  bool FFramed = false;
  bool FShownOnPage = true;
  int FCaptionWidth = 0; // a suggestion's caption as measured in its font, with the margins
  bool FLit = false;     // dressed as the highlight (a picture then wears a frame of its colour)
  BoardPicture FPicture;
  // The picture decoded for the box it was last drawn in: never decoded again while the box
  // stays, and at most one size kept per button, so memory follows what is shown.
  QPixmap FPixmap;
  QSize FPixmapBox;
  // The label's font and height fitted to the cell, kept while size, caption and font stay.
  void fitLabel(PictureLabel where);
  QSize FLabelFitFor;
  QString FLabelFitKey;
  QFont FLabelFont;
  int FLabelHeight = 0;
};

class TOnglet : public QWidget, private PieceMeasure {
  Q_OBJECT
public:
  // Builds the page with its seven reserved buttons; it is not yet added to the tab control.
  TOnglet(QTabWidget* ATabControl, TOngletHost* host);
  ~TOnglet() override;

  // What the page shows. Edits of its texts go to the model; the page cuts the texts changed
  // and lays itself out again when the model says an edit is complete.
  PageModel& model() { return FModel; }
  const PageModel& model() const { return FModel; }

  // The tab's caption (kept here, shown literally in the tab strip once the page is added).
  QString caption() const { return FModel.caption(); }
  void setCaption(const QString& caption) { FModel.setCaption(caption); }
  QString shownCaption() const; // the caption as the tab strip shows it

  void SetBackgroundColor(TColor AColor) { FModel.setColour(AColor); }
  TColor GetBackgroundColor() const { return FModel.colour(); }
  // Texts added, inserted or deleted as the page's own callers always did: laid out, not cut
  // (SplitAllTexts or a step cuts them).
  int AddText(bool AUseCaption, const QString& ACaption, bool ASelect);
  void AddTexts(const QStringList& captions, const QList<BoardPicture>& pictures = {});
  // Inserts texts before text `textIndex`, unselected; the current button stays the same.
  void InsertTexts(int textIndex, const QStringList& captions);
  void DeleteButton(TTextButton* AButton); // the whole text the button shows
  void MoveButtonBack(TTextButton* AButton);
  void MoveButtonForward(TTextButton* AButton);
  QStringList GetTexts() const;
  // The whole texts of the page, pieces joined (for saving).
  QStringList wholeTexts() const { return FModel.texts(); }
  int textCounter() const { return FModel.textCounter(); } // the next default name's number
  QString GetButtonCaption(int AIndex) const { return FModel.captionOfButton(AIndex); }
  int GetButtonCount() const { return int(FButtons.size()); }
  TTextButton* buttonAt(int k) const; // pieces first, then the commands; null past the end
  const std::vector<TTextButton*>& buttons() const { return FButtons; }
  TTextButton* reservedButton(ButtonKind kind) const;
  void SetButtonsHeight(int AHeight);
  void SplitAllTexts();
  void JoinPieces();
  void ArrangeButtons();
  // The texts dressed in `font`, cut again for it and laid out.
  void refitTexts(const BoardFont& font);
  // One-letter texts can be chosen or not (the letters are no texts to edit).
  void setOneLetterTextsEnabled(bool enabled);

  // Highlighting and the current button.
  void ResetCurrent();
  void PageShow();
  void StepNext();
  void TextButtonEnter(TTextButton* Sender);
  void TextButtonExit(TTextButton* Sender);
  void TextButtonClick(TTextButton* Sender);
  void SelectButton(TTextButton* AButton);
  TTextButton* GetCurrentButton() const;
  int currentIndex() const { return FModel.currentItem(); } // an item; -1 when none
  void setCurrentIndex(int item) { FModel.setCurrentItem(item); }
  // Makes a button of this page the current one again (a release acts on what was lit when
  // it happened); false when the button is not on this page.
  bool makeCurrent(TTextButton* button);
  QString GetCurrentText() const;
  ButtonKind GetCurrentKind() const;
  // The same for any item (an item a scan chose); empty and None past the end.
  QString GetTextAt(int index) const;
  ButtonKind GetKindAt(int index) const;
  void ApplyFont(const BoardFont& AFont);
  void ApplyUnselectedFont();
  // Shows or hides the seven reserved buttons (hidden in creation mode).
  void setReservedShown(bool shown);

  // Word prediction: `count` suggestion buttons in a row of their own above the texts (0: none).
  // They hold the words of setSuggestions, blank where there are fewer words.
  void setSuggestionSlots(int count);
  int suggestionCount() const { return FModel.suggestionCount(); }
  void setSuggestions(const QStringList& words);
  QStringList suggestions() const { return FModel.suggestions(); }
  // The items the scan steps over: the suggestions first, then the buttons (without
  // suggestions the two are the same). currentIndex, layoutRows, LightRow, GetTextAt and
  // GetKindAt count items.
  int itemCount() const { return FModel.itemCount(); }
  TTextButton* itemButton(int item) const;
  int itemIndexOf(const TTextButton* b) const; // -1 when not an item of this page

  // The texts in a grid of `columns` equal cells (0: flowing rows), each text cut to its cell;
  // fitFont enlarges their font to fill the cells. The reserved buttons keep their row(s).
  void setGridColumns(int columns, bool fitFont);
  int gridColumns() const { return FModel.gridColumns(); }
  bool gridFitFont() const { return FModel.gridFitFont(); }
  void setHighlightStyle(HighlightStyle style);
  HighlightStyle highlightStyle() const { return FHighlightStyle; }
  // The rows of items as last laid out, top to bottom (the reserved buttons in their own).
  const std::vector<buttonlayout::Row>& layoutRows() const { return FLayoutRows; }
  // Row-column scanning: lights the whole texts of the items first to first + count - 1 and
  // brings them into view; the items lit this way before go back to plain. Count 0 lights
  // nothing. The current button is not changed.
  void LightRow(int first, int count);

  int indexOfButton(const TTextButton* b) const; // -1 when not on this page
  // Whole texts by their place among the page's texts (pieces count once): the first piece of
  // text `textIndex` (null when there is none), and the text a button is a piece of (-1).
  TTextButton* textButton(int textIndex) const;
  int textIndexOf(const TTextButton* b) const;
  // Repaints the texts (the mark of the text chosen for editing moved).
  void repaintTexts();
  int textButtonCount() const { return FModel.pieceCount(); }
  int scrollPosition() const;
  void setScrollPosition(int p);
  int scrollMaximum() const;
  QScrollArea* scrollArea() const { return FScrollBox; }
  TOngletHost* host() const { return FHost; }

signals:
  // The button the highlight or the carer chose (a text by its first piece): FCurrentText.
  void textChosen(TTextButton* button);
  // What the text name field is to show (its change handler runs when attached), whether
  // typing there renames the chosen text, and that it is to be enabled.
  void textNameShown(const QString& text);
  void textNameAttached(bool attached);
  void textNameEnabled();
  // The highlight has reached a new text (its whole caption): spoken prompts follow it.
  void textReached(const QString& caption);

protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

private:
  // The model changed: its buttons follow.
  void piecesReplaced(int first, int removed, int inserted);
  void piecesSwapped(int first, int middle, int end);
  void textsEdited();
  void captionChanged(const QString& caption);
  void colourChanged(TColor colour);
  // PieceMeasure: texts measured in the font their first piece wears, as shown.
  int captionWidth(int text, const QString& caption) override;
  std::vector<int> captionPrefixWidths(int text, const QString& caption) override;
  TMeasureLabel& labelForText(int text);

  int measure(TMeasureLabel& label, const QString& caption);
  void setButtonWidth(TTextButton* b, int width);
  void giveFont(int first, int count, const BoardFont& font, TMeasureLabel& label,
                bool highlighted = false);
  bool dress(TTextButton* b, const BoardFont& font, bool highlighted = false);
  int shownSize(const BoardFont& font) const;
  BoardFont shownFont(const BoardFont& font) const;
  int cuttingWidth() const;
  int textButtonHeight() const;
  int pictureButtonHeight() const; // a button with a picture: room for it and its label
  void fitGridFont();
  TTextButton* newTextButton();
  void destroyButton(TTextButton* b);
  void recutChangedTexts();
  void updateContentSize();
  int tabControlWidth() const;
  // Only the buttons in or near the visible part of the area have their widget shown:
  // showing a page then costs what is seen, not the whole page.
  void cullOutOfView();
  void reveal(TTextButton* b);
  // A suggestion dressed lit or plain, its caption measured in that font.
  void dressSuggestion(TTextButton* b, bool lit);
  // Assistive technologies are told the button lit is current (while the texts are scanned),
  // unless taking the focus told them already.
  void announceLit(TTextButton* b, bool byFocus = false);

  QTabWidget* FTabControl;
  TOngletHost* FHost;
  PageModel FModel;
  QScrollArea* FScrollBox = nullptr;
  QWidget* FContent = nullptr; // the scroll area's widget, parent of every button
  // Owned (through Qt parenthood): a button for each piece of the model, then the commands.
  std::vector<TTextButton*> FButtons;
  std::vector<TTextButton*> FSuggestionButtons; // owned (through Qt parenthood), in slot order
  bool FQuietEdits = false; // the page's own additions: laid out by their caller, not cut
  int FContentBottom = 0;   // lowest edge of the shown buttons, from the last layout
  double FGridScale = 1.0;  // how much the grid enlarges the texts' fonts
  HighlightStyle FHighlightStyle = HighlightStyle::TextColour;
  std::vector<buttonlayout::Row> FLayoutRows;
  std::vector<TTextButton*> FLitRow; // lit by LightRow
  // Measured caption widths per measurer and font: a scanning step measures the same
  // captions over and over.
  struct MeasureCache {
    ITextMeasurer* measurer;
    BoardFont font;
    QHash<QString, int> widths;
  };
  std::vector<MeasureCache> FMeasureCaches;
};
