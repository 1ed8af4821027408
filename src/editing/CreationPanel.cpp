// The creation panel's controls, their handlers and the modes of the panel. Each board edit is
// pushed on the edit history, which runs it: the board changes only there.
#include "editing/CreationPanel.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardDocument.h"
#include "documents/StorableText.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanelLayout.h"
#include "editing/ReservedNameGuard.h"
#include "editing/TFormFont.h"
#include "editing/TFormReglages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>

namespace {
template <typename W> W* named(W* w, const char* name) {
  w->setObjectName(QLatin1String(name));
  return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                    int h = 25) {
  auto* b = named(new QPushButton(caption, parent), name);
  b->setGeometry(x, y, w, h);
  b->setFocusPolicy(Qt::StrongFocus);
  return b;
}

QLabel* label(QWidget* parent, const QString& caption, int x, int y) {
  auto* l = new QLabel(caption, parent);
  l->move(x, y);
  l->adjustSize();
  return l;
}

// Titles in bold and in colour, the controls inside in plain black: set through fonts and
// palettes, which cost nothing at start-up, rather than a style sheet over every child.
void titleLook(QGroupBox* box, const QColor& colour) {
  QPalette pal = box->palette();
  pal.setColor(QPalette::WindowText, colour);
  pal.setColor(QPalette::Text, colour); // the title colour the style takes
  box->setPalette(pal);
  QFont f = box->font();
  f.setBold(true);
  box->setFont(f);
}

void plainLook(QWidget* w) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, Qt::black);
  pal.setColor(QPalette::ButtonText, Qt::black);
  pal.setColor(QPalette::Text, Qt::black);
  w->setPalette(pal);
  QFont f = w->font();
  f.setBold(false);
  w->setFont(f);
}

QSpinBox* spin(QWidget* parent, const char* name, int x, int y) {
  auto* s = named(new QSpinBox(parent), name);
  s->setRange(1, 100);
  s->setValue(1);
  s->setGeometry(x, y, 60, 22);
  return s;
}
} // namespace

namespace {
const QString kReserved = QStringLiteral("Désolé ce texte est réservé");
enum Kind { SelectedKind = 0, UnselectedKind = 1, TabsKind = 2, PhraseKind = 3 };
} // namespace

CreationPanel::CreationPanel(const Services& services, BoardView& view, BoardDocument& document,
                             QWidget* parent, WordPredictor* predictor)
    : QWidget(parent), FServices(services), FView(view), FDocument(document),
      FPredictor(predictor) {
  setObjectName(QStringLiteral("PnlModeCreation"));
  setFixedHeight(272);         // one row more than the form for the added buttons
  setAutoFillBackground(true); // it covers the hidden focus holder
  buildControls();
  FNameGuard = std::make_unique<ReservedNameGuard>(*this);
  FHistory = new BoardHistory(*this);
  connectControls();
}

CreationPanel::~CreationPanel() {
  qApp->removeEventFilter(this);
  // The name field outlives this destructor's body; its last events must not reach the
  // history, which would look into a panel no longer whole.
  EdtNomTexte->removeEventFilter(FHistory);
}

