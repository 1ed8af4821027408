// The reserved-name lock of the name fields. A field left by the keyboard or by a click on a
// control that takes the focus is already refused by the window's leaving check, which shows
// the message and gives the focus back; the press that took the focus must then do nothing.
// A click on a control that takes no focus (the tab strip) and
// the window's shortcuts never leave the field, so they are held up here.
#include "editing/ReservedNameGuard.h"

#include "board/BoardView.h"
#include "editing/CreationPanel.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

bool ReservedNameGuard::isLocked(const QLineEdit* field) const {
  if (FPanel.view().execMode())
    return false;
  if (field != FPanel.EdtNomOnglet && field != FPanel.EdtNomTexte)
    return false;
  return FPanel.nameFieldRefusal(field).has_value();
}

QLineEdit* ReservedNameGuard::lockedField() const {
  auto* focus = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  if (!focus || (focus != FPanel.EdtNomOnglet && focus != FPanel.EdtNomTexte))
    return nullptr;
  return isLocked(focus) ? focus : nullptr;
}

void ReservedNameGuard::refuse(QLineEdit* field) {
  if (field == FPanel.EdtNomOnglet)
    FPanel.EdtNomOngletExit();
  else
    FPanel.EdtNomTexteExit();
}

bool ReservedNameGuard::holdsUp(QObject* watched, QEvent* event) {
  // Every event of the application passes here: the many of no interest leave at once.
  switch (event->type()) {
  case QEvent::FocusOut:
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonDblClick:
  case QEvent::MouseButtonRelease:
  case QEvent::Wheel:
  case QEvent::KeyPress:
    break;
  default:
    return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != FPanel.window())
    return false;
  switch (event->type()) {
  case QEvent::FocusOut:
    // Qt gives the focus to a clicked control before the press itself arrives.
    if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason &&
        (watched == FPanel.EdtNomOnglet || watched == FPanel.EdtNomTexte) &&
        isLocked(static_cast<QLineEdit*>(watched)))
      FSwallowPress = true;
    return false;
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonDblClick: {
    // A release held up may never have come (a message box took the mouse meanwhile): it must
    // not take the release of this press.
    FSwallowRelease = false;
    if (FSwallowPress) {
      FSwallowPress = false;
      FSwallowRelease = true;
      return true;
    }
    QLineEdit* field = lockedField();
    if (!field || widget == field || field->isAncestorOf(widget))
      return false;
    FSwallowRelease = true;
    refuse(field);
    return true;
  }
  case QEvent::MouseButtonRelease:
    if (!FSwallowRelease)
      return false;
    FSwallowRelease = false;
    return true;
  case QEvent::Wheel: {
    // The wheel over the tab strip changes the tab: held up silently, as scrolling is no
    // command the carer would expect to be told about.
    QLineEdit* field = lockedField();
    return field && widget != field;
  }
  case QEvent::KeyPress: {
    // The window's own shortcuts; every other key edits the field.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!(key->modifiers() & Qt::ControlModifier))
      return false;
    switch (key->key()) {
    case Qt::Key_E:
    case Qt::Key_O:
    case Qt::Key_P:
    case Qt::Key_R:
      break;
    default:
      return false;
    }
    QLineEdit* field = lockedField();
    if (field != watched)
      return false;
    refuse(field);
    return true;
  }
  default:
    return false;
  }
}
