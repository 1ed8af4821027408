// The password prompt "Veuillez rentrer le mot de passe": one field showing "#" per character,
// OK (default, and Enter in the field) and "Annuler". exec() returns 1 for OK, 2 for cancel.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QLabel;

class TFormMdp : public QDialog {
  Q_OBJECT
public:
  explicit TFormMdp(QWidget* parent = nullptr);
  QString GetPassword() const;
  int exec() override; // 1 OK, 2 cancel

  QLabel* Label1;
  QLineEdit* MaskEditMdp;
  QPushButton* BitBtnOK;
  QPushButton* BitBtnAnnuler;

protected:
  void showEvent(QShowEvent* e) override; // FormShow: the field starts blank
  void keyPressEvent(QKeyEvent* e) override; // Escape does not cancel
};
