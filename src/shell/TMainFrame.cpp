// The main window's construction, life cycle and event routing. Each subsystem's handlers are
// in their own folder; this file builds the window and dispatches the keyboard.
#include "shell/TMainFrame.h"

#include "about/TAboutBox.h"
#include "board/TOnglet.h"
#include "documents/StorableText.h"
#include "documents/TFormChangeMdp.h"
#include "documents/TFormMdp.h"
#include "editing/ReservedNameGuard.h"
#include "editing/BoardHistory.h"
#include "editing/TFormFont.h"
#include "execution/ActionJournal.h"
#include "execution/QtDisplayLines.h"
#include "execution/AcceptanceBar.h"
#include "execution/SwitchKeyFilter.h"
#include "execution/SpeechFeedback.h"
#include "shell/ConfigFile.h"
#include "shell/CreationPanelLayout.h"
#include "shell/Logo.h"
#include "shell/Startup.h"
#include "shell/TPageControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

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

// The bar between the board and the display: a plain maroon line, whatever the style.
class MaroonHandle : public QSplitterHandle {
public:
  using QSplitterHandle::QSplitterHandle;

protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0x80, 0, 0)); }
};

class MaroonSplitter : public QSplitter {
public:
  explicit MaroonSplitter(QWidget* parent) : QSplitter(Qt::Vertical, parent) {}

protected:
  QSplitterHandle* createHandle() override { return new MaroonHandle(orientation(), this); }
};

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

TMainFrame::TMainFrame(const Services& services, const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), FServices(services), FProgramFolder(programFolder),
      FSelectedMeasure(services.measurer), FUnselectedMeasure(services.measurer),
      FMeasureLabel(services.measurer), FNameGuard(std::make_unique<ReservedNameGuard>(*this)) {
  setObjectName(QStringLiteral("MainFrame"));
  FJournal = ActionJournal::fromEnvironment();
  if (FJournal) {
    FJournalTones = std::make_unique<JournalTones>(FServices.tones, *FJournal);
    FServices.tones = FJournalTones.get();
  }
  buildLayout();
  FHistory = new BoardHistory(*this);
  FormCreate();
}

TMainFrame::~TMainFrame() {
  // FormDestroy: both timers stop before the pages go.
  TimerT1->stop();
  TimerT2->stop();
  qApp->removeEventFilter(this);
  delete FSwitch; // no key may reach a window being taken apart
  FSwitch = nullptr;
  // The name field outlives this destructor's body; its last events must not reach the
  // history, which would look into a window no longer whole.
  EdtNomTexte->removeEventFilter(FHistory);
  // Closing the window moves the focus, and a text button that loses it calls back into this
  // window: the pages go while it is still whole, not from the base class destructor.
  hide();
  const QSignalBlocker block(PageControl);
  ClearBoard();
}

