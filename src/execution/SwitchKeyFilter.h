// Every key event of the application passes here once: the board window's shortcuts, and in
// execution mode its switch keys, which become presses and releases of the one switch and do
// nothing else (no focus move, no scrolling, no button click), wherever the focus rests.
// Keys typed into a dialog stay the dialog's.
#pragma once

#include "execution/SwitchInput.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QKeyEvent;
class QWidget;

class SwitchKeyFilter : public QObject {
  Q_OBJECT
public:
  // A key with Ctrl held: true when it was a shortcut and acted (the key then goes no further).
  using Shortcuts = std::function<bool(int qtKey, Qt::KeyboardModifiers modifiers)>;
  // `board` is the window whose keys are routed; the filter is installed on the application.
  // Without `shortcuts`, no key is a shortcut.
  explicit SwitchKeyFilter(QWidget* board, Shortcuts shortcuts = {}, QObject* parent = nullptr);
  ~SwitchKeyFilter() override;

  SwitchInput& input() { return FInput; }
  // Runs at once what is waiting for time to pass (tests only: a release waits a few
  // milliseconds to be sure it is no auto-repeat).
  void flush();
  qint64 now() const { return FClock.elapsed(); }

signals:
  // A switch key went down or up, or time made something fall due.
  void switchChanged();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool isForBoard(QObject* watched) const;
  void schedule();

  QPointer<QWidget> FBoard;
  Shortcuts FShortcuts;
  SwitchInput FInput;
  QElapsedTimer FClock;
  QTimer FTimer;
};
