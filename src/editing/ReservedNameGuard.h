// Keeps a reserved name, or a name that takes the board past a bound of its file, from getting
// past the creation panel's name fields: while the focused field holds one, nothing else in the
// window may happen.
#pragma once

#include <QString>

class QEvent;
class QLineEdit;
class QObject;
class CreationPanel;

class ReservedNameGuard {
public:
  explicit ReservedNameGuard(CreationPanel& panel) : FPanel(panel) {}

  // Offered every event of the application before the window acts on it; true when the event
  // must go no further. A click anywhere else in the window, the wheel, and the window's
  // shortcuts are held up; the field's own editing is not.
  bool holdsUp(QObject* watched, QEvent* event);
  // Whether a focused name field holds a name it may not be left with: the window's shortcuts
  // must then wait for the field to refuse them.
  bool isHolding() const { return lockedField() != nullptr; }

private:
  // The focused name field when it holds a name it may not be left with, otherwise null.
  QLineEdit* lockedField() const;
  bool isLocked(const QLineEdit* field) const;
  // Says why through the field's own leaving check ("Désolé ce texte est réservé", or the bound
  // a name passes).
  void refuse(QLineEdit* field);

  CreationPanel& FPanel;
  bool FSwallowPress = false;   // the press that took the focus out of a locked field
  bool FSwallowRelease = false; // the release of a press held up
};
