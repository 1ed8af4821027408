// The edit history and the wiring of its buttons, its shortcuts and the name field's fast entry.
#include "editing/BoardHistory.h"

#include "board/BoardView.h"
#include "documents/BoardDocument.h"
#include "editing/BoardEdits.h"
#include "editing/CreationPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

BoardHistory::BoardHistory(CreationPanel& panel) : QObject(&panel), FPanel(panel) {
  connect(&FStack, &QUndoStack::indexChanged, this, [this] { follow(); });
  connect(&FStack, &QUndoStack::cleanChanged, this, [this] { follow(); });
  connect(FPanel.BtnAnnulerEdition, &QPushButton::clicked, this, [this] { FStack.undo(); });
  connect(FPanel.BtnRetablirEdition, &QPushButton::clicked, this, [this] { FStack.redo(); });
  connect(FPanel.EdtNomTexte, &QLineEdit::returnPressed, this,
          [this] { FPanel.EdtNomTexteReturn(); });
  // A list pasted into the text name field becomes texts; the panel's own filter is left to
  // the keyboard routing.
  FPanel.EdtNomTexte->installEventFilter(this);
  follow();
}

BoardHistory::~BoardHistory() {
  // The panel's widgets are gone by now: the history's last signals must not reach them.
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
  replaceBoard(boardedit::captureBoard(FPanel), std::move(replace));
}

void BoardHistory::replaceBoard(const boardedit::BoardSnapshot& before,
                                std::function<void()> replace) {
  QSet<int> saved = FReplacedSaved;
  if (FStack.isClean())
    saved << FStack.index();
  push(new ReplaceBoardCommand(FPanel, before, std::move(replace)));
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
  FPanel.document().setSaved(FStack.isClean() || FReplacedSaved.contains(FStack.index()));
  FPanel.BtnAnnulerEdition->setEnabled(FStack.canUndo());
  FPanel.BtnRetablirEdition->setEnabled(FStack.canRedo());
  followPaces();
}

void BoardHistory::followPaces() {
  FShownPace[0] = FPanel.EdtT1->value();
  FShownPace[1] = FPanel.EdtT2->value();
}

bool BoardHistory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FPanel.EdtNomTexte && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) && !FPanel.view().execMode()) {
    const QString text = QApplication::clipboard()->text();
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
      FPanel.pasteTextList(text);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
