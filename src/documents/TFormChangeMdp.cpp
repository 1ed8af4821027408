// The change-password dialog: a new password typed twice, both "#"-masked. OK, or Enter in
// either field, accepts only when the two agree; a mismatch is reported and the dialog stays.
#include "documents/TFormChangeMdp.h"

#include "documents/StorableText.h"
#include "platform/Services.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

TFormChangeMdp::TFormChangeMdp(IMessages* messages, QWidget* parent)
    : QDialog(parent), FMessages(messages) {
  setWindowTitle(QStringLiteral("Changement du mot de passe"));
  setFixedSize(268, 105);

  LabelMdp1 = new QLabel(QStringLiteral("Nouveau mot de passe : "), this);
  LabelMdp2 = new QLabel(QStringLiteral("Confirmation :"), this);
  // The fields start after the longer caption, which the platform font decides.
  const int labelWidth =
      std::min(std::max(LabelMdp1->fontMetrics().horizontalAdvance(LabelMdp1->text()),
                        LabelMdp2->fontMetrics().horizontalAdvance(LabelMdp2->text())),
               160);
  LabelMdp1->setGeometry(8, 12, labelWidth, 17);
  LabelMdp2->setGeometry(8, 42, labelWidth, 17);

  // 35 is '#': one '#' per character typed, whatever the platform style.
  const QString hashEcho = QStringLiteral("lineedit-password-character: 35;");
  const int fieldLeft = 12 + labelWidth;
  MaskEditMdp1 = new QLineEdit(this);
  MaskEditMdp1->setGeometry(fieldLeft, 10, 268 - 8 - fieldLeft, 21);
  MaskEditMdp1->setEchoMode(QLineEdit::Password);
  MaskEditMdp1->setAccessibleName(QStringLiteral("Nouveau mot de passe"));
  MaskEditMdp1->setStyleSheet(hashEcho);
  MaskEditMdp2 = new QLineEdit(this);
  MaskEditMdp2->setGeometry(fieldLeft, 40, 268 - 8 - fieldLeft, 21);
  MaskEditMdp2->setEchoMode(QLineEdit::Password);
  MaskEditMdp2->setAccessibleName(QStringLiteral("Confirmation du nouveau mot de passe"));
  MaskEditMdp2->setStyleSheet(hashEcho);
  // The configuration file keeps the password in cp1252: a character it lacks would come back
  // as "?" at the next start and lock the carer out, so it cannot be typed here.
  MaskEditMdp1->setValidator(new StorableTextValidator(MaskEditMdp1));
  MaskEditMdp2->setValidator(new StorableTextValidator(MaskEditMdp2));

  BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
  BitBtnOK->setGeometry(48, 72, 75, 25);
  BitBtnOK->setDefault(true);
  BitBtnAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
  BitBtnAnnuler->setGeometry(144, 72, 75, 25);

  connect(BitBtnOK, &QPushButton::clicked, this, &TFormChangeMdp::BitBtnOKClick);
  connect(BitBtnAnnuler, &QPushButton::clicked, this, [this] { done(2); });
  setTabOrder(MaskEditMdp1, MaskEditMdp2);
  setTabOrder(MaskEditMdp2, BitBtnOK);
  setTabOrder(BitBtnOK, BitBtnAnnuler);
}

QString TFormChangeMdp::GetNewPassword() const {
  return MaskEditMdp1->text();
}

void TFormChangeMdp::BitBtnOKClick() {
  if (MaskEditMdp2->text() != MaskEditMdp1->text()) {
    // Both fields stay as typed so the carer can correct either one.
    if (FMessages)
      FMessages->information(QStringLiteral("Confirmation incorrecte"));
    return;
  }
  done(1);
}

int TFormChangeMdp::exec() {
  // Centred on the screen rather than on the main window; moving first stops Qt re-placing it.
  if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    move(s->availableGeometry().center() - rect().center());
  // Closing the window rejects with 0; every way out other than OK is a cancel.
  return QDialog::exec() == 1 ? 1 : 2;
}

void TFormChangeMdp::showEvent(QShowEvent* e) {
  MaskEditMdp1->clear();
  MaskEditMdp2->clear();
  MaskEditMdp1->setFocus();
  QDialog::showEvent(e);
}

void TFormChangeMdp::keyPressEvent(QKeyEvent* e) {
  // Escape has no binding here: only "Annuler" or closing the window cancels.
  if (e->matches(QKeySequence::Cancel)) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}
