// Maps Qt key events to the Windows virtual-key codes that boards and shortcuts are written
// in, and tells which of them act as the switch.
#include "platform/SwitchKeys.h"

#include <QKeyEvent>

namespace switchkeys {

namespace {
// Keys whose code does not depend on the keypad modifier: with Num Lock off the keypad sends
// the navigation keys, which the switch accepts just like the main ones.
int navigationCode(int qtKey) {
  switch (qtKey) {
  case Qt::Key_Enter:
  case Qt::Key_Return:
    return 13;
  case Qt::Key_Clear:
    return 12;
  case Qt::Key_PageUp:
    return 33;
  case Qt::Key_PageDown:
    return 34;
  case Qt::Key_End:
    return 35;
  case Qt::Key_Home:
    return 36;
  case Qt::Key_Left:
    return 37;
  case Qt::Key_Up:
    return 38;
  case Qt::Key_Right:
    return 39;
  case Qt::Key_Down:
    return 40;
  case Qt::Key_Insert:
    return 45;
  case Qt::Key_Delete:
    return 46;
  case Qt::Key_NumLock:
    return 144;
  case Qt::Key_Backspace:
    return 8;
  case Qt::Key_Tab:
    return 9;
  case Qt::Key_Shift:
    return 16;
  case Qt::Key_Control:
    return 17;
  case Qt::Key_Alt:
    return 18;
  case Qt::Key_Escape:
    return 27;
  case Qt::Key_Space:
    return 32;
  default:
    return 0;
  }
}

// The keypad's operator keys; on the main keyboard the same characters are no switch.
int keypadOperatorCode(int qtKey) {
  switch (qtKey) {
  case Qt::Key_Asterisk:
    return 106;
  case Qt::Key_Plus:
    return 107;
  case Qt::Key_Comma:
    return 108;
  case Qt::Key_Minus:
    return 109;
  case Qt::Key_Period:
    return 110;
  case Qt::Key_Slash:
    return 111;
  default:
    return 0;
  }
}
} // namespace

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return (keypad ? 96 : 48) + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
    return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
    return 112 + (qtKey - Qt::Key_F1);
  if (keypad) {
    if (const int code = keypadOperatorCode(qtKey))
      return code;
  }
  return navigationCode(qtKey);
}

int virtualKeyCode(const QKeyEvent& event) {
  return virtualKeyCode(event.key(), event.modifiers());
}

bool isSwitchKey(int virtualKey) {
  if (virtualKey >= 96 && virtualKey <= 111) // keypad digits and operators
    return true;
  if (virtualKey >= 33 && virtualKey <= 40) // keypad navigation with Num Lock off
    return true;
  return virtualKey == 13 || virtualKey == 45 || virtualKey == 46 || virtualKey == 144;
}

bool canBeChosen(int virtualKey) {
  return virtualKey != 16 && virtualKey != 17 && virtualKey != 18 && !keyName(virtualKey).isEmpty();
}

QString keyName(int virtualKey) {
  const QString keypad = QStringLiteral(" du pavé numérique");
  if (virtualKey >= 96 && virtualKey <= 105)
    return QString::number(virtualKey - 96) + keypad;
  if (virtualKey >= 48 && virtualKey <= 57)
    return QString::number(virtualKey - 48);
  if (virtualKey >= 'A' && virtualKey <= 'Z')
    return QString(QChar(virtualKey));
  if (virtualKey >= 112 && virtualKey <= 123)
    return QStringLiteral("F%1").arg(virtualKey - 111);
  switch (virtualKey) {
  case 8:
    return QStringLiteral("Retour arrière");
  case 9:
    return QStringLiteral("Tabulation");
  case 12:
    return QStringLiteral("5 du pavé numérique sans Verr Num");
  case 13:
    return QStringLiteral("Entrée");
  case 27:
    return QStringLiteral("Échap");
  case 32:
    return QStringLiteral("Espace");
  case 33:
    return QStringLiteral("Page précédente");
  case 34:
    return QStringLiteral("Page suivante");
  case 35:
    return QStringLiteral("Fin");
  case 36:
    return QStringLiteral("Début");
  case 37:
    return QStringLiteral("Flèche gauche");
  case 38:
    return QStringLiteral("Flèche haut");
  case 39:
    return QStringLiteral("Flèche droite");
  case 40:
    return QStringLiteral("Flèche bas");
  case 45:
    return QStringLiteral("Inser");
  case 46:
    return QStringLiteral("Suppr");
  case 106:
    return QStringLiteral("*") + keypad;
  case 107:
    return QStringLiteral("+") + keypad;
  case 108:
    return QStringLiteral("Séparateur") + keypad;
  case 109:
    return QStringLiteral("-") + keypad;
  case 110:
    return QStringLiteral(".") + keypad;
  case 111:
    return QStringLiteral("/") + keypad;
  case 144:
    return QStringLiteral("Verr Num");
  default:
    return QString();
  }
}

} // namespace switchkeys
