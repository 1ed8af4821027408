// The about box: name and version, then the shortcuts, the switch keys, the reserved tabs and
// the reserved texts, each under its heading, the credits of the built-in pictures, and an OK
// button.
#include "about/TAboutBox.h"

#include "platform/SwitchKeys.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

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

QString shortcutName(char letter) {
  return QStringLiteral("CTRL+") + QLatin1Char(letter);
}

QList<QPair<QString, QString>> shortcutLines() {
  QList<QPair<QString, QString>> lines;
  for (const TAboutBox::Shortcut& s : TAboutBox::shortcuts())
    lines << qMakePair(shortcutName(s.letter), s.explanation);
  return lines;
}

QList<QPair<QString, QString>> switchKeyLines() {
  QList<QPair<QString, QString>> lines;
  for (const TAboutBox::SwitchKeyGroup& g : TAboutBox::switchKeys())
    lines << qMakePair(g.name, g.explanation);
  return lines;
}

struct Section {
  QString title;
  QList<QPair<QString, QString>> lines;
};

QList<Section> sections() {
  return {
      {QStringLiteral("Touches du soignant"), shortcutLines()},
      {QStringLiteral("Contacteur : un appui choisit l'onglet en surbrillance, puis le texte en "
                      "surbrillance"),
       switchKeyLines()},
      {QStringLiteral("Onglets spéciaux"), TAboutBox::reservedTabs()},
      {QStringLiteral("Textes spéciaux"), TAboutBox::reservedTexts()},
  };
}

} // namespace

QString TAboutBox::programName() {
  return QStringLiteral("Orivox");
}

QString TAboutBox::programVersion() {
  return QStringLiteral("1.0");
}

QList<TAboutBox::Shortcut> TAboutBox::shortcuts() {
  return {
      {'C', Mode::Execution, QStringLiteral("passer en mode création (mot de passe demandé)")},
      {'E', Mode::Creation, QStringLiteral("revenir en mode exécution")},
      {'O', Mode::Creation, QStringLiteral("ouvrir un fichier, en mode création seulement")},
      {'R', Mode::Creation, QStringLiteral("enregistrer le fichier, en mode création seulement")},
      {'P', Mode::Creation, QStringLiteral("changer le mot de passe, en mode création seulement")},
      {'Z', Mode::Creation,
       QStringLiteral("annuler la dernière modification, en mode création seulement")},
      {'Y', Mode::Creation,
       QStringLiteral("rétablir la modification annulée, en mode création seulement")},
  };
}

QList<TAboutBox::SwitchKeyGroup> TAboutBox::switchKeys() {
  const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
  const Qt::KeyboardModifiers main = Qt::NoModifier;
  // With Num Lock off the keypad sends the navigation keys; its 5 then sends a key of no use.
  const QList<Qt::Key> navigation = {
      Qt::Key_Left, Qt::Key_Up,     Qt::Key_Right,    Qt::Key_Down,   Qt::Key_Home,
      Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_Delete};
  SwitchKeyGroup pad{QStringLiteral("Pavé numérique"),
                     QStringLiteral("toutes ses touches, Entrée comprise, Verr Num allumé ou "
                                    "éteint (sauf le 5 quand il est éteint)"),
                     {}};
  for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
    pad.keys << std::pair{Qt::Key(k), keypad};
  for (Qt::Key k : {Qt::Key_Asterisk, Qt::Key_Plus, Qt::Key_Comma, Qt::Key_Minus, Qt::Key_Period,
                    Qt::Key_Slash, Qt::Key_Enter})
    pad.keys << std::pair{k, keypad};
  for (Qt::Key k : navigation)
    pad.keys << std::pair{k, keypad};
  SwitchKeyGroup numLock{QStringLiteral("Verr Num"),
                         QStringLiteral("compte aussi comme un appui"),
                         {std::pair{Qt::Key_NumLock, main}}};
  SwitchKeyGroup board{QStringLiteral("Clavier principal"),
                       QStringLiteral("Entrée, flèches, Origine, Fin, Pg préc., Pg suiv., Inser "
                                      "et Suppr"),
                       {std::pair{Qt::Key_Return, main}}};
  for (Qt::Key k : navigation)
    board.keys << std::pair{k, main};
  return {pad, numLock, board};
}

QList<QPair<QString, QString>> TAboutBox::reservedTabs() {
  return {
      {QStringLiteral("Divers"), QStringLiteral("reçoit les phrases ajoutées par AJOUT")},
      {QStringLiteral("Alphabet"),
       QStringLiteral("ses lettres s'écrivent sans espace entre elles, pour former des mots")},
      {QStringLiteral("Autres caractères"),
       QStringLiteral("ses caractères s'écrivent sans espace, comme les lettres")},
  };
}

QList<QPair<QString, QString>> TAboutBox::reservedTexts() {
  return {
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

QStringList TAboutBox::credits() {
  return {
      QStringLiteral("Images : OpenMoji – le projet open source d'emojis et d'icônes, licence "
                     "CC BY-SA 4.0"),
      QStringLiteral("https://openmoji.org/"),
      QStringLiteral("Noms français des images : Unicode CLDR, licence Unicode"),
  };
}

QList<QPair<QString, QString>> TAboutBox::entries() {
  QList<QPair<QString, QString>> all;
  for (const Section& s : sections())
    all << s.lines;
  return all;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("A propos"));

  auto* outer = new QVBoxLayout(this);
  QLabel* name = heading(programName() + QStringLiteral(", version ") + programVersion(), this);
  QFont larger = name->font();
  larger.setPointSizeF(larger.pointSizeF() * 1.3);
  name->setFont(larger);
  name->setObjectName(QStringLiteral("ProgramName"));
  outer->addWidget(name, 0, Qt::AlignHCenter);
  outer->addWidget(plainLabel(QStringLiteral("Aide à la communication par défilement"), this), 0,
                   Qt::AlignHCenter);
  outer->addSpacing(8);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(16);
  int row = 0;
  for (const Section& s : sections()) {
    if (row > 0)
      grid->setRowMinimumHeight(row++, 10);
    grid->addWidget(heading(s.title, this), row++, 0, 1, 2);
    for (const auto& [key, explanation] : s.lines) {
      grid->addWidget(plainLabel(key, this), row, 0, Qt::AlignLeft | Qt::AlignTop);
      grid->addWidget(plainLabel(explanation, this), row, 1);
      ++row;
    }
  }
  grid->setColumnStretch(1, 1);
  outer->addLayout(grid);

  outer->addSpacing(10);
  outer->addWidget(heading(QStringLiteral("Crédits"), this));
  for (const QString& line : credits()) {
    QLabel* l = plainLabel(line, this);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse); // an address to copy
    outer->addWidget(l);
  }

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addStretch();
  outer->addSpacing(8);
  outer->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::keyPressEvent(QKeyEvent* e) {
  if (switchkeys::isSwitchKey(switchkeys::virtualKeyCode(*e))) {
    accept();
    return;
  }
  QDialog::keyPressEvent(e);
}
