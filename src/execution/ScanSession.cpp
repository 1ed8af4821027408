// The scan session put together: its parts made and wired, execution mode entered and left, the
// board's settings and shape given to the scanner, and the acceptance bar.
#include "execution/ScanSession.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "execution/AcceptanceBar.h"
#include "execution/CommandActions.h"
#include "execution/DisplayArea.h"
#include "execution/ScanShapes.h"
#include "execution/SpeechFeedback.h"
#include "execution/SwitchKeyFilter.h"
#include "execution/WordSuggestions.h"
#include "platform/ActionJournal.h"

#include <QTimer>
#include <QWidget>

#include <algorithm>

ScanSession::ScanSession(const Services& services, BoardView& view, ActionJournal* journal,
                         QWidget* window, QWidget* displayParent, QWidget* focusHolder,
                         WordPredictor* predictor, SwitchKeyFilter::Shortcuts shortcuts)
    : QObject(window), FServices(services), FView(view), FJournal(journal),
      FFocusHolder(focusHolder) {
  FDisplay = std::make_unique<DisplayArea>(displayParent);
  TimerT1 = new QTimer(this);
  TimerT1->setObjectName(QStringLiteral("TimerT1"));
  TimerT1->setInterval(3000);
  TimerT2 = new QTimer(this);
  TimerT2->setObjectName(QStringLiteral("TimerT2"));
  TimerT2->setInterval(1000);
  // A coarse timer may wake a little early, before the scan's step is due.
  TimerT1->setTimerType(Qt::PreciseTimer);
  TimerT2->setTimerType(Qt::PreciseTimer);
  connect(TimerT1, &QTimer::timeout, this, [this] { TimerT1Timer(); });
  connect(TimerT2, &QTimer::timeout, this, [this] { TimerT2Timer(); });
  FStepTimer = new QTimer(this);
  FStepTimer->setObjectName(QStringLiteral("StepTimer"));
  FStepTimer->setSingleShot(true);
  FStepTimer->setTimerType(Qt::PreciseTimer);
  connect(FStepTimer, &QTimer::timeout, this, [this] { stepTimerTimer(); });

  FSpeech =
      std::make_unique<SpeechFeedback>(FServices.speech, FView.settings(), FServices.screenReader);
  FSuggestions = new WordSuggestions(FView, *FDisplay, *FSpeech, predictor, FJournal, this);
  connect(FSuggestions, &WordSuggestions::slotsChanged, this, [this] {
    if (FScanner.phase() == Scanner::Phase::Stopped)
      return;
    FScanner.setBoard(scanShapes());
    if (TOnglet* page = FView.activePage())
      FScanner.updateTab(FView.currentIndex(), scanShape(page), page->currentIndex());
  });
  connect(FSuggestions, &WordSuggestions::wordsShown, this, &ScanSession::followSuggestions);
  FCommands = new CommandActions(FServices, FView, *FDisplay, *FSpeech, this);
  connect(FCommands, &CommandActions::returnToTabs, this, [this] {
    backToTabs();
    const qint64 now = scanNow();
    armScanTimer(FScanner.returnToTabs(now), now);
  });
  connect(FCommands, &CommandActions::phraseClosed, FSuggestions, &WordSuggestions::learn);
  connect(FCommands, &CommandActions::userTextAdded, this, &ScanSession::userTextAdded);
  // A new text of "Divers", a tab made for it.
  connect(FCommands, &CommandActions::boardChanged, this,
          [this] { FScanner.setBoard(scanShapes()); });

  connect(&FView, &BoardView::textLit, this,
          [this](const QString& caption) { FSpeech->textReached(caption); });
  connect(&FView, &BoardView::memoColorChanged, this,
          [this](TColor color) { setDisplayColour(color); });
  connect(FView.tabBar(), &TTabBar::changing, this, &ScanSession::PageControlChanging);
  connect(FView.tabBar(), &TTabBar::mouseDown, this, &ScanSession::PageControlMouseDown);
  connectSwitch(window, std::move(shortcuts));
  makeAcceptanceBar();
}

ScanSession::~ScanSession() {
  stopTimers();   // before the pages go
  delete FSwitch; // no key may reach a window being taken apart
  FSwitch = nullptr;
  delete FAcceptanceBar.data();
}

void ScanSession::journal(const char* event, const QString& detail) {
  if (FJournal)
    FJournal->note(event, detail);
}

void ScanSession::journal(const char* event, const std::function<QString()>& detail) {
  if (FJournal)
    FJournal->note(event, detail());
}

void ScanSession::ClearDisplay() {
  FDisplay->ClearDisplay();
  FSuggestions->request();
}

