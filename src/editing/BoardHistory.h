// The history of the carer's edits: every board edit of creation mode is pushed here as a
// command, so that it can be undone and redone. Whether the board differs from its file
// follows the history: back at the state last saved, there is nothing to save.
#pragma once

#include <QObject>
#include <QSet>
#include <QUndoStack>
#include <functional>

class QUndoCommand;
class CreationPanel;
namespace boardedit {
struct BoardSnapshot;
}

class BoardHistory : public QObject {
  Q_OBJECT
public:
  // Wires the panel's "Annuler" and "Rétablir" buttons and the name field's fast entry.
  explicit BoardHistory(CreationPanel& panel);
  ~BoardHistory() override;

  QUndoStack& stack() { return FStack; }
  void push(QUndoCommand* command); // runs the command
  // The board shown is the one in its file (saved), or one with no past (loaded at start-up,
  // made anew): nothing to save, and for the latter nothing to undo.
  void markSaved();
  void startAfresh();
  // A change that no undo takes back: the board stays unsaved until the next save.
  void markChangedOutsideHistory();
  // The board replaced by another as one undoable step, after which it counts as saved.
  void replaceBoard(std::function<void()> replace);
  void replaceBoard(const boardedit::BoardSnapshot& before, std::function<void()> replace);
  // CTRL+Z and CTRL+Y: in a text field they are the field's own, for its typing.
  bool undoShortcut(); // false: the focus is in a text field, which undoes its own typing
  bool redoShortcut();
  // The value a pace box showed before its latest change.
  int shownPace(int which) const { return FShownPace[which == 1 ? 0 : 1]; }
  // The pace boxes were set by the program (a board shown): their values are the ones shown.
  void followPaces();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void follow();
  CreationPanel& FPanel;
  QUndoStack FStack;
  int FShownPace[2] = {3, 1};
  // The stack keeps one saved state; each board replaced while saved is one more: undoing
  // the replacement brings back a board that is its file. A save forgets them all, being
  // unsure they still match their files.
  QSet<int> FReplacedSaved;
};