void TMainFrame::buildLayout() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  // The creation panel and its four group boxes, placed by hand like the form they mirror.
  PnlModeCreation = named(new QWidget(central), "PnlModeCreation");
  PnlModeCreation->setFixedHeight(272); // one row more than the form for the added buttons
  PnlModeCreation->setAutoFillBackground(true); // it covers the hidden focus holder
  column->addWidget(PnlModeCreation);

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
  BtnAnnulerEdition =
      button(GrpBxGene, "BtnAnnulerEdition", QStringLiteral("Annuler"), 8, 86, 120);
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

  // The board and the display area, with the splitter between them.
  Splitter = named(new MaroonSplitter(central), "Splitter");
  Splitter->setHandleWidth(2);
  Splitter->setChildrenCollapsible(false);
  column->addWidget(Splitter, 1);

  auto* pageControl = named(new TPageControl(Splitter), "PageControl");
  PageControl = pageControl;
  TabBar = pageControl->tabStrip();
  PageControl->setUsesScrollButtons(true);
  PageControl->setFocusPolicy(Qt::NoFocus);
  TabBar->setFocusPolicy(Qt::NoFocus);
  TabBar->onChanging = [this] { PageControlChanging(); };
  TabBar->onMouseDown = [this] { PageControlMouseDown(); };
  Splitter->addWidget(PageControl);

  PnlBas = named(new QWidget(Splitter), "PnlBas");
  PnlBas->setMinimumHeight(1);
  auto* row = new QHBoxLayout(PnlBas);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  Memo = named(new QTextEdit(PnlBas), "Memo");
  Memo->setReadOnly(true);
  Memo->setLineWrapMode(QTextEdit::WidgetWidth);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setFocusPolicy(Qt::NoFocus); // the switch never types into it
  Memo->setTextInteractionFlags(Qt::NoTextInteraction);
  row->addWidget(Memo, 1);
  PnlLogo = named(new QWidget(PnlBas), "PnlLogo");
  PnlLogo->setFixedWidth(137);
  PnlLogo->setAutoFillBackground(true);
  {
    QPalette pal = PnlLogo->palette();
    pal.setColor(QPalette::Window, Qt::white);
    PnlLogo->setPalette(pal);
  }
  auto* logoBox = new QVBoxLayout(PnlLogo);
  logoBox->setContentsMargins(4, 4, 4, 4);
  Logo = named(new QLabel(PnlLogo), "Logo");
  Logo->setPixmap(orivoxLogo(120));
  Logo->setAlignment(Qt::AlignCenter);
  Logo->setCursor(Qt::WhatsThisCursor);
  Logo->setToolTip(QStringLiteral("Afficher l'aide"));
  logoBox->addWidget(Logo);
  row->addWidget(PnlLogo);
  Splitter->addWidget(PnlBas);
  Splitter->setStretchFactor(0, 1);
  Splitter->setStretchFactor(1, 0);
  Splitter->setSizes({600, 173});
  connect(Splitter, &QSplitter::splitterMoved, this, [this] { SplitterMoved(); });

  // The tab phase's focus holder: lowered beneath the board, so never seen, yet focusable.
  Buttoncache = named(new QPushButton(QStringLiteral("Buttoncache"), central), "Buttoncache");
  Buttoncache->setGeometry(0, 0, 57, 57);
  Buttoncache->setFocusPolicy(Qt::StrongFocus);
  Buttoncache->setAutoDefault(false);
  Buttoncache->lower();

  TimerT1 = named(new QTimer(this), "TimerT1");
  TimerT1->setInterval(3000);
  TimerT2 = named(new QTimer(this), "TimerT2");
  TimerT2->setInterval(1000);
  // A coarse timer may wake a little early, before the scan's step is due.
  TimerT1->setTimerType(Qt::PreciseTimer);
  TimerT2->setTimerType(Qt::PreciseTimer);
  connect(TimerT1, &QTimer::timeout, this, [this] { TimerT1Timer(); });
  connect(TimerT2, &QTimer::timeout, this, [this] { TimerT2Timer(); });

  FDisplay = std::make_unique<QtDisplayLines>(Memo);
  FPhrase = std::make_unique<PhraseComposer>(*FDisplay);
  FSpeech = std::make_unique<SpeechFeedback>(FServices.speech, FSettings);

  // Creation panel commands.
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
  for (QWidget* w : PnlModeCreation->findChildren<QWidget*>())
    if (qobject_cast<QLabel*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<QLineEdit*>(w) ||
        qobject_cast<QSpinBox*>(w))
      plainLook(w);
  FPanelLayout =
      std::make_unique<CreationPanelLayout>(GrpBxOnglet, GrpBxTxt, GrpBxAppa, GrpBxGene);
  PnlModeCreation->hide();
  Splitter->handle(1)->hide();
  // This one filter sees the logo's clicks, the name fields' leaving (a reserved name is
  // refused and the focus goes back) and the panel's resizing: a filter on those widgets as
  // well would handle each of their events twice. The keyboard has a filter of its own.
  qApp->installEventFilter(this);
  connectSwitch();
}

