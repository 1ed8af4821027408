// The carer's board edits as undoable commands. A command names its tab and text by their
// places (texts counted whole, pieces once) and keeps plain values: the buttons of a text are
// destroyed and made again by cutting, joining and an undone delete.
#pragma once

#include "documents/BoardFile.h"
#include "platform/BoardFont.h"

#include <QString>
#include <QStringList>
#include <QUndoCommand>
#include <functional>
#include <optional>

class TMainFrame;

namespace boardedit {

// A whole board as the window shows it: what a save writes, and what tells it from its file.
struct BoardSnapshot {
  BoardData data;
  QString fileName;
  QString title;
  int tabCounter = 0;
  int activeTab = -1;
};
BoardData currentBoardData(const TMainFrame& f);
BoardSnapshot captureBoard(const TMainFrame& f);
void restoreBoard(TMainFrame& f, const BoardSnapshot& s);

// The values the five appearance targets edit.
struct Appearance {
  BoardFont selected, unselected, validated, currentPhrase, tabs;
  TColor tabColor = 0;
  TColor memoColor = 0;
  bool operator==(const Appearance& o) const {
    return selected == o.selected && unselected == o.unselected && validated == o.validated &&
           currentPhrase == o.currentPhrase && tabs == o.tabs && tabColor == o.tabColor &&
           memoColor == o.memoColor;
  }
};
Appearance captureAppearance(const TMainFrame& f);

// What the pace boxes of the panel and the settings dialog edit together: the whole-second
// paces and the board's settings, the finer paces among them.
struct ScanSetup {
  int t1Seconds = 3;
  int t2Seconds = 1;
  BoardSettings settings;
  bool operator==(const ScanSetup& o) const {
    return t1Seconds == o.t1Seconds && t2Seconds == o.t2Seconds && settings == o.settings;
  }
  bool operator!=(const ScanSetup& o) const { return !(*this == o); }
};
ScanSetup captureScanSetup(const TMainFrame& f);

// An edit that would take the board past what a board file may hold (`addedTabs` more tabs,
// `addedTexts` more texts, `newNames` the texts and captions it writes) is refused with a
// message naming the bound: true when refused.
bool refusedPastBounds(TMainFrame& f, int addedTabs, const QStringList& addedTexts,
                       const QStringList& newNames);

// Tab `tab` becomes the active tab as the program changes it (no page-change event); the tab
// name field follows it.
void showTab(TMainFrame& f, int tab);
// The name field never speaks of a text that is gone; the chosen text's mark is redrawn.
void settleChosenText(TMainFrame& f);

} // namespace boardedit

class BoardEdit : public QUndoCommand {
public:
  explicit BoardEdit(TMainFrame& f) : FFrame(f) {}

protected:
  TMainFrame& FFrame;
};

class AddTabCommand : public BoardEdit {
public:
  AddTabCommand(TMainFrame& f, int index, const QString& caption, int counterAfter);
  void redo() override;
  void undo() override;

private:
  int FIndex;
  QString FCaption;
  int FCounterAfter;
};

class DeleteTabCommand : public BoardEdit {
public:
  DeleteTabCommand(TMainFrame& f, int index, const QString& caption, const QStringList& texts);
  void redo() override;
  void undo() override;

private:
  int FIndex;
  QString FCaption;
  QStringList FTexts;
};

class RenameTabCommand : public BoardEdit {
public:
  RenameTabCommand(TMainFrame& f, int index, const QString& from, const QString& to);
  void redo() override { apply(FTo); }
  void undo() override { apply(FFrom); }
  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override;

private:
  void apply(const QString& caption);
  int FIndex;
  QString FFrom, FTo;
};

class MoveTabCommand : public BoardEdit {
public:
  MoveTabCommand(TMainFrame& f, int from, int to);
  void redo() override { move(FFrom, FTo); }
  void undo() override { move(FTo, FFrom); }

private:
  void move(int from, int to);
  int FFrom, FTo;
};

