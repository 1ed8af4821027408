// The board on screen: the tab control with one TOnglet page per tab, and what the pages read of
// the board (its look, its mode, the text chosen for editing). It also keeps the board's values
// that have no widget of their own: the whole-second paces, the settings, the tab counter.
#pragma once

#include "board/TOngletHost.h"
#include "documents/BoardFile.h"
#include "documents/BoardStore.h"
#include "platform/BoardFont.h"
#include "platform/MeasureLabel.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <optional>

class TOnglet;
class TPageControl;
class TTabBar;
class TTextButton;
class QWidget;

// The values the five appearance targets edit.
struct BoardLook {
  BoardFont selected, unselected, validated, currentPhrase, tabs;
  TColor tabColor = 0;
  TColor memoColor = 0;
  bool operator==(const BoardLook& o) const {
    return selected == o.selected && unselected == o.unselected && validated == o.validated &&
           currentPhrase == o.currentPhrase && tabs == o.tabs && tabColor == o.tabColor &&
           memoColor == o.memoColor;
  }
  bool operator!=(const BoardLook& o) const { return !(*this == o); }
};

class BoardView : public QObject, public TOngletHost, public BoardStore {
  Q_OBJECT
public:
  // The tab control is made as a child of `tabParent`; the measurer is not owned.
  BoardView(ITextMeasurer* measurer, QWidget* tabParent, QObject* parent = nullptr);
  ~BoardView() override;

  TPageControl* pageControl() const { return FPageControl; }
  TTabBar* tabBar() const { return FTabBar; }

  // Pages.
  QList<TOnglet*> pages() const;
  TOnglet* activePage() const;
  int pageCount() const;
  int currentIndex() const;
  TOnglet* pageAt(int index) const;
  TOnglet* pageNamed(const QString& caption) const; // the last tab of that caption
  // Creates a tab at the end of the row; it becomes the active tab unless told otherwise.
  TOnglet* AddTab(const QString& caption, bool activate = true);
  // A page made for tab `index` with its texts and their pictures, as an edit puts a tab back.
  TOnglet* insertPage(int index, const QString& caption, const QStringList& texts,
                      const QList<BoardPicture>& pictures = {});
  void ClearBoard();
  // The default board in place of the board shown.
  void buildDefaultBoard();
  // Tab `tab` becomes the active tab as the program changes it (no page-change event).
  void showTab(int tab);
  // The tab name field is told of the active tab, as when the carer picks a tab.
  void announceActiveTab();
  // Whether a caption names one of the reserved tabs, whatever its letter case.
  static bool isReservedTabCaption(const QString& caption);
  static bool isLetterTab(const QString& caption);
  // The reserved tab of each reserved name is the first tab of that name: a later one (a board
  // made elsewhere may hold "Divers" and "divers") is an ordinary tab the carer may rename or
  // delete.
  bool isReservedTab(const TOnglet* page) const;
  // A reserved letter tab ("Alphabet", "Autres caractères"): its one-letter texts cannot be
  // edited and it shows the suggestions.
  bool isLetterPage(const TOnglet* page) const;
  TOnglet* diversTab() const { return FDiversTab; }
  // The tab of the user's own phrases, made at the end when the board has none.
  TOnglet* ensureDiversTab();
  // Whether some button of the board shows `text` as its caption.
  bool hasButtonCaption(const QString& text) const;
  // The user's phrase as a new text at the end of "Divers" (made when the board has none).
  void addPhrase(const QString& text);
  // Where what the highlight lights is, in `in`'s coordinates: the lit tab while tabs are
  // scanned, else the items `rowFirst` to `rowFirst + rowCount - 1` of the active page when a
  // row is lit (row-column scanning), else its current text. Empty when nothing lit is shown.
  QRect litRect(const QWidget* in, int rowFirst = -1, int rowCount = 0) const;

  // The message naming the bound of a board file that adding `addedTabs` tabs and the texts
  // `addedTexts` (writing the names `newNames`, every text and caption the edit writes) would
  // pass, or the first character of a name the file cannot hold; none when the board stays
  // within. A board already past the bound on its text in all (from an older file) refuses
  // every edit that writes text, and keeps the rest.
  // `replacedBytes`: what the edit writes over (a text renamed).
  std::optional<QString> boundPassedBy(int addedTabs, const QStringList& addedTexts,
                                       const QStringList& newNames, qint64 replacedBytes = 0) const;
  // How much the board holds, counted as its file's bounds count it.
  boardfile::BoardExtent extent() const;

  // BoardStore: the board as its file holds it, and a board read from a file put on screen.
  BoardData boardData() const override;
  void showBoard(const BoardData& data) override;
  void showDefaultBoard() override { buildDefaultBoard(); }

