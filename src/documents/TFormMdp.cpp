// The password prompt asked before creation mode: one "#"-masked field, OK and "Annuler".
// Enter in the field reaches OK as the dialog's default button.
#include "documents/TFormMdp.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

TFormMdp::TFormMdp(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Veuillez rentrer le mot de passe"));
  setFixedSize(223, 72);

  Label1 = new QLabel(QStringLiteral("Mot de passe : "), this);
  const int labelWidth = std::min(Label1->fontMetrics().horizontalAdvance(Label1->text()), 110);
  Label1->setGeometry(8, 12, labelWidth, 17);

  MaskEditMdp = new QLineEdit(this);
  MaskEditMdp->setGeometry(12 + labelWidth, 10, 223 - 20 - labelWidth, 21);
  MaskEditMdp->setEchoMode(QLineEdit::Password);
  MaskEditMdp->setAccessibleName(QStringLiteral("Mot de passe"));
  // 35 is '#': the field shows one '#' per character typed, whatever the platform style.
  MaskEditMdp->setStyleSheet(QStringLiteral("lineedit-password-character: 35;"));

  BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
  BitBtnOK->setGeometry(32, 40, 75, 25);
  BitBtnOK->setDefault(true);

  BitBtnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  BitBtnAnnuler->setGeometry(116, 40, 75, 25);

  connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(1); });
  connect(BitBtnAnnuler, &QPushButton::clicked, this, [this] { done(2); });
  setTabOrder(MaskEditMdp, BitBtnOK);
  setTabOrder(BitBtnOK, BitBtnAnnuler);
}

QString TFormMdp::GetPassword() const {
  return MaskEditMdp->text();
}

int TFormMdp::exec() {
  // Centred on the screen rather than on the main window; moving first stops Qt re-placing it.
  if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    move(s->availableGeometry().center() - rect().center());
  // Closing the window rejects with 0; every way out other than OK is a cancel.
  return QDialog::exec() == 1 ? 1 : 2;
}

void TFormMdp::showEvent(QShowEvent* e) {
  MaskEditMdp->clear();
  MaskEditMdp->setFocus();
  QDialog::showEvent(e);
}

void TFormMdp::keyPressEvent(QKeyEvent* e) {
  // Escape has no binding here: only "Annuler" or closing the window cancels.
  if (e->matches(QKeySequence::Cancel)) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}
