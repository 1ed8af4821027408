// The main window's construction, life cycle, wiring and modes: the collaborators do the work,
// the window connects them and shows one mode or the other.
#include "shell/TMainFrame.h"

#include "about/TAboutBox.h"
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/TFormMdp.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "editing/ReservedNameGuard.h"
#include "execution/DisplayArea.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "platform/ActionJournal.h"
#include "shell/ConfigFile.h"
#include "shell/Logo.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {
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

} // namespace

TMainFrame::TMainFrame(const Services& services, const QString& programFolder,
                       WordPredictor* predictor, QWidget* parent)
    : QMainWindow(parent), FServices(services), FProgramFolder(programFolder),
      FPredictor(predictor) {
  setObjectName(QStringLiteral("MainFrame"));
  FJournal = ActionJournal::fromEnvironment();
  if (FJournal) {
    FJournalTones = std::make_unique<JournalTones>(FServices.tones, *FJournal);
    FServices.tones = FJournalTones.get();
  }
  buildLayout();
  wire();
  setWindowTitle(FDocument->title());
}

TMainFrame::~TMainFrame() {
  // The scan stops and the switch goes before the pages: no key or tick may reach a board
  // being taken apart. Closing the window moves the focus, and a text button that loses it
  // calls back into the board: the pages go while it is still whole.
  delete FSession;
  FSession = nullptr;
  hide();
  delete FPanel;
  FPanel = nullptr;
  delete FView;
  FView = nullptr;
}

void TMainFrame::buildLayout() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  // The board and the display area, with the splitter between them.
  Splitter = new MaroonSplitter(central);
  Splitter->setObjectName(QStringLiteral("Splitter"));
  Splitter->setHandleWidth(2);
  Splitter->setChildrenCollapsible(false);

  FView = new BoardView(FServices.measurer, Splitter, this);
  FDocument = new BoardDocument(FServices, *FView, this);
  FPanel = new CreationPanel(FServices, *FView, *FDocument, central, FPredictor);
  column->addWidget(FPanel);
  column->addWidget(Splitter, 1);
  Splitter->addWidget(FView->pageControl());

  PnlBas = new QWidget(Splitter);
  PnlBas->setObjectName(QStringLiteral("PnlBas"));
  PnlBas->setMinimumHeight(1);
  auto* row = new QHBoxLayout(PnlBas);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  // The tab phase's focus holder: lowered beneath the board, so never seen, yet focusable.
  Buttoncache = new QPushButton(QStringLiteral("Buttoncache"), central);
  Buttoncache->setObjectName(QStringLiteral("Buttoncache"));
  Buttoncache->setGeometry(0, 0, 57, 57);
  Buttoncache->setFocusPolicy(Qt::StrongFocus);
  Buttoncache->setAutoDefault(false);
  Buttoncache->lower();

  // A reserved name in a name field holds the shortcuts up: the field refuses them itself.
  const auto shortcuts = [this](int key, Qt::KeyboardModifiers modifiers) {
    return FPanel && !FPanel->nameGuard().isHolding() && FormShortCut(key, modifiers);
  };
  FSession = new ScanSession(FServices, *FView, FJournal.get(), this, PnlBas, Buttoncache,
                             FPredictor, shortcuts);
  row->addWidget(FSession->display().widget(), 1);
  PnlLogo = new QWidget(PnlBas);
  PnlLogo->setObjectName(QStringLiteral("PnlLogo"));
  PnlLogo->setFixedWidth(137);
  PnlLogo->setAutoFillBackground(true);
  {
    QPalette pal = PnlLogo->palette();
    pal.setColor(QPalette::Window, Qt::white);
    PnlLogo->setPalette(pal);
  }
  auto* logoBox = new QVBoxLayout(PnlLogo);
  logoBox->setContentsMargins(4, 4, 4, 4);
  Logo = new QLabel(PnlLogo);
  Logo->setObjectName(QStringLiteral("Logo"));
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
  Splitter->handle(1)->hide();
  Logo->installEventFilter(this);
}

void TMainFrame::wire() {
  connect(Splitter, &QSplitter::splitterMoved, FView, [this] { FView->arrangeAll(); });
  connect(FDocument, &BoardDocument::titleChanged, this, &QWidget::setWindowTitle);
  connect(FDocument, &BoardDocument::boardSaved, this,
          [this](const QString& path) { journal("enregistrement", path); });
  connect(FDocument, &BoardDocument::boardShown, FSession, [this] {
    FSession->takeBoardPaces();
    FSession->ClearDisplay();
    FSession->applyBoardSettings();
  });
  connect(FView, &BoardView::memoColorChanged, this, [this](TColor color) {
    QPalette logo = PnlLogo->palette();
    logo.setColor(QPalette::Window, toQColor(color));
    PnlLogo->setPalette(logo);
  });
  connect(FSession, &ScanSession::userTextAdded, FPanel,
          [this] { FPanel->history().markChangedOutsideHistory(); });
  connect(FPanel, &CreationPanel::voiceTried, FSession,
          [this](const BoardSettings& s) { FSession->tryVoice(s); });
  connect(FPanel, &CreationPanel::settingsChanged, FSession,
          [this] { FSession->applyBoardSettings(); });
}

void TMainFrame::journal(const char* event, const QString& detail) {
  if (FJournal)
    FJournal->note(event, detail);
}

