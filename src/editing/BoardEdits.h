// The carer's board edits as undoable commands. A command names its tab and text by their
// places (texts counted whole, pieces once) and keeps plain values: the buttons of a text are
// destroyed and made again by cutting, joining and an undone delete.
#pragma once

#include "board/BoardView.h"
#include "documents/BoardFile.h"
#include "platform/BoardFont.h"

#include <QString>
#include <QStringList>
#include <QUndoCommand>
#include <functional>
#include <optional>

class CreationPanel;
struct BoardLook;

namespace boardedit {

// A whole board as it is shown: what a save writes, and what tells it from its file.
struct BoardSnapshot {
  BoardData data;
  QString fileName;
  QString title;
  int tabCounter = 0;
  int activeTab = -1;
};
BoardSnapshot captureBoard(CreationPanel& f);
void restoreBoard(CreationPanel& f, const BoardSnapshot& s);

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
ScanSetup captureScanSetup(const CreationPanel& f);

// An edit that would take the board past what a board file may hold (`addedTabs` more tabs,
// `addedTexts` more texts, `newNames` the texts and captions it writes) is refused with a
// message naming the bound: true when refused.
bool refusedPastBounds(CreationPanel& f, int addedTabs, const QStringList& addedTexts,
                       const QStringList& newNames, qint64 replacedBytes = 0);

// A text's picture before and after an edit (null: none), the text by its place in its tab.
struct PictureChange {
  int text = 0;
  BoardPicture before, after;
};
// Pictures that would take the board past what a board file may hold (their number, the bytes
// of one, the bytes of all) are refused with a message naming the bound: true when refused.
// The pictures the changes replace count no more.
bool refusedPastPictureBounds(CreationPanel& f, int tab, const QList<PictureChange>& changes);

// The columns the page's texts are shown in: the grid's, else those of the first row of
// flowing texts (the rows below hold about as many).
int columnsShown(const TOnglet& page);

} // namespace boardedit

class BoardEdit : public QUndoCommand {
public:
  explicit BoardEdit(CreationPanel& f) : FPanel(f) {}

protected:
  CreationPanel& FPanel;
};

class AddTabCommand : public BoardEdit {
public:
  AddTabCommand(CreationPanel& f, int index, const QString& caption, int counterAfter);
  void redo() override;
  void undo() override;

private:
  int FIndex;
  QString FCaption;
  int FCounterAfter;
};

class DeleteTabCommand : public BoardEdit {
public:
  DeleteTabCommand(CreationPanel& f, int index, const QString& caption, const QStringList& texts,
                   const QList<BoardPicture>& pictures);
  void redo() override;
  void undo() override;

private:
  int FIndex;
  QString FCaption;
  QStringList FTexts;
  QList<BoardPicture> FPictures; // as the page's model lists them: empty when none has one
};

class RenameTabCommand : public BoardEdit {
public:
  RenameTabCommand(CreationPanel& f, int index, const QString& from, const QString& to);
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
  MoveTabCommand(CreationPanel& f, int from, int to);
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
  ScanSetupCommand(CreationPanel& f, const boardedit::ScanSetup& before,
                   const boardedit::ScanSetup& after, int mergeId = -1);
  void redo() override { apply(FAfter); }
  void undo() override { apply(FBefore); }
  int id() const override { return FMergeId; }
  bool mergeWith(const QUndoCommand* other) override;

  // Pace box `which` (1 tabs, 2 texts) now shows a whole-second pace in place of `shownBefore`:
  // that pace replaces the finer one the board may have had.
  static ScanSetupCommand* paceTyped(CreationPanel& f, int which, int shownBefore);
  // The settings chosen in the dialog; the panel's boxes show the finer paces rounded, as the
  // file stores them for older versions. None when nothing changes.
  static ScanSetupCommand* settingsChosen(CreationPanel& f, const BoardSettings& chosen);

private:
  void apply(const boardedit::ScanSetup& setup);
  boardedit::ScanSetup FBefore, FAfter;
  int FMergeId;
};