void CreationPanel::buildControls() {
  QWidget* PnlModeCreation = this;
  GrpBxOnglet =
      named(new QGroupBox(QStringLiteral("Gestion des onglets"), PnlModeCreation), "GrpBxOnglet");
  GrpBxOnglet->setGeometry(0, 6, 260, 228);
  label(GrpBxOnglet, QStringLiteral("Nom :"), 10, 28);
  EdtNomOnglet = named(new QLineEdit(GrpBxOnglet), "EdtNomOnglet");
  EdtNomOnglet->setGeometry(50, 24, 200, 22);
  BtnAjoutOngl = button(GrpBxOnglet, "BtnAjoutOngl", QStringLiteral("Ajouter"), 10, 56, 115);
  BtnSupprOngl = button(GrpBxOnglet, "BtnSupprOngl", QStringLiteral("Supprimer"), 135, 56, 115);
  label(GrpBxOnglet, QStringLiteral("Temps chenillard :"), 10, 98);
  EdtT1 = spin(GrpBxOnglet, "EdtT1", 140, 94);
  GroupBoxDeplOngl =
      named(new QGroupBox(QStringLiteral("Deplacement"), GrpBxOnglet), "GroupBoxDeplOngl");
  GroupBoxDeplOngl->setToolTip(QStringLiteral("Changer l'ordre de l'onglet"));
  GroupBoxDeplOngl->setGeometry(10, 130, 240, 62);
  BtnAvtOngl = button(GroupBoxDeplOngl, "BtnAvtOngl", QStringLiteral("<<"), 20, 26, 90);
  BtnSuivOngl = button(GroupBoxDeplOngl, "BtnSuivOngl", QStringLiteral(">>"), 130, 26, 90);

  GrpBxTxt =
      named(new QGroupBox(QStringLiteral("Gestion des textes"), PnlModeCreation), "GrpBxTxt");
  GrpBxTxt->setGeometry(0, 6, 390, 228);
  label(GrpBxTxt, QStringLiteral("Nom :"), 10, 28);
  EdtNomTexte = named(new QLineEdit(GrpBxTxt), "EdtNomTexte");
  EdtNomTexte->setGeometry(50, 24, 330, 22);
  BtnAjoutTexte = button(GrpBxTxt, "BtnAjoutTexte", QStringLiteral("Ajouter"), 10, 56, 180);
  BtnSupprTexte = button(GrpBxTxt, "BtnSupprTexte", QStringLiteral("Supprimer"), 200, 56, 180);
  label(GrpBxTxt, QStringLiteral("Temps chenillard : "), 10, 98);
  EdtT2 = spin(GrpBxTxt, "EdtT2", 140, 94);
  GroupBoxDeplTexte = named(new QGroupBox(QStringLiteral("Deplacement intra-onglet"), GrpBxTxt),
                            "GroupBoxDeplTexte");
  GroupBoxDeplTexte->setToolTip(QStringLiteral("Changer l'ordre du texte dans l'onglet"));
  GroupBoxDeplTexte->setGeometry(10, 130, 180, 62);
  BtnAvtTexte = button(GroupBoxDeplTexte, "BtnAvtTexte", QStringLiteral("<<"), 10, 26, 75);
  BtnSuivRTexte = button(GroupBoxDeplTexte, "BtnSuivRTexte", QStringLiteral(">>"), 95, 26, 75);
  GroupBox2 =
      named(new QGroupBox(QStringLiteral("Deplacement extra-onglet"), GrpBxTxt), "GroupBox2");
  GroupBox2->setToolTip(QStringLiteral("Déplacer le texte dans un autre onglet"));
  GroupBox2->setGeometry(200, 130, 180, 62);
  BtnOngletAvt = button(GroupBox2, "BtnOngletAvt", QStringLiteral("<<"), 10, 26, 75);
  BtnOngletSuiv = button(GroupBox2, "BtnOngletSuiv", QStringLiteral(">>"), 95, 26, 75);

  GrpBxGene =
      named(new QGroupBox(QStringLiteral("Gestion générale"), PnlModeCreation), "GrpBxGene");
  GrpBxGene->setGeometry(0, 6, 400, 120);
  BtnNouveau = button(GrpBxGene, "BtnNouveau", QStringLiteral("Nouveau fichier"), 8, 22, 120);
  BtnOuvrir = button(GrpBxGene, "BtnOuvrir", QStringLiteral("Ouvrir un fichier"), 134, 22, 120);
  BtnEnr = button(GrpBxGene, "BtnEnr", QStringLiteral("Enregistrer le fichier"), 260, 22, 132);
  BtnEnrSous = button(GrpBxGene, "BtnEnrSous", QStringLiteral("Enregistrer sous"), 60, 54, 130);
  BtnChangMdp =
      button(GrpBxGene, "BtnChangMdp", QStringLiteral("Changer Mot de Passe"), 198, 54, 150);
  // The added buttons take a row of their own, in the columns of the first row.
  BtnAnnulerEdition = button(GrpBxGene, "BtnAnnulerEdition", QStringLiteral("Annuler"), 8, 86, 120);
  BtnRetablirEdition =
      button(GrpBxGene, "BtnRetablirEdition", QStringLiteral("Rétablir"), 134, 86, 120);
  BtnReglages = button(GrpBxGene, "BtnReglages", QStringLiteral("Réglages..."), 260, 86, 132);

  GrpBxAppa = named(new QGroupBox(QStringLiteral("Modification de l'apparence"), PnlModeCreation),
                    "GrpBxAppa");
  GrpBxAppa->setGeometry(0, 130, 400, 136);
  BtnVisuSelec = button(GrpBxAppa, "BtnVisuSelec", QStringLiteral("Texte selectionné"), 8, 22, 188);
  BtnVisuNonSelec =
      button(GrpBxAppa, "BtnVisuNonSelec", QStringLiteral("Textes non selectionnés"), 204, 22, 188);
  BtnVisuOnglet = button(GrpBxAppa, "BtnVisuOnglet", QStringLiteral("Onglets"), 8, 56, 188);
  BtnVisuAff = button(GrpBxAppa, "BtnVisuAff", QStringLiteral("Phrases validées"), 204, 56, 188);
  BtnVisuAff2 = button(GrpBxAppa, "BtnVisuAff2", QStringLiteral("Phrase en cours"), 8, 90, 188);
  BitBtnTtAff =
      button(GrpBxAppa, "BitBtnTtAff", QStringLiteral("Désélectionner les textes"), 204, 90, 188);
}

