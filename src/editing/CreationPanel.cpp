// The creation panel's controls and their wiring, the panel's modes and name fields, and the
// commands on the whole board (new, open, save, import, export). The edit handlers of the
// tab, text and appearance boxes are in CreationPanelEdits.cpp.
#include "editing/CreationPanel.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardDocument.h"
#include "documents/BoardFile.h"
#include "documents/StorableText.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanelLayout.h"
#include "editing/ReservedNameGuard.h"
#include "editing/TFormFont.h"
#include "editing/TFormReglages.h"
#include "interchange/Interchange.h"

#include <QApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
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

CreationPanel::CreationPanel(const Services& services, BoardView& view, BoardDocument& document,
                             QWidget* parent, WordPredictor* predictor)
    : QWidget(parent), FServices(services), FView(view), FDocument(document),
      FPredictor(predictor) {
  setObjectName(QStringLiteral("PnlModeCreation"));
  setFixedHeight(304);         // two rows more than the form for the added buttons
  setAutoFillBackground(true); // it covers the hidden focus holder
  buildControls();
  nameControls();
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
  // Offered on letter tabs, never done unasked: the board keeps its order until the carer asks.
  BtnRangerFrequence = button(GrpBxOnglet, "BtnRangerFrequence",
                              QStringLiteral("Ranger par fréquence"), 10, 198, 240);

  GrpBxTxt =
      named(new QGroupBox(QStringLiteral("Gestion des textes"), PnlModeCreation), "GrpBxTxt");
  // Taller than the tab box: the picture buttons take two rows below the moves.
  GrpBxTxt->setGeometry(0, 6, 390, 266);
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
  BtnImageTexte = button(GrpBxTxt, "BtnImageTexte", QStringLiteral("Image..."), 10, 202, 180);
  BtnRetirerImage =
      button(GrpBxTxt, "BtnRetirerImage", QStringLiteral("Retirer l'image"), 200, 202, 180);
  BtnImagesOnglet =
      button(GrpBxTxt, "BtnImagesOnglet", QStringLiteral("Images pour l'onglet"), 10, 232, 370);

  GrpBxGene =
      named(new QGroupBox(QStringLiteral("Gestion générale"), PnlModeCreation), "GrpBxGene");
  GrpBxGene->setGeometry(0, 6, 400, 152);
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
  // Boards from and to the Open Board Format of other communication aids.
  BtnImporter = button(GrpBxGene, "BtnImporter", QStringLiteral("Importer..."), 8, 118, 120);
  BtnExporter = button(GrpBxGene, "BtnExporter", QStringLiteral("Exporter..."), 134, 118, 120);

  GrpBxAppa = named(new QGroupBox(QStringLiteral("Modification de l'apparence"), PnlModeCreation),
                    "GrpBxAppa");
  GrpBxAppa->setGeometry(0, 162, 400, 136);
  BtnVisuSelec = button(GrpBxAppa, "BtnVisuSelec", QStringLiteral("Texte selectionné"), 8, 22, 188);
  BtnVisuNonSelec =
      button(GrpBxAppa, "BtnVisuNonSelec", QStringLiteral("Textes non selectionnés"), 204, 22, 188);
  BtnVisuOnglet = button(GrpBxAppa, "BtnVisuOnglet", QStringLiteral("Onglets"), 8, 56, 188);
  BtnVisuAff = button(GrpBxAppa, "BtnVisuAff", QStringLiteral("Phrases validées"), 204, 56, 188);
  BtnVisuAff2 = button(GrpBxAppa, "BtnVisuAff2", QStringLiteral("Phrase en cours"), 8, 90, 188);
  BitBtnTtAff =
      button(GrpBxAppa, "BitBtnTtAff", QStringLiteral("Désélectionner les textes"), 204, 90, 188);
}