PhraseComposer& ScanSession::phrase() {
  return FDisplay->phrase();
}

bool ScanSession::tabScanning() const {
  return FView.tabScanning();
}

void ScanSession::setTabScanning(bool tabs) {
  FView.setTabScanning(tabs);
}

int ScanSession::suggestionSlots() const {
  return FSuggestions->slotCount();
}

void ScanSession::setDisplayColour(TColor color) {
  FDisplay->setColour(color);
}

void ScanSession::stopTimers() {
  TimerT1->stop();
  TimerT2->stop();
  FStepTimer->stop();
}

void ScanSession::tryVoice(const BoardSettings& settings) {
  FSpeech->tryVoice(settings);
}

void ScanSession::takeBoardPaces() {
  TimerT1->setInterval(FView.tabSeconds() * 1000);
  TimerT2->setInterval(FView.textSeconds() * 1000);
}

void ScanSession::enterExecution() {
  takeBoardPaces();
  FView.setTabScanning(true);
  TimerT1->start();
  TimerT2->stop();
  startScanning();
}

void ScanSession::leaveExecution() {
  FSpeech->stop();
  FScanner.stop();
  FSuggestions->applySlots(); // none while the carer edits
  stopTimers();
  FView.tabBar()->setHighlighted(-1);
}

void ScanSession::applyBoardSettings() {
  FView.applyLayoutSettings();
  FSuggestions->applySlots();
  if (FSwitch) {
    const BoardSettings& b = FView.settings();
    SwitchInput::Settings s;
    s.acceptanceMs = b.acceptanceMs;
    s.pauseMs = b.pauseAfterSelectionMs;
    s.mode = b.accessMode;
    s.moveKey = b.moveKey;
    s.chooseKey = b.chooseKey;
    s.moveRepeatDelayMs = b.moveRepeat ? b.moveRepeatDelayMs : 0;
    s.moveRepeatPaceMs = b.moveRepeatPaceMs;
    FSwitch->input().setSettings(s);
  }
}

void ScanSession::startScanning() {
  applyBoardSettings();
  FScanner.setSettings(scanSettings());
  FScanner.setBoard(scanShapes());
  const qint64 now = scanNow();
  const ScanOutcome out = FScanner.start(now, FView.currentIndex());
  armScanTimer(out, now);
  FShown = ScanView();
  FShownTabs = true;
  if (stepping())
    showStepOutcome(out, now); // with two switches the active tab is lit at once
}

ScanSettings ScanSession::scanSettings() const {
  return scanshapes::settingsOf(FView);
}

ScanTab ScanSession::scanShape(TOnglet* page) const {
  return scanshapes::shapeOf(*page);
}

std::vector<ScanTab> ScanSession::scanShapes() const {
  return scanshapes::shapesOf(FView);
}

void ScanSession::followSuggestions(const QString& litBefore) {
  TOnglet* page = FView.activePage();
  if (!page || page->suggestionCount() <= 0 || FView.tabScanning() ||
      FScanner.phase() != Scanner::Phase::Texts)
    return;
  // Longer words may have moved the rows: the scan follows the page as it now stands.
  FScanner.updateTab(FView.currentIndex(), scanShape(page));
  // A suggestion lit as its word changes is a new word lit: named as the highlight names any.
  if (page->GetCurrentKind() == ButtonKind::Suggestion && page->GetCurrentText() != litBefore) {
    journal("texte", [page] { return page->GetCurrentText(); });
    FSpeech->textReached(page->GetCurrentText());
  }
}

void ScanSession::makeAcceptanceBar() {
  QWidget* parent = FFocusHolder->parentWidget();
  const auto progress = [this]() -> std::optional<double> {
    const auto since = FSwitch->input().acceptanceSince();
    const int acceptance = FSwitch->input().settings().acceptanceMs;
    if (!FView.execMode() || acceptance <= 0 || !since)
      return std::nullopt;
    return double(FSwitch->now() - *since) / acceptance;
  };
  const auto litItem = [this, parent] {
    // A whole row lit (row-column scanning): the bar lies under the row.
    const ScanView view = FScanner.view();
    if (TOnglet* page = FView.activePage(); page && view.row >= 0 && view.item < 0) {
      const ScanTab shape = scanShape(page);
      if (view.row < int(shape.rows.size())) {
        const ScanRow row = shape.rows[size_t(view.row)];
        return FView.litRect(parent, row.first, row.count);
      }
    }
    return FView.litRect(parent);
  };
  FAcceptanceBar = new AcceptanceBar(parent, progress, litItem);
  connect(FSwitch, &SwitchKeyFilter::switchChanged, FAcceptanceBar, &AcceptanceBar::update);
}