// Each command is pushed on the edit history, which runs it: the board changes only there.
void CreationPanel::BtnAjoutOnglClick() {
  if (boardedit::refusedPastBounds(*this, 1, {}, {}))
    return;
  FHistory->push(new AddTabCommand(*this, FView.pageCount(),
                                   QStringLiteral("Onglet%1").arg(FView.tabCounter()),
                                   FView.tabCounter() + 1));
}

void CreationPanel::BtnSupprOnglClick() {
  TOnglet* page = FView.activePage();
  if (!page || BoardView::isReservedTabCaption(page->caption()))
    return;
  FHistory->push(
      new DeleteTabCommand(*this, FView.currentIndex(), page->caption(), page->wholeTexts()));
}

void CreationPanel::BtnAvtOnglClick() {
  const int i = FView.currentIndex();
  if (i <= 0)
    return;
  FHistory->push(new MoveTabCommand(*this, i, i - 1));
}

void CreationPanel::BtnSuivOnglClick() {
  const int i = FView.currentIndex();
  if (i < 0 || i >= FView.pageCount() - 1)
    return;
  FHistory->push(new MoveTabCommand(*this, i, i + 1));
}

void CreationPanel::EdtNomOngletChange() {
  TOnglet* page = FView.activePage();
  if (!page || page->caption() == EdtNomOnglet->text())
    return;
  // A carer who renamed a tab expects to be asked to save it; typing a name is one step.
  FHistory->push(
      new RenameTabCommand(*this, FView.currentIndex(), page->caption(), EdtNomOnglet->text()));
}

bool CreationPanel::EdtNomOngletExit() {
  // A field disabled while it had the focus shows a reserved tab's own name: nobody typed it.
  if (!EdtNomOnglet->isEnabled())
    return true;
  // Case folds (accented capitals too) while accents stay significant.
  if (!ReservedNameGuard::isReservedTabName(EdtNomOnglet->text()))
    return true;
  // The caller puts the focus back once this leaving is over: taking it back from inside the
  // leaving would make the field lose it a second time and say so twice.
  FServices.messages->information(kReserved);
  return false;
}

void CreationPanel::EdtT1Change() {
  // A whole-second pace chosen now replaces the finer one; an undo brings that back.
  FHistory->push(ScanSetupCommand::paceTyped(*this, 1, FHistory->shownPace(1)));
}