// Texts inserted before text `index` of a tab; the last of them is chosen.
class AddTextsCommand : public BoardEdit {
public:
  AddTextsCommand(CreationPanel& f, int tab, int index, const QStringList& captions);
  void redo() override;
  void undo() override;

private:
  int FTab, FIndex;
  QStringList FCaptions;
};

class DeleteTextCommand : public BoardEdit {
public:
  DeleteTextCommand(CreationPanel& f, int tab, int index, const QString& caption,
                    const BoardPicture& picture);
  void redo() override;
  void undo() override;

private:
  int FTab, FIndex;
  QString FCaption;
  BoardPicture FPicture;
};

class RenameTextCommand : public BoardEdit {
public:
  RenameTextCommand(CreationPanel& f, int tab, int index, const QString& from, const QString& to);
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
  MoveTextCommand(CreationPanel& f, int tab, int index, bool back);
  void redo() override { swap(FIndex, FBack); }
  void undo() override { swap(FBack ? FIndex - 1 : FIndex + 1, !FBack); }

private:
  void swap(int index, bool back);
  int FTab, FIndex;
  bool FBack;
};

// A text taken out of one tab and put at place `toIndex` of another, with its picture.
class MoveTextToTabCommand : public BoardEdit {
public:
  MoveTextToTabCommand(CreationPanel& f, int fromTab, int fromIndex, int toTab, int toIndex,
                       const QString& caption, const BoardPicture& picture);
  void redo() override { move(FFromTab, FFromIndex, FToTab, FToIndex); }
  void undo() override { move(FToTab, FToIndex, FFromTab, FFromIndex); }

private:
  void move(int fromTab, int fromIndex, int toTab, int toIndex);
  int FFromTab, FFromIndex, FToTab, FToIndex;
  QString FCaption;
  BoardPicture FPicture;
};

// Pictures given to texts of one tab or taken from them, as one step: "Image...", "Retirer
// l'image", "Images pour l'onglet".
class SetPicturesCommand : public BoardEdit {
public:
  // chosen: the change is the chosen text's, which an undo or a redo chooses again.
  SetPicturesCommand(CreationPanel& f, int tab, const QList<boardedit::PictureChange>& changes,
                     bool chosen);
  void redo() override { apply(true); }
  void undo() override { apply(false); }

private:
  void apply(bool after);
  int FTab;
  QList<boardedit::PictureChange> FChanges;
  bool FChosen;
};

// A tab's texts put in another order, their pictures with them, as one step: the whole order
// before and after is kept, so undo and redo need no knowledge of how it was found.
class ReorderTextsCommand : public BoardEdit {
public:
  struct Order {
    QStringList texts;
    QList<BoardPicture> pictures; // as the page's model lists them: empty when none has one
  };
  ReorderTextsCommand(CreationPanel& f, int tab, const Order& before, const Order& after);
  void redo() override { apply(FAfter); }
  void undo() override { apply(FBefore); }

  // The active tab's texts ordered by their frequency in French for row-column scanning, in
  // the columns the page shows; none when that order is the one it already has.
  static ReorderTextsCommand* byFrequency(CreationPanel& f);

private:
  void apply(const Order& order);
  int FTab;
  Order FBefore, FAfter;
};

class AppearanceCommand : public BoardEdit {
public:
  AppearanceCommand(CreationPanel& f, const BoardLook& before, const BoardLook& after);
  void redo() override { apply(FAfter, FBefore); }
  void undo() override { apply(FBefore, FAfter); }

private:
  void apply(const BoardLook& to, const BoardLook& from);
  BoardLook FBefore, FAfter;
};

// A whole board put in place of the one shown ("Nouveau fichier", "Ouvrir un fichier"). The
// first redo builds it the command's own way; later ones bring back what it built.
class ReplaceBoardCommand : public BoardEdit {
public:
  ReplaceBoardCommand(CreationPanel& f, const boardedit::BoardSnapshot& before,
                      std::function<void()> replace);
  void redo() override;
  void undo() override;

private:
  boardedit::BoardSnapshot FBefore;
  std::optional<boardedit::BoardSnapshot> FAfter;
  std::function<void()> FReplace;
};
