// The group "Accès" of the settings dialog: the access mode, the keys of the two switches (each
// set by pressing it), the move switch's repeat and the dwell time.
#pragma once

#include "documents/BoardSettings.h"

#include <QGroupBox>
#include <QPushButton>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;

// A button that shows a switch's key and, once pressed, takes the next key pressed as the new
// one. Escape, or leaving the button, gives up without a change.
class SwitchKeyButton : public QPushButton {
  Q_OBJECT
public:
  // `caption` comes before the key's name: "Touche pour avancer".
  SwitchKeyButton(const QString& caption, QWidget* parent);
  void setKey(int virtualKey);
  int key() const { return FKey; }
  bool waiting() const { return FWaiting; }
  // Whether a key may be taken; otherwise the reason to show, and the button keeps waiting.
  std::function<QString(int virtualKey)> refusal;

signals:
  void keyChanged(int virtualKey);
  void refused(const QString& why);

protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

private:
  void startWaiting();
  void stopWaiting();
  QString FCaption;
  int FKey = 0;
  bool FWaiting = false;
};

class AccessSettingsGroup : public QGroupBox {
  Q_OBJECT
public:
  explicit AccessSettingsGroup(QWidget* parent);
  void setSettings(const BoardSettings& s);
  // Writes the group's values into `s`, leaving the others as they are.
  void applyTo(BoardSettings& s) const;

  QComboBox* CbxAccessMode;
  SwitchKeyButton* BtnMoveKey;
  SwitchKeyButton* BtnChooseKey;
  QLabel* LblKeyMessage;
  QCheckBox* ChkMoveRepeat;
  QDoubleSpinBox* EdtMoveRepeatDelay;
  QDoubleSpinBox* EdtMoveRepeatPace;
  QDoubleSpinBox* EdtDwell;

private:
  // Only what the mode chosen uses can be changed.
  void enableForMode();
};