int CreationPanel::chosenTextIndex() const {
  TOnglet* page = FView.activePage();
  if (!page || !FView.currentText())
    return -1;
  return page->textIndexOf(FView.currentText());
}

void CreationPanel::BtnAjoutTexteClick() {
  TOnglet* page = FView.activePage();
  if (!page) {
    FHistory->markChangedOutsideHistory(); // counted as a change, though there is nothing to add
    return;
  }
  const QString name = QStringLiteral("Texte") + QString::number(page->FTextCount);
  if (boardedit::refusedPastBounds(*this, 0, {name}, {name}))
    return;
  FHistory->push(
      new AddTextsCommand(*this, FView.currentIndex(), int(page->wholeTexts().size()), {name}));
  // Typing names the new text at once: its default caption is selected in the name field.
  EdtNomTexte->setEnabled(true);
  EdtNomTexte->setFocus();
  EdtNomTexte->selectAll();
}

void CreationPanel::EdtNomTexteReturn() {
  if (FView.execMode() || !EdtNomTexteExit())
    return; // a reserved name stays in the field, refused as on leaving it
  BtnAjoutTexteClick();
}

bool CreationPanel::pasteTextList(const QString& list) {
  TOnglet* page = FView.activePage();
  if (!page || !EdtNomTexte->isEnabled())
    return false;
  QStringList lines;
  for (QString line : list.split(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r')))
      line.chop(1);
    if (!line.isEmpty())
      lines << line;
  }
  if (lines.isEmpty())
    return false;
  // The list reads as its lines typed one by one with Enter between them: the first goes into
  // the field as a paste would, each next one is a new text.
  const int chosen = chosenTextIndex();
  QString first;
  if (chosen >= 0) {
    first = EdtNomTexte->text();
    if (EdtNomTexte->hasSelectedText())
      first.replace(EdtNomTexte->selectionStart(), EdtNomTexte->selectedText().size(),
                    lines.front());
    else
      first.insert(EdtNomTexte->cursorPosition(), lines.front());
    lines.pop_front();
  }
  const QStringList names = chosen >= 0 ? QStringList{first} + lines : lines;
  StorableTextValidator validator;
  for (QString name : names) {
    int pos = 0;
    if (validator.validate(name, pos) != QValidator::Acceptable)
      return false; // refused whole, as the field refuses such a paste
  }
  for (const QString& name : names)
    if (ReservedNameGuard::isReservedTextName(name)) {
      FServices.messages->information(kReserved);
      return false;
    }
  if (boardedit::refusedPastBounds(*this, 0, lines, names))
    return false;
  FHistory->stack().beginMacro(QStringLiteral("Coller une liste"));
  if (chosen >= 0)
    EdtNomTexte->setText(first); // renames the chosen text
  if (!lines.isEmpty())
    FHistory->push(
        new AddTextsCommand(*this, FView.currentIndex(), int(page->wholeTexts().size()), lines));
  FHistory->stack().endMacro();
  EdtNomTexte->setFocus();
  EdtNomTexte->selectAll();
  return true;
}

void CreationPanel::BtnSupprTexteClick() {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  FHistory->push(new DeleteTextCommand(*this, FView.currentIndex(), i,
                                       FView.activePage()->wholeTexts().at(i)));
}

void CreationPanel::EdtNomTexteChange() {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  const QString before = FView.activePage()->wholeTexts().at(i);
  if (before == EdtNomTexte->text())
    return;
  // A renamed text is a change the carer expects to be asked to save; typing is one step.
  FHistory->push(
      new RenameTextCommand(*this, FView.currentIndex(), i, before, EdtNomTexte->text()));
}

bool CreationPanel::EdtNomTexteExit() {
  // A field disabled while it had the focus is not being left by the carer.
  if (!EdtNomTexte->isEnabled())
    return true;
  if (!ReservedNameGuard::isReservedTextName(EdtNomTexte->text()))
    return true;
  // The caller puts the focus back once this leaving is over (see EdtNomOngletExit).
  FServices.messages->information(kReserved);
  return false;
}

void CreationPanel::BtnAvtTexteClick() {
  moveChosenTextWithinTab(true);
}

void CreationPanel::BtnSuivRTexteClick() {
  moveChosenTextWithinTab(false);
}

void CreationPanel::moveChosenTextWithinTab(bool back) {
  const int i = chosenTextIndex();
  if (i < 0)
    return;
  const int count = int(FView.activePage()->wholeTexts().size());
  if (back ? i == 0 : i == count - 1) {
    // Nothing moves at the end of the row, yet the board counts as changed.
    FView.currentText()->setFocus();
    FHistory->markChangedOutsideHistory();
    return;
  }
  FHistory->push(new MoveTextCommand(*this, FView.currentIndex(), i, back));
}

void CreationPanel::BtnOngletAvtClick() {
  moveChosenTextToTab(-1);
}

void CreationPanel::BtnOngletSuivClick() {
  moveChosenTextToTab(+1);
}

void CreationPanel::moveChosenTextToTab(int direction) {
  const int index = FView.currentIndex();
  const int target = index + direction;
  const int i = chosenTextIndex();
  if (i < 0 || target < 0 || target >= FView.pageCount())
    return;
  auto* to = FView.pageAt(target);
  FHistory->push(new MoveTextToTabCommand(*this, index, i, target, int(to->wholeTexts().size()),
                                          FView.activePage()->wholeTexts().at(i)));
}

void CreationPanel::EdtT2Change() {
  // A whole-second pace chosen now replaces the finer one; an undo brings that back.
  FHistory->push(ScanSetupCommand::paceTyped(*this, 2, FHistory->shownPace(2)));
}

bool CreationPanel::runFontDialog(int kind, BoardFont* font, std::optional<TColor> back) {
  if (!FormFont)
    FormFont = new TFormFont(FServices.colorChooser, window());
  FormFont->SetTargetKind(kind);
  if (back)
    FormFont->SetBackColor(*back);
  FormFont->LoadFont(font);
  return FormFont->exec() == 1;
}

namespace {
using Appearance = BoardLook;

// One target edited in the dialog, on a copy: the change reaches the board through the edit
// history. Accepted without any change, it still counts as an edit of the board.
bool editAppearance(CreationPanel& p, int kind, BoardFont Appearance::*font,
                    std::optional<TColor> back, TColor Appearance::*colour = nullptr) {
  const Appearance before = p.view().look();
  Appearance after = before;
  if (!p.runFontDialog(kind, &(after.*font), back))
    return false;
  if (colour)
    after.*colour = p.FormFont->GetBackColor();
  if (after == before)
    p.history().markChangedOutsideHistory();
  else
    p.history().push(new AppearanceCommand(p, before, after));
  return true;
}
} // namespace

void CreationPanel::BtnVisuSelecClick() {
  editAppearance(*this, SelectedKind, &Appearance::selected, std::nullopt);
}

void CreationPanel::BtnVisuNonSelecClick() {
  editAppearance(*this, UnselectedKind, &Appearance::unselected, std::nullopt);
}

void CreationPanel::BtnVisuOngletClick() {
  TOnglet* active = FView.activePage();
  editAppearance(*this, TabsKind, &Appearance::tabs,
                 active ? active->GetBackgroundColor() : FView.tabColor(), &Appearance::tabColor);
}

void CreationPanel::BtnVisuAffClick() {
  // The logo panel takes the display colour once it is first set, changed or not.
  if (editAppearance(*this, PhraseKind, &Appearance::validated, FView.memoColor(),
                     &Appearance::memoColor))
    FView.setMemoColor(FView.memoColor());
}

void CreationPanel::BtnVisuAff2Click() {
  if (editAppearance(*this, PhraseKind, &Appearance::currentPhrase, FView.memoColor(),
                     &Appearance::memoColor))
    FView.setMemoColor(FView.memoColor());
}

void CreationPanel::BitBtnTtAffClick() {
  const bool all = !FView.allSelected();
  FView.setAllSelected(all);
  BitBtnTtAff->setText(all ? QStringLiteral("Désélectionner les textes")
                           : QStringLiteral("Sélectionner les textes"));
  for (TOnglet* page : FView.pages()) {
    page->JoinPieces();
    page->ApplyFont(all ? FView.selectedFont() : FView.unselectedFont());
    page->SplitAllTexts();
    page->ArrangeButtons();
  }
}

void CreationPanel::BtnReglagesClick() {
  if (!FormReglages) {
    FormReglages = new TFormReglages(FServices.speech, this, FPredictor, FServices.messages);
    FormReglages->onTryVoice = [this](const BoardSettings& s) { emit voiceTried(s); };
  }
  // The dialog says at once whether speech is there; looking for it never waits.
  if (FServices.speech)
    FServices.speech->probe();
  FormReglages->setSettings(FView.settings());
  const bool accepted = FormReglages->exec() == QDialog::Accepted;
  window()->activateWindow();
  if (!accepted)
    return;
  // One step the carer can undo; the panel's paces follow the finer ones (see settingsChosen).
  if (QUndoCommand* change = ScanSetupCommand::settingsChosen(*this, FormReglages->settings()))
    FHistory->push(change);
}

void CreationPanel::connectControls() {
  connect(BtnAjoutOngl, &QPushButton::clicked, this, [this] { BtnAjoutOnglClick(); });
  connect(BtnSupprOngl, &QPushButton::clicked, this, [this] { BtnSupprOnglClick(); });
  connect(BtnAvtOngl, &QPushButton::clicked, this, [this] { BtnAvtOnglClick(); });
  connect(BtnSuivOngl, &QPushButton::clicked, this, [this] { BtnSuivOnglClick(); });
  connect(EdtNomOnglet, &QLineEdit::textChanged, this, [this] {
    if (FTabNameChangeAttached)
      EdtNomOngletChange();
  });
  connect(EdtT1, &QSpinBox::valueChanged, this, [this] { EdtT1Change(); });
  connect(BtnAjoutTexte, &QPushButton::clicked, this, [this] { BtnAjoutTexteClick(); });
  connect(BtnSupprTexte, &QPushButton::clicked, this, [this] { BtnSupprTexteClick(); });
  connect(EdtNomTexte, &QLineEdit::textChanged, this, [this] {
    if (FTextNameChangeAttached)
      EdtNomTexteChange();
  });
  connect(EdtT2, &QSpinBox::valueChanged, this, [this] { EdtT2Change(); });
  connect(BtnAvtTexte, &QPushButton::clicked, this, [this] { BtnAvtTexteClick(); });
  connect(BtnSuivRTexte, &QPushButton::clicked, this, [this] { BtnSuivRTexteClick(); });
  connect(BtnOngletAvt, &QPushButton::clicked, this, [this] { BtnOngletAvtClick(); });
  connect(BtnOngletSuiv, &QPushButton::clicked, this, [this] { BtnOngletSuivClick(); });
  connect(BtnVisuSelec, &QPushButton::clicked, this, [this] { BtnVisuSelecClick(); });
  connect(BtnVisuNonSelec, &QPushButton::clicked, this, [this] { BtnVisuNonSelecClick(); });
  connect(BtnVisuOnglet, &QPushButton::clicked, this, [this] { BtnVisuOngletClick(); });
  connect(BtnVisuAff, &QPushButton::clicked, this, [this] { BtnVisuAffClick(); });
  connect(BtnVisuAff2, &QPushButton::clicked, this, [this] { BtnVisuAff2Click(); });
  connect(BitBtnTtAff, &QPushButton::clicked, this, [this] { BitBtnTtAffClick(); });
  connect(BtnNouveau, &QPushButton::clicked, this, [this] { BtnNouveauClick(); });
  connect(BtnOuvrir, &QPushButton::clicked, this, [this] { BtnOuvrirClick(); });
  connect(BtnEnr, &QPushButton::clicked, this, [this] { BtnEnrClick(); });
  connect(BtnEnrSous, &QPushButton::clicked, this, [this] { BtnEnrSousClick(); });
  connect(BtnChangMdp, &QPushButton::clicked, this, [this] { BtnChangMdpClick(); });
  connect(BtnReglages, &QPushButton::clicked, this, [this] { BtnReglagesClick(); });
  // A name the board file cannot store would be lost at the next save: it cannot be typed.
  EdtNomOnglet->setValidator(new StorableTextValidator(EdtNomOnglet));
  EdtNomTexte->setValidator(new StorableTextValidator(EdtNomTexte));

  for (QGroupBox* box : {GrpBxOnglet, GrpBxTxt, GrpBxGene, GrpBxAppa})
    titleLook(box, QColor(0, 0, 0x80));
  for (QGroupBox* box : {GroupBoxDeplOngl, GroupBoxDeplTexte, GroupBox2})
    titleLook(box, QColor(0, 0x80, 0));
  for (QWidget* w : findChildren<QWidget*>())
    if (qobject_cast<QLabel*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QSpinBox*>(w))
      plainLook(w);
  FPanelLayout = std::make_unique<CreationPanelLayout>(GrpBxOnglet, GrpBxTxt, GrpBxAppa, GrpBxGene);

  // What the pages and the edits ask the name fields to show.
  connect(&FView, &BoardView::textNameShown, this,
          [this](const QString& text) { EdtNomTexte->setText(text); });
  connect(&FView, &BoardView::textNameAttached, this,
          [this](bool attached) { FTextNameChangeAttached = attached; });
  connect(&FView, &BoardView::textNameEnabled, this, [this] { EdtNomTexte->setEnabled(true); });
  connect(&FView, &BoardView::tabNameShown, this, [this](const QString& c) { showTabName(c); });
  connect(&FView, &BoardView::tabNameEnabled, this,
          [this](bool enabled) { EdtNomOnglet->setEnabled(enabled); });
  connect(&FDocument, &BoardDocument::boardShown, this, [this] { showBoard(); });
  // Whoever saves (a button, a shortcut, the closing), the board is then its file.
  connect(&FDocument, &BoardDocument::boardSaved, this, [this] { FHistory->markSaved(); });
  hide();
  // This one filter sees the name fields' leaving (a reserved name is refused and the focus
  // goes back) and, for the reserved-name lock, every event of the window: a filter on the
  // fields as well would handle each of their events twice.
  qApp->installEventFilter(this);
}

void CreationPanel::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  FPanelLayout->place(width());
}