  // The mode the board is shown in (the owner switches it), and how the pages look in it: fonts
  // (texts cut again for them), reserved buttons shown or hidden, one-letter texts enabled or not.
  void setExecMode(bool exec) { FExecMode = exec; }
  void applyModeLook();
  void setAllSelected(bool all); // the selected font on every text while editing
  // Button height from the larger text font, then every page refitted to the fonts.
  void refitTextFonts();
  void arrangeAll(); // every page laid out again (the splitter moved)
  // The grid and the highlight of the settings given to the pages and the tab strip.
  void applyLayoutSettings();

  // Word prediction: how many suggestion buttons the letter pages carry (0: none, as in
  // creation mode), and the words they show.
  void setSuggestionSlots(int count);
  int suggestionSlots() const { return FSuggestionSlots; }
  void showSuggestions(const QStringList& words);
  const QStringList& suggestions() const { return FSuggestions; }

  // The board's values.
  const BoardSettings& settings() const { return FSettings; }
  void setSettings(const BoardSettings& s) { FSettings = s; }
  int tabSeconds() const { return FTabSeconds; }
  int textSeconds() const { return FTextSeconds; }
  void setPaces(int tabSeconds, int textSeconds);
  int tabCounter() const { return FTabCounter; }
  void setTabCounter(int counter) { FTabCounter = counter; }
  BoardLook look() const;
  // The look changed from `from` to `to`: only what changed is laid out again.
  void setLook(const BoardLook& to, const BoardLook& from);
  const BoardFont& validatedFont() const { return FValidatedFont; }
  const BoardFont& currentPhraseFont() const { return FCurrentPhraseFont; }
  const BoardFont& tabFont() const { return FTabFont; }
  TColor tabColor() const { return FTabColor; }
  TColor memoColor() const { return FMemoColor; }
  void setMemoColor(TColor color);
  TTextButton* currentText() const { return FCurrentText; }
  // The text chosen for editing, its mark redrawn (a page chose it).
  void setCurrentText(TTextButton* button);
  // The text chosen for editing, without the mark being redrawn.
  void setChosenText(TTextButton* button) { FCurrentText = button; }

  // The scanning phase: the scan says when the tabs are scanned, the pages read it.
  void setTabScanning(bool tabs) { FTabScanning = tabs; }

  // TOngletHost.
  bool execMode() const override { return FExecMode; }
  bool tabScanning() const override { return FTabScanning; }
  bool allSelected() const override { return FAllSelected; }
  int buttonHeight() const override { return FButtonHeight; }
  const BoardFont& selectedFont() const override { return FSelectedFont; }
  const BoardFont& unselectedFont() const override { return FUnselectedFont; }
  TMeasureLabel& selectedMeasure() override { return FSelectedMeasure; }
  TMeasureLabel& unselectedMeasure() override { return FUnselectedMeasure; }
  TMeasureLabel& measureLabel() override { return FMeasureLabel; }
  const TTextButton* chosenText() const override { return FCurrentText; }
  PictureLabel pictureLabel() const override { return FSettings.pictureLabel; }

signals:
  // What the text and tab name fields are to show (the creation panel owns them).
  void textNameShown(const QString& text);
  void textNameAttached(bool attached);
  void textNameEnabled();
  void tabNameShown(const QString& caption);
  void tabNameEnabled(bool enabled);
  // The highlight reached a text (spoken prompts follow it).
  void textLit(const QString& caption);
  // The display area's colour (the display and the logo panel take it).
  void memoColorChanged(TColor color);

private:
  TOnglet* createPage(const QString& caption);
  TOnglet* newPage(); // a page whose signals reach the view
  void setFonts(const BoardFont& selected, const BoardFont& unselected);
  int fittedButtonHeight();
  // The first tab named "Divers" (any case) receives the user's phrases.
  void findDiversTab();

  TPageControl* FPageControl;
  TTabBar* FTabBar;
  bool FExecMode = true;
  bool FTabScanning = false;
  bool FAllSelected = false;
  int FTabCounter = 0;
  int FTabSeconds = 3;
  int FTextSeconds = 1;
  BoardSettings FSettings;
  // Cleared by Qt when their page or button is destroyed.
  QPointer<TOnglet> FDiversTab;
  QPointer<TTextButton> FCurrentText;
  TColor FTabColor = 0xC0C0C0;
  TColor FMemoColor = static_cast<TColor>(0x80000005u);
  BoardFont FSelectedFont;
  BoardFont FUnselectedFont;
  BoardFont FValidatedFont;
  BoardFont FCurrentPhraseFont;
  BoardFont FTabFont; // the tab strip's font (its colour is maroon, not stored)
  TMeasureLabel FSelectedMeasure;
  TMeasureLabel FUnselectedMeasure;
  TMeasureLabel FMeasureLabel;
  int FButtonHeight = 0;
  int FSuggestionSlots = 0;
  QStringList FSuggestions;
};
