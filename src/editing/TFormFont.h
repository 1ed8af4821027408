// The appearance dialog "Choix de l'apparence": size, text colour, background colour, font
// name and style of one appearance target, laid out by the target's kind (0/1 text fonts,
// 2 tabs, 3 display area). exec() returns 1 for OK, 2 for cancel.
#pragma once

#include "platform/BoardFont.h"

#include <QDialog>

class IColorChooser;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TFormFont : public QDialog {
  Q_OBJECT
public:
  TFormFont(IColorChooser* chooser, QWidget* parent = nullptr);

  void SetTargetKind(int kind);
  void SetBackColor(TColor color);
  // Fills the controls from the font; OK writes into this very object.
  void LoadFont(BoardFont* font);
  BoardFont* GetEditedFont() const { return FEditedFont; }
  TColor GetBackColor() const { return FBackColor; }
  int exec() override; // 1 OK, 2 cancel

  void ButtonChoixCoulPClick();
  void BtnCoulFd();
  void BitBtnOKClick();
  void BitBtnAnnulerClick();

  QLabel* LblTaille;
  QSpinBox* SpinEditTailleP;
  QLabel* LblCoul;
  QLineEdit* EditCouleurP;
  QPushButton* ButtonChoixCoulP;
  QLabel* LblFd;
  QLineEdit* EdtCoulFond;
  QPushButton* BtnCoulFond;
  QLabel* LblPolice;
  QComboBox* ComboBoxNomP;
  QGroupBox* GrpBxStyle;
  QCheckBox* CheckBoxGras;
  QCheckBox* CheckBoxSouligne;
  QCheckBox* CheckBoxItalique;
  QPushButton* BitBtnOK;
  QPushButton* BitBtnAnnuler;

protected:
  void hideEvent(QHideEvent* e) override; // FormHide: back to the design layout

private:
  void layOutFor(int kind);

  IColorChooser* FChooser;
  BoardFont FOwnFont;
  BoardFont* FEditedFont = &FOwnFont;
  int FTargetKind = 3;
  TColor FTextColor = 0;
  TColor FBackColor = 0;
};