bool CreationPanel::eventFilter(QObject* watched, QEvent* event) {
  // While a name field holds a reserved name no other action may proceed.
  if (FNameGuard->holdsUp(watched, event))
    return true;
  if (event->type() == QEvent::FocusOut) {
    // Only a real move of the focus to another control is a leaving of the field.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
      return false;
    if (watched == EdtNomOnglet && !FView.execMode() && !EdtNomOngletExit())
      QTimer::singleShot(0, EdtNomOnglet, [e = EdtNomOnglet] { e->setFocus(); });
    if (watched == EdtNomTexte && !FView.execMode() && !EdtNomTexteExit())
      QTimer::singleShot(0, EdtNomTexte, [e = EdtNomTexte] { e->setFocus(); });
  }
  return QWidget::eventFilter(watched, event);
}

void CreationPanel::showTabName(const QString& text) {
  if (EdtNomOnglet->text() == text)
    return;
  const bool was = FTabNameChangeAttached;
  FTabNameChangeAttached = false;
  EdtNomOnglet->setText(text);
  FTabNameChangeAttached = was;
}

void CreationPanel::showTextName(const QString& text) {
  if (EdtNomTexte->text() == text)
    return;
  const bool was = FTextNameChangeAttached;
  FTextNameChangeAttached = false;
  EdtNomTexte->setText(text);
  FTextNameChangeAttached = was;
}

