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
  FStack.push(command);
  follow(); // a typed rename merged into the last step moves no index
}

void BoardHistory::markSaved() {
  FStack.setClean();
  follow();
}

void BoardHistory::startAfresh() {
  FStack.clear();
  follow();
}

void BoardHistory::markChangedOutsideHistory() {
  FStack.resetClean();
  follow();
}

void BoardHistory::replaceBoard(std::function<void()> replace) {
  push(new ReplaceBoardCommand(FFrame, boardedit::captureBoard(FFrame), std::move(replace)));
  markSaved();
}

static bool inTextField() {
  return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
}

void BoardHistory::undoShortcut() {
  if (!inTextField())
    FStack.undo();
}

void BoardHistory::redoShortcut() {
  if (!inTextField())
    FStack.redo();
}

void BoardHistory::follow() {
  FFrame.FSaved = FStack.isClean();
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