void TMainFrame::FormCreate() {
  FSelectedFont = BoardFont();
  FSelectedFont.color = clRed;
  FUnselectedFont = BoardFont();
  FUnselectedFont.color = clNavy;
  FValidatedFont = BoardFont();
  FCurrentPhraseFont = BoardFont();
  FTabFont = BoardFont();
  FTabFont.color = clMaroon;
  PageControl->setFont(FTabFont.toQFont());
  FUnselectedMeasure.setFont(FUnselectedFont);
  FSelectedMeasure.setFont(FSelectedFont);
  setWindowTitle(QStringLiteral("Orivox v1.0"));
  FAllSelected = false;
  FTabColor = 0xC0C0C0;
  FExecMode = true;
  FPhrase->FEnteredTexts.clear();
  FPhrase->FPhraseStarts = QStringList{QStringLiteral("0")};
  FPhrase->FPhraseStartLine = 0;
  FPhrase->FPhraseStartPos = 0;
}

void TMainFrame::createDialogs() {
  if (!FormFont)
    FormFont = new TFormFont(FServices.colorChooser, this);
  if (!FormMdp)
    FormMdp = new TFormMdp(this);
  if (!FormChangeMdp)
    FormChangeMdp = new TFormChangeMdp(FServices.messages, this);
  if (!AboutBox)
    AboutBox = new TAboutBox(this);
}

void TMainFrame::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!FShown) {
    FShown = true;
    FormShow();
  }
}

void TMainFrame::FormShow() {
  FTabScanning = true;
  FExecMode = true;
  {
    const QSignalBlocker b1(EdtT1), b2(EdtT2); // showing the paces is no edit
    EdtT1->setValue(TimerT1->interval() / 1000);
    EdtT2->setValue(TimerT2->interval() / 1000);
  }
  PnlModeCreation->hide();
  FCurrentText = nullptr;
  TimerT1->start();
  startScanning();
  ClearDisplay();
  FHistory->startAfresh();
  placeGroupBoxes();
  for (TOnglet* page : pages())
    page->ArrangeButtons();
  Buttoncache->setFocus();
}

void TMainFrame::placeGroupBoxes() {
  FPanelLayout->place(PnlModeCreation->width());
}

void TMainFrame::closeEvent(QCloseEvent* e) {
  if (!FClosed) {
    FClosed = true;
    FormClose();
  }
  e->accept();
}

void TMainFrame::FormClose() {
  if (!FSaved &&
      FServices.messages->question(QStringLiteral("Voulez vous enregistrer les modifications?")))
    SaveBoard(false);
  // The configuration is replaced whole, never left half-written.
  QSaveFile conf(FProgramFolder + QStringLiteral("/conf/conf.txt"));
  bool ok = conf.open(QIODevice::WriteOnly);
  // Flushed before the commit: a full disk shows only then (a commit would still go ahead).
  if (ok)
    ok = conf.write(configfile::encode(FPassword, FFileName)) >= 0 && conf.flush();
  if (ok)
    ok = conf.commit();
  else
    conf.cancelWriting();
  if (ok)
    forgetInterruptedStart(FProgramFolder);
  if (!ok)
    FServices.messages->information(
        QStringLiteral("erreur d'enregistrement dans le fichier de configuration"));
  TimerT1->stop();
  TimerT2->stop();
}

void TMainFrame::journal(const char* event, const QString& detail) {
  if (FJournal)
    FJournal->note(event, detail);
}

void TMainFrame::journal(const char* event, const std::function<QString()>& detail) {
  if (FJournal)
    FJournal->note(event, detail());
}

void TMainFrame::ClearDisplay() {
  FPhrase->ClearDisplay();
}

QList<TOnglet*> TMainFrame::pages() const {
  QList<TOnglet*> list;
  for (int i = 0; i < PageControl->count(); ++i)
    if (auto* p = qobject_cast<TOnglet*>(PageControl->widget(i)))
      list << p;
  return list;
}

TOnglet* TMainFrame::activePage() const {
  return qobject_cast<TOnglet*>(PageControl->currentWidget());
}

int TMainFrame::pageCount() const {
  return PageControl->count();
}