void CreationPanel::settleChosenText() {
  if (!FView.currentText() && !FView.execMode()) {
    showTextName(QString());
    EdtNomTexte->setEnabled(false);
  }
  if (TOnglet* page = FView.activePage())
    page->repaintTexts();
}

void CreationPanel::showPaces() {
  const QSignalBlocker b1(EdtT1), b2(EdtT2); // showing the paces is no edit
  EdtT1->setValue(FView.tabSeconds());
  EdtT2->setValue(FView.textSeconds());
  FHistory->followPaces();
}

void CreationPanel::showBoard() {
  showPaces();
  if (!FView.execMode())
    showNewBoardInNameFields();
}

void CreationPanel::showNewBoardInNameFields() {
  FTextNameChangeAttached = false;
  FTabNameChangeAttached = false;
  TOnglet* active = FView.activePage();
  EdtNomOnglet->setText(active ? active->caption() : QString());
  EdtNomOnglet->setEnabled(active && !BoardView::isReservedTabCaption(active->caption()));
  EdtNomTexte->clear();
  EdtNomTexte->setEnabled(false);
  FTextNameChangeAttached = true;
  FTabNameChangeAttached = true;
}

void CreationPanel::enter() {
  FTextNameChangeAttached = false;
  FTabNameChangeAttached = false;
  TOnglet* active = FView.activePage();
  EdtNomOnglet->setText(active ? active->caption() : QString());
  // The text last highlighted may be a piece of a cut text: the text chosen for editing is the
  // whole text, through its first piece.
  TTextButton* current = FView.currentText();
  for (TOnglet* page : current ? FView.pages() : QList<TOnglet*>()) {
    const int k = page->indexOfButton(current);
    if (k < 0)
      continue;
    QString whole = current->caption();
    if (k < page->textButtonCount()) {
      const int first = k - page->FPieceNumbers[size_t(k)] + 1;
      whole.clear();
      for (int i = first; i < first + page->FPieceCounts[size_t(first)]; ++i)
        whole += page->GetButtonCaption(i);
      FView.setChosenText(page->FButtons[size_t(first)]);
    }
    EdtNomTexte->setText(whole);
    break;
  }
  EdtNomOnglet->setEnabled(active && !BoardView::isReservedTabCaption(active->caption()));
  if (!active || active->GetCurrentKind() != 0)
    EdtNomTexte->setEnabled(false);
  FTextNameChangeAttached = true;
  FTabNameChangeAttached = true;
  show();
  FView.setAllSelected(true);
  BitBtnTtAff->setText(QStringLiteral("Désélectionner les textes"));
}