void CreationPanel::connectControls() {
  connect(BtnAjoutOngl, &QPushButton::clicked, this, [this] { BtnAjoutOnglClick(); });
  connect(BtnSupprOngl, &QPushButton::clicked, this, [this] { BtnSupprOnglClick(); });
  connect(BtnAvtOngl, &QPushButton::clicked, this, [this] { BtnAvtOnglClick(); });
  connect(BtnSuivOngl, &QPushButton::clicked, this, [this] { BtnSuivOnglClick(); });
  connect(BtnRangerFrequence, &QPushButton::clicked, this, [this] { BtnRangerFrequenceClick(); });
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
  connect(BtnImageTexte, &QPushButton::clicked, this, [this] { BtnImageTexteClick(); });
  connect(BtnRetirerImage, &QPushButton::clicked, this, [this] { BtnRetirerImageClick(); });
  connect(BtnImagesOnglet, &QPushButton::clicked, this, [this] { BtnImagesOngletClick(); });
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
  connect(BtnImporter, &QPushButton::clicked, this, [this] { BtnImporterClick(); });
  connect(BtnExporter, &QPushButton::clicked, this, [this] { BtnExporterClick(); });
  // A name the board file cannot store would make every later save fail: it cannot be typed
  // or pasted, and the carer is told which character was refused. A name longer than a line
  // of the file is not taken either.
  for (QLineEdit* field : {EdtNomOnglet, EdtNomTexte}) {
    field->setValidator(new StorableTextValidator(field));
    field->setMaxLength(boardfile::kMaxLineBytes);
    connect(field, &QLineEdit::inputRejected, this, [this, field] { inputRefused(field); });
  }

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
  connect(&FView, &BoardView::textNameShown, this, [this](const QString& text) {
    if (EdtNomTexte->text() != text)
      FTextNameShown = text;
    showingName(EdtNomTexte, text);
  });
  connect(&FView, &BoardView::textNameAttached, this,
          [this](bool attached) { FTextNameChangeAttached = attached; });
  connect(&FView, &BoardView::textNameEnabled, this, [this] { EdtNomTexte->setEnabled(true); });
  connect(&FView, &BoardView::tabNameShown, this, [this](const QString& c) { showTabName(c); });
  connect(&FView, &BoardView::tabNameEnabled, this,
          [this](bool enabled) { EdtNomOnglet->setEnabled(enabled); });
  connect(&FDocument, &BoardDocument::boardShown, this, [this] { showBoard(); });
  // The picture buttons follow the text chosen and the tab shown, whoever changes them (each
  // edit settles the chosen text as well).
  connect(&FView, &BoardView::textNameShown, this, [this] { showPictureButtons(); });
  connect(&FView, &BoardView::tabNameShown, this, [this] { showPictureButtons(); });
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

void CreationPanel::showingName(QLineEdit* field, const QString& text) {
  const QScopedValueRollback<bool> showing(FShowingName, true);
  field->setText(text);
}

void CreationPanel::showTabName(const QString& text) {
  // Equal, it is the echo of the carer's own typing: the name shown before it stays.
  if (EdtNomOnglet->text() == text)
    return;
  FTabNameShown = text;
  const bool was = FTabNameChangeAttached;
  FTabNameChangeAttached = false;
  showingName(EdtNomOnglet, text);
  FTabNameChangeAttached = was;
}

void CreationPanel::showTextName(const QString& text) {
  if (EdtNomTexte->text() == text)
    return;
  FTextNameShown = text;
  const bool was = FTextNameChangeAttached;
  FTextNameChangeAttached = false;
  showingName(EdtNomTexte, text);
  FTextNameChangeAttached = was;
}

void CreationPanel::settleChosenText() {
  if (!FView.currentText() && !FView.execMode()) {
    showTextName(QString());
    EdtNomTexte->setEnabled(false);
  }
  if (TOnglet* page = FView.activePage())
    page->repaintTexts();
  showPictureButtons();
}

void CreationPanel::settingsApplied() {
  FView.applyLayoutSettings();
  emit settingsChanged();
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
  FTabNameShown = active ? active->caption() : QString();
  showingName(EdtNomOnglet, FTabNameShown);
  EdtNomOnglet->setEnabled(active && !FView.isReservedTab(active));
  FTextNameShown.clear();
  EdtNomTexte->clear();
  EdtNomTexte->setEnabled(false);
  FTextNameChangeAttached = true;
  FTabNameChangeAttached = true;
  showPictureButtons();
}

void CreationPanel::enter() {
  FTextNameChangeAttached = false;
  FTabNameChangeAttached = false;
  TOnglet* active = FView.activePage();
  FTabNameShown = active ? active->caption() : QString();
  showingName(EdtNomOnglet, FTabNameShown);
  // The text last highlighted may be a piece of a cut text: the text chosen for editing is the
  // whole text, through its first piece.
  TTextButton* current = FView.currentText();
  for (TOnglet* page : current ? FView.pages() : QList<TOnglet*>()) {
    const int k = page->indexOfButton(current);
    if (k < 0)
      continue;
    if (const int t = page->textIndexOf(current); t >= 0)
      FView.setChosenText(page->textButton(t));
    const QString whole = page->model().wholeTextAt(k);
    FTextNameShown = whole;
    showingName(EdtNomTexte, whole);
    break;
  }
  EdtNomOnglet->setEnabled(active && !FView.isReservedTab(active));
  if (!active || active->GetCurrentKind() != ButtonKind::Text)
    EdtNomTexte->setEnabled(false);
  FTextNameChangeAttached = true;
  FTabNameChangeAttached = true;
  showPictureButtons();
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

namespace {
const QString kImportFilter = QStringLiteral("Tableaux (*.obz *.obf *.ord) |*.obz;*.obf;*.ord");
const QString kExportFilter = QStringLiteral("Open Board Format (*.obz *.obf) |*.obz;*.obf");
} // namespace

bool CreationPanel::importBoard(const QString& path) {
  const interchange::ImportResult imported = interchange::importFile(path);
  if (!imported.ok) {
    // Nothing of a refused file reaches the board: the board on screen stays as it was.
    FServices.messages->information(imported.errorMessage);
    return false;
  }
  // A new board with no file of its own: the next save asks where to keep it, so the file it
  // came from is never overwritten in a format it was not written in.
  const QString title = QStringLiteral("Orivox v1.0 : ") + QFileInfo(path).fileName();
  const auto show = [this, board = imported.board, title] {
    FDocument.applyBoard(board, QString());
    FDocument.setTitle(title);
  };
  if (FView.execMode()) {
    show();
    FHistory->startAfresh();
  } else {
    FHistory->replaceBoard(show);
  }
  FHistory->markChangedOutsideHistory(); // to be saved, though nothing was typed
  if (const QString dropped = imported.dropped.text(); !dropped.isEmpty())
    FServices.messages->information(dropped);
  return true;
}

void CreationPanel::BtnImporterClick() {
  const QString path = FServices.fileDialogs->openFileName(kImportFilter);
  if (!path.isEmpty())
    importBoard(path);
}

void CreationPanel::BtnExporterClick() {
  QString path = FServices.fileDialogs->saveFileName(kExportFilter);
  if (path.isEmpty())
    return;
  if (interchange::formatOf(path) != interchange::Format::Obf &&
      interchange::formatOf(path) != interchange::Format::Obz)
    path += QStringLiteral(".obz");
  const interchange::ExportResult exported = interchange::exportFile(FView.boardData(), path);
  if (!exported.ok)
    FServices.messages->information(exported.errorMessage);
}
