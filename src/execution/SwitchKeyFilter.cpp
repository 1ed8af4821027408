// Routes the keyboard by the scanning phase rather than by where the focus happens to rest.
#include "execution/SwitchKeyFilter.h"

#include "platform/SwitchKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

SwitchKeyFilter::SwitchKeyFilter(QWidget* board, Shortcuts shortcuts, QObject* parent)
    : QObject(parent), FBoard(board), FShortcuts(std::move(shortcuts)) {
  FClock.start();
  FTimer.setSingleShot(true);
  FTimer.setTimerType(Qt::PreciseTimer);
  connect(&FTimer, &QTimer::timeout, this, [this] {
    FInput.timeout(now());
    schedule();
    emit switchChanged();
  });
  qApp->installEventFilter(this);
}

SwitchKeyFilter::~SwitchKeyFilter() {
  qApp->removeEventFilter(this);
}

void SwitchKeyFilter::flush() {
  while (const auto due = FInput.nextDeadline())
    FInput.timeout(std::max(*due, now()));
  schedule();
}

void SwitchKeyFilter::schedule() {
  const auto due = FInput.nextDeadline();
  if (!due) {
    FTimer.stop();
    return;
  }
  FTimer.start(int(std::max<qint64>(0, *due - now())));
}

bool SwitchKeyFilter::isForBoard(QObject* watched) const {
  if (!FBoard)
    return false;
  // A key event enters through the window the display server gave it to, then goes to the
  // focus widget and may bubble up to its parents; it is the board's when that is the board's
  // window or one of its widgets, and no modal dialog or popup owns the keyboard meanwhile.
  bool board = false;
  if (watched->isWidgetType())
    board = static_cast<QWidget*>(watched)->window() == FBoard;
  else if (watched->isWindowType())
    board = watched == FBoard->windowHandle();
  if (!board)
    return false;
  QWidget* modal = QApplication::activeModalWidget();
  return (!modal || modal == FBoard) && !QApplication::activePopupWidget();
}

bool SwitchKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::WindowDeactivate && FBoard && watched == FBoard) {
    // The keyboard went to another window (a dialog, another program): the releases of the
    // keys held now will never come here, and a key taken for one still down would swallow
    // the next press.
    FInput.forgetAll();
    schedule();
    emit switchChanged();
    return false;
  }
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
    return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!isForBoard(watched)) {
    // A switch key let go over a dialog: the board will never see that release, and must not
    // take the key for one still held.
    if (type == QEvent::KeyRelease && !key->isAutoRepeat())
      FInput.forget(switchkeys::virtualKeyCode(*key));
    return false;
  }
  // An event may be seen here several times (window, focus widget, its parents): whatever
  // acts on it also ends its journey, so it never acts twice.
  if (type == QEvent::KeyPress && (key->modifiers() & Qt::ControlModifier) && FShortcuts &&
      !key->isAutoRepeat() && FShortcuts(key->key(), key->modifiers()))
    return true;
  const int virtualKey = switchkeys::virtualKeyCode(*key);
  // Which keys are switches depends on the access mode: Space is one only for two switches.
  if (!FInput.isSwitchKey(virtualKey))
    return false;
  const qint64 t = now();
  if (type == QEvent::KeyPress)
    FInput.keyDown(virtualKey, key->isAutoRepeat(), t);
  else
    FInput.keyUp(virtualKey, key->isAutoRepeat(), t);
  schedule();
  emit switchChanged();
  // In creation mode the carer's keys (digits, Enter, arrows) are theirs.
  return FInput.phase() != SwitchInput::Phase::Off;
}