void CreationPanel::leave() {
  hide();
  FTextNameChangeAttached = false;
  FTabNameChangeAttached = false;
  EdtNomOnglet->setEnabled(true);
  FView.setAllSelected(false);
}

void CreationPanel::BtnNouveauClick() {
  // While the carer edits, the board replaced can be brought back; at start-up there is none.
  if (FView.execMode()) {
    FDocument.newBoard();
    FHistory->startAfresh();
  } else {
    FHistory->replaceBoard([this] { FDocument.newBoard(); });
  }
}

void CreationPanel::BtnOuvrirClick() {
  const QString path = FServices.fileDialogs->openFileName(BoardDocument::fileFilter());
  if (path.isEmpty())
    return;
  const boardedit::BoardSnapshot before = boardedit::captureBoard(*this);
  FDocument.setTitle(path);
  BoardReadResult result;
  const auto outcome = FDocument.readBoardFile(path, result);
  if (outcome == BoardDocument::LoadOutcome::Broken)
    FDocument.setTitle(before.title); // a broken file changes nothing, the caption included
  if (outcome != BoardDocument::LoadOutcome::Loaded)
    return;
  // The board opened replaces the one shown as one step the carer can undo.
  FHistory->replaceBoard(before,
                         [this, data = result.data, path] { FDocument.applyBoard(data, path); });
}

void CreationPanel::BtnEnrClick() {
  FDocument.SaveBoard(false);
}

void CreationPanel::BtnEnrSousClick() {
  FDocument.SaveBoard(true);
}

void CreationPanel::BtnChangMdpClick() {
  FDocument.BtnChangMdpClick();
}
