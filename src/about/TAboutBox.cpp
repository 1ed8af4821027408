// The about box: the keyboard shortcuts, the switch and the seven reserved texts, each with
// one line of explanation, and an OK button.
#include "about/TAboutBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// How many entries of entries() are key combinations; the reserved texts follow them.
constexpr int kKeyEntries = 8;

QLabel* plainLabel(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setTextFormat(Qt::PlainText);
  return l;
}

QLabel* heading(const QString& text, QWidget* parent) {
  QLabel* l = plainLabel(text, parent);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}

} // namespace

QList<QPair<QString, QString>> TAboutBox::entries() {
  return {
      {QStringLiteral("CTRL+C"), QStringLiteral("passer en mode création (mot de passe demandé)")},
      {QStringLiteral("CTRL+E"), QStringLiteral("revenir en mode exécution")},
      {QStringLiteral("CTRL+O"), QStringLiteral("ouvrir un fichier")},
      {QStringLiteral("CTRL+R"), QStringLiteral("enregistrer le fichier")},
      {QStringLiteral("CTRL+P"), QStringLiteral("changer le mot de passe")},
      {QStringLiteral("CTRL+Z"), QStringLiteral("annuler la dernière modification")},
      {QStringLiteral("CTRL+Y"), QStringLiteral("rétablir la modification annulée")},
      {QStringLiteral("Pavé numérique"),
       QStringLiteral("n'importe quelle touche choisit l'onglet en surbrillance, "
                      "puis le texte en surbrillance")},
      {QStringLiteral("RETOUR"), QStringLiteral("revenir au défilement des onglets")},
      {QStringLiteral("CLEAR"), QStringLiteral("effacer toute la zone d'affichage")},
      {QStringLiteral("AJOUT"),
       QStringLiteral("valider la phrase et l'ajouter à l'onglet « Divers »")},
      {QStringLiteral("VALIDATION"), QStringLiteral("valider la phrase en cours")},
      {QStringLiteral("SUPPRESSION"), QStringLiteral("effacer la phrase en cours")},
      {QStringLiteral("SONNERIE"), QStringLiteral("faire sonner pour appeler quelqu'un")},
      {QStringLiteral("ANNULATION"), QStringLiteral("retirer le dernier texte ajouté")},
  };
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("A propos"));

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(16);
  const auto all = entries();
  int row = 0;
  for (int i = 0; i < all.size(); ++i) {
    if (i == 0)
      grid->addWidget(heading(QStringLiteral("Touches"), this), row++, 0, 1, 2);
    if (i == kKeyEntries) {
      grid->setRowMinimumHeight(row++, 10);
      grid->addWidget(heading(QStringLiteral("Textes spéciaux"), this), row++, 0, 1, 2);
    }
    grid->addWidget(plainLabel(all[i].first, this), row, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(plainLabel(all[i].second, this), row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addStretch();

  auto* outer = new QVBoxLayout(this);
  outer->addLayout(grid);
  outer->addSpacing(8);
  outer->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}
