// The edit history and the wiring of its buttons, its shortcuts and the name field's fast entry.
#include "editing/BoardHistory.h"

#include "editing/BoardEdits.h"
#include "shell/TMainFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

BoardHistory::BoardHistory(TMainFrame& frame) : QObject(&frame), FFrame(frame) {
  connect(&FStack, &QUndoStack::indexChanged, this, [this] { follow(); });
  connect(&FStack, &QUndoStack::cleanChanged, this, [this] { follow(); });
  connect(FFrame.BtnAnnulerEdition, &QPushButton::clicked, this, [this] { FStack.undo(); });
  connect(FFrame.BtnRetablirEdition, &QPushButton::clicked, this, [this] { FStack.redo(); });
  connect(FFrame.EdtNomTexte, &QLineEdit::returnPressed, this,
          [this] { FFrame.EdtNomTexteReturn(); });
  // A list pasted into the text name field becomes texts; the window's own filter is left to
  // the keyboard routing.
  FFrame.EdtNomTexte->installEventFilter(this);
  follow();
}

BoardHistory::~BoardHistory() {
  // The window's widgets are gone by now: the history's last signals must not reach them.
  FStack.disconnect(this);
}

void BoardHistory::push(QUndoCommand* command) {
  // The states above the current one are about to leave the history.
  FReplacedSaved.removeIf([this](int index) { return index > FStack.index(); });
  FStack.push(command);
  follow(); // a typed rename merged into the last step moves no index
}

void BoardHistory::markSaved() {
  FStack.setClean();
  FReplacedSaved.clear();
  follow();
}

void BoardHistory::startAfresh() {
  FStack.clear();
  FReplacedSaved.clear();
  follow();
}

void BoardHistory::markChangedOutsideHistory() {
  FStack.resetClean();
  FReplacedSaved.remove(FStack.index());
  follow();
}

void BoardHistory::replaceBoard(std::function<void()> replace) {
  replaceBoard(boardedit::captureBoard(FFrame), std::move(replace));
}

void BoardHistory::replaceBoard(const boardedit::BoardSnapshot& before,
                                std::function<void()> replace) {
  QSet<int> saved = FReplacedSaved;
  if (FStack.isClean())
    saved << FStack.index();
  push(new ReplaceBoardCommand(FFrame, before, std::move(replace)));
  FStack.setClean();
  FReplacedSaved = saved;
  FReplacedSaved.removeIf([this](int index) { return index > FStack.index(); });
  follow();
}

static bool inTextField() {
  return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
}

bool BoardHistory::undoShortcut() {
  if (inTextField())
    return false;
  FStack.undo();
  return true;
}

bool BoardHistory::redoShortcut() {
  if (inTextField())
    return false;
  FStack.redo();
  return true;
}

void BoardHistory::follow() {
  FFrame.FSaved = FStack.isClean() || FReplacedSaved.contains(FStack.index());
  FFrame.BtnAnnulerEdition->setEnabled(FStack.canUndo());
  FFrame.BtnRetablirEdition->setEnabled(FStack.canRedo());
  FShownPace[0] = FFrame.EdtT1->value();
  FShownPace[1] = FFrame.EdtT2->value();
}

bool BoardHistory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FFrame.EdtNomTexte && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) && !FFrame.FExecMode) {
    const QString text = QApplication::clipboard()->text();
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
      FFrame.pasteTextList(text);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