void TMainFrame::setTextNameField(const QString& text) {
  EdtNomTexte->setText(text);
}

void TMainFrame::setTextNameChangeAttached(bool attached) {
  FTextNameChangeAttached = attached;
}

void TMainFrame::enableTextNameField() {
  EdtNomTexte->setEnabled(true);
}

void TMainFrame::textReached(const QString& caption) {
  FSpeech->textReached(caption);
}

void TMainFrame::connectSwitch() {
  FSwitch = new SwitchKeyFilter(this, this);
  FSwitch->onShortcut = [this](int key, Qt::KeyboardModifiers modifiers) {
    // A reserved name in a name field holds the shortcuts up: the field refuses them itself.
    return !FNameGuard->isHolding() && FormShortCut(key, modifiers);
  };
  SwitchInput& input = FSwitch->input();
  input.phaseSource = [this] {
    if (!FExecMode)
      return SwitchInput::Phase::Off;
    if (FTabScanning)
      return SwitchInput::Phase::Tabs;
    return FTextLit ? SwitchInput::Phase::Texts : SwitchInput::Phase::TextsWaiting;
  };
  input.onTabChosen = [this](int virtualKey) { FormKeyDown(virtualKey); };
  FAcceptanceBar = new AcceptanceBar(centralWidget());
  FAcceptanceBar->progress = [this]() -> std::optional<double> {
    const auto since = FSwitch->input().acceptanceSince();
    const int acceptance = FSwitch->input().settings().acceptanceMs;
    if (!FExecMode || acceptance <= 0 || !since)
      return std::nullopt;
    return double(FSwitch->now() - *since) / acceptance;
  };
  FAcceptanceBar->litItem = [this]() -> QRect {
    QWidget* lit = nullptr;
    QRect r;
    if (FTabScanning && TabBar->highlighted() >= 0) {
      lit = TabBar;
      r = TabBar->tabRect(TabBar->highlighted());
    } else if (TOnglet* page = activePage(); page && !FTabScanning) {
      lit = page->GetCurrentButton();
      if (lit && !lit->isVisible())
        lit = nullptr;
      if (lit)
        r = lit->rect();
    }
    if (!lit)
      return QRect();
    return QRect(lit->mapTo(centralWidget(), r.topLeft()), r.size());
  };
  FSwitch->onSwitchChanged = [this] { FAcceptanceBar->update(); };
  // While the switch decides, the highlight holds still: the choice is what was lit.
  input.onHoldStarted = [this](SwitchInput::Hold hold) {
    const qint64 now = scanNow();
    armScanTimer(FScanner.hold(now, hold == SwitchInput::Hold::Acceptance), now);
  };
  input.onHoldEnded = [this] {
    const qint64 now = scanNow();
    armScanTimer(FScanner.resume(now), now);
  };
  input.onItemActivated = [this](int virtualKey) { switchReleased(virtualKey); };
}

bool TMainFrame::eventFilter(QObject* watched, QEvent* event) {
  // While a name field holds a reserved name no other action may proceed.
  if (FNameGuard->holdsUp(watched, event))
    return true;
  switch (event->type()) {
  case QEvent::MouseButtonRelease:
    if (watched == Logo) {
      LogoClick();
      return true;
    }
    break;
  case QEvent::FocusOut: {
    // Only a real move of the focus to another control is a leaving of the field.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
      break;
    if (watched == EdtNomOnglet && !FExecMode && !EdtNomOngletExit())
      QTimer::singleShot(0, EdtNomOnglet, [e = EdtNomOnglet] { e->setFocus(); });
    if (watched == EdtNomTexte && !FExecMode && !EdtNomTexteExit())
      QTimer::singleShot(0, EdtNomTexte, [e = EdtNomTexte] { e->setFocus(); });
    break;
  }
  case QEvent::Resize:
    if (watched == PnlModeCreation)
      placeGroupBoxes();
    break;
  default:
    break;
  }
  return QMainWindow::eventFilter(watched, event);
}