void TMainFrame::createDialogs() {
  if (!FormMdp)
    FormMdp = new TFormMdp(this);
  if (!AboutBox)
    AboutBox = new TAboutBox(this);
}

QWidget* TMainFrame::focusHolder() const {
  return Buttoncache;
}

void TMainFrame::SetPassword(const QString& password) {
  FDocument->setPassword(password);
}

BoardDocument::LoadOutcome TMainFrame::LoadBoard(const QString& path) {
  const auto outcome = FDocument->LoadBoard(path);
  if (outcome == BoardDocument::LoadOutcome::Loaded)
    FPanel->history().startAfresh();
  return outcome;
}

void TMainFrame::BtnNouveauClick() {
  FPanel->BtnNouveauClick();
}

void TMainFrame::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!FShown) {
    FShown = true;
    FormShow();
  }
}

void TMainFrame::FormShow() {
  FView->setExecMode(true);
  FPanel->showPaces();
  FPanel->hide();
  FView->setChosenText(nullptr);
  FSession->setTabScanning(true);
  FSession->startScanning();
  FSession->ClearDisplay();
  FPanel->history().startAfresh();
  FView->arrangeAll();
  Buttoncache->setFocus();
}

void TMainFrame::closeEvent(QCloseEvent* e) {
  if (!FClosed) {
    // Set first: a close asked again while the question is open must not ask twice.
    FClosed = true;
    if (!FormClose()) {
      FClosed = false;
      e->ignore();
      return;
    }
  }
  e->accept();
}

bool TMainFrame::FormClose() {
  // The carer asked for the board to be kept: when it could not be (the message said why, or
  // no file name was chosen), closing would lose it.
  if (!FDocument->saved() &&
      FServices.messages->question(QStringLiteral("Voulez vous enregistrer les modifications?")) &&
      !FDocument->SaveBoard(false))
    return false;
  // The configuration is replaced whole, never left half-written. A board without a file
  // leaves the last board named: a board refused at start is not forgotten.
  const QString confPath = FProgramFolder + QStringLiteral("/conf/conf.txt");
  QFile previous(confPath);
  const QString board = configfile::boardToRemember(
      FDocument->fileName(),
      previous.open(QIODevice::ReadOnly) ? previous.readAll() : QByteArray());
  QSaveFile conf(confPath);
  bool ok = conf.open(QIODevice::WriteOnly);
  // Flushed before the commit: a full disk shows only then (a commit would still go ahead).
  if (ok)
    ok = conf.write(configfile::encode(FDocument->password(), board)) >= 0 && conf.flush();
  if (ok)
    ok = conf.commit();
  else
    conf.cancelWriting();
  // A board a start got stuck on stays refused until it has been opened or saved since.
  if (ok && !FDocument->fileName().isEmpty())
    forgetInterruptedStart(FProgramFolder);
  if (!ok)
    FServices.messages->information(
        QStringLiteral("erreur d'enregistrement dans le fichier de configuration"));
  FSession->stopTimers();
  return true;
}

bool TMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Logo && event->type() == QEvent::MouseButtonRelease) {
    LogoClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TMainFrame::FormShortCut(int key, Qt::KeyboardModifiers modifiers) {
  if (!(modifiers & Qt::ControlModifier))
    return false;
  // The tests run in order against the state of the moment, as the table of shortcuts reads.
  bool acted = false;
  if (key == Qt::Key_E && FPanel->isVisible()) {
    EnterExecutionMode();
    acted = true;
  } else if (key == Qt::Key_C && !FPanel->isVisible()) {
    EnterCreationMode();
    acted = true;
  }
  if (FView->execMode())
    return acted;
  if (key == Qt::Key_P)
    FPanel->BtnChangMdpClick();
  else if (key == Qt::Key_O)
    FPanel->BtnOuvrirClick();
  else if (key == Qt::Key_R)
    FDocument->SaveBoard(false);
  else if (key == Qt::Key_Z)
    return FPanel->history().undoShortcut() || acted; // in a name field the field undoes its typing
  else if (key == Qt::Key_Y)
    return FPanel->history().redoShortcut() || acted;
  else
    return acted;
  return true;
}

void TMainFrame::EnterExecutionMode() {
  FView->setExecMode(true);
  FPanel->leave();
  FSession->enterExecution();
  TOnglet* active = FView->activePage();
  if (active)
    active->setFocus();
  Splitter->handle(1)->hide();
  if (active)
    active->setScrollPosition(0);
  FView->applyModeLook();
  Buttoncache->setFocus();
  journal("mode", QStringLiteral("exécution"));
}

void TMainFrame::EnterCreationMode() {
  createDialogs();
  const int result = FormMdp->exec();
  activateWindow(); // the keyboard comes back to the board, not to the closed prompt
  if (result != 1)
    return;
  if (FormMdp->GetPassword() != FDocument->password()) {
    FServices.messages->information(QStringLiteral("Mot de passe incorrect"));
    return;
  }
  FView->setExecMode(false);
  journal("mode", QStringLiteral("création"));
  FSession->leaveExecution();
  FPanel->enter();
  Splitter->handle(1)->show();
  if (TOnglet* active = FView->activePage())
    active->setScrollPosition(0);
  FView->applyModeLook();
}

void TMainFrame::LogoClick() {
  createDialogs();
  AboutBox->exec();
}