// The scanning setup changed: a pace box of the panel, or the settings dialog. Undone, every
// value comes back as it was, the finer pace a whole-second one replaced included.
class ScanSetupCommand : public BoardEdit {
public:
  // mergeId >= 0: successive changes with the same id (the steps of one pace box) are one.
  ScanSetupCommand(TMainFrame& f, const boardedit::ScanSetup& before,
                   const boardedit::ScanSetup& after, int mergeId = -1);
  void redo() override { apply(FAfter); }
  void undo() override { apply(FBefore); }
  int id() const override { return FMergeId; }
  bool mergeWith(const QUndoCommand* other) override;

  // Pace box `which` (1 tabs, 2 texts) now shows a whole-second pace in place of `shownBefore`:
  // that pace replaces the finer one the board may have had.
  static ScanSetupCommand* paceTyped(TMainFrame& f, int which, int shownBefore);
  // The settings chosen in the dialog; the panel's boxes show the finer paces rounded, as the
  // file stores them for older versions. None when nothing changes.
  static ScanSetupCommand* settingsChosen(TMainFrame& f, const BoardSettings& chosen);

private:
  void apply(const boardedit::ScanSetup& setup);
  boardedit::ScanSetup FBefore, FAfter;
  int FMergeId;
};

// Texts inserted before text `index` of a tab; the last of them is chosen.
class AddTextsCommand : public BoardEdit {
public:
  AddTextsCommand(TMainFrame& f, int tab, int index, const QStringList& captions);
  void redo() override;
  void undo() override;

private:
  int FTab, FIndex;
  QStringList FCaptions;
};

class DeleteTextCommand : public BoardEdit {
public:
  DeleteTextCommand(TMainFrame& f, int tab, int index, const QString& caption);
  void redo() override;
  void undo() override;

private:
  int FTab, FIndex;
  QString FCaption;
};

class RenameTextCommand : public BoardEdit {
public:
  RenameTextCommand(TMainFrame& f, int tab, int index, const QString& from, const QString& to);
  void redo() override { apply(FTo); }
  void undo() override { apply(FFrom); }
  int id() const override { return 2; }
  bool mergeWith(const QUndoCommand* other) override;

private:
  void apply(const QString& caption);
  int FTab, FIndex;
  QString FFrom, FTo;
};

// A text swapped with its neighbour inside its tab.
class MoveTextCommand : public BoardEdit {
public:
  MoveTextCommand(TMainFrame& f, int tab, int index, bool back);
  void redo() override { swap(FIndex, FBack); }
  void undo() override { swap(FBack ? FIndex - 1 : FIndex + 1, !FBack); }

private:
  void swap(int index, bool back);
  int FTab, FIndex;
  bool FBack;
};

// A text taken out of one tab and put at place `toIndex` of another.
class MoveTextToTabCommand : public BoardEdit {
public:
  MoveTextToTabCommand(TMainFrame& f, int fromTab, int fromIndex, int toTab, int toIndex,
                       const QString& caption);
  void redo() override { move(FFromTab, FFromIndex, FToTab, FToIndex); }
  void undo() override { move(FToTab, FToIndex, FFromTab, FFromIndex); }

private:
  void move(int fromTab, int fromIndex, int toTab, int toIndex);
  int FFromTab, FFromIndex, FToTab, FToIndex;
  QString FCaption;
};

class AppearanceCommand : public BoardEdit {
public:
  AppearanceCommand(TMainFrame& f, const boardedit::Appearance& before,
                    const boardedit::Appearance& after);
  void redo() override { apply(FAfter, FBefore); }
  void undo() override { apply(FBefore, FAfter); }

private:
  void apply(const boardedit::Appearance& to, const boardedit::Appearance& from);
  boardedit::Appearance FBefore, FAfter;
};

// A whole board put in place of the one shown ("Nouveau fichier", "Ouvrir un fichier"). The
// first redo builds it the command's own way; later ones bring back what it built.
class ReplaceBoardCommand : public BoardEdit {
public:
  ReplaceBoardCommand(TMainFrame& f, const boardedit::BoardSnapshot& before,
                      std::function<void()> replace);
  void redo() override;
  void undo() override;

private:
  boardedit::BoardSnapshot FBefore;
  std::optional<boardedit::BoardSnapshot> FAfter;
  std::function<void()> FReplace;
};
