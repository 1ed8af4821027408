// The change-password dialog "Changement du mot de passe": new password and confirmation,
// both shown as "#"; OK refuses a mismatch with "Confirmation incorrecte".
// exec() returns 1 for OK, 2 for cancel.
#pragma once

#include <QDialog>

class IMessages;
class QLabel;
class QLineEdit;
class QPushButton;

class TFormChangeMdp : public QDialog {
  Q_OBJECT
public:
  TFormChangeMdp(IMessages* messages, QWidget* parent = nullptr);
  QString GetNewPassword() const;
  int exec() override; // 1 OK, 2 cancel
  void BitBtnOKClick();

  QLabel* LabelMdp1;
  QLabel* LabelMdp2;
  QLineEdit* MaskEditMdp1;
  QLineEdit* MaskEditMdp2;
  QPushButton* BitBtnOK;
  QPushButton* BitBtnAnnuler;

protected:
  void showEvent(QShowEvent* e) override; // FormShow: both fields start blank
  void keyPressEvent(QKeyEvent* e) override; // Escape does not cancel

private:
  IMessages* FMessages;
};
