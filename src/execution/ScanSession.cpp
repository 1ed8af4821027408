// The scan session's decisions carried out: the tab phase and the text phase of the scanning,
// the switch (a press starts the text phase, a release acts on the current button), the
// reserved commands and the bell.
#include "execution/ScanSession.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardFile.h"
#include "execution/AcceptanceBar.h"
#include "execution/QtDisplayLines.h"
#include "execution/SpeechFeedback.h"
#include "execution/SwitchKeyFilter.h"
#include "platform/ActionJournal.h"
#include "platform/SwitchKeys.h"
#include "prediction/FrenchText.h"
#include "prediction/WordPredictor.h"

#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include <algorithm>

ScanSession::ScanSession(const Services& services, BoardView& view, ActionJournal* journal,
                         QWidget* window, QWidget* displayParent, QWidget* focusHolder,
                         WordPredictor* predictor)
    : QObject(window), FServices(services), FView(view), FJournal(journal),
      FFocusHolder(focusHolder), FPredictor(predictor) {
  Memo = new QTextEdit(displayParent);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setAccessibleName(QStringLiteral("Zone d'affichage"));
  Memo->setReadOnly(true);
  Memo->setLineWrapMode(QTextEdit::WidgetWidth);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo->setFocusPolicy(Qt::NoFocus); // the switch never types into it
  Memo->setTextInteractionFlags(Qt::NoTextInteraction);

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

  FDisplay = std::make_unique<QtDisplayLines>(Memo);
  FPhrase = std::make_unique<PhraseComposer>(*FDisplay);
  FSpeech =
      std::make_unique<SpeechFeedback>(FServices.speech, FView.settings(), FServices.screenReader);
  FPhrase->FEnteredTexts.clear();
  FPhrase->FPhraseStarts = QStringList{QStringLiteral("0")};
  FPhrase->FPhraseStartLine = 0;
  FPhrase->FPhraseStartPos = 0;

  FView.tabScanningSource = [this] { return FTabScanning; };
  connect(&FView, &BoardView::textLit, this,
          [this](const QString& caption) { FSpeech->textReached(caption); });
  connect(&FView, &BoardView::memoColorChanged, this,
          [this](TColor color) { setDisplayColour(color); });
  FView.tabBar()->onChanging = [this] { PageControlChanging(); };
  FView.tabBar()->onMouseDown = [this] { PageControlMouseDown(); };
  connectSwitch(window);
  if (FPredictor) {
    connect(FPredictor, &WordPredictor::suggestions, this, &ScanSession::suggestionsAnswered);
    // A model found damaged once opened: the suggestions go, the rest of the board stays.
    connect(FPredictor, &WordPredictor::statusChanged, this, [this] { applySuggestionSlots(); });
  }
}

ScanSession::~ScanSession() {
  // Both timers stop before the pages go.
  TimerT1->stop();
  TimerT2->stop();
  delete FSwitch; // no key may reach a window being taken apart
  FSwitch = nullptr;
  FView.tabScanningSource = nullptr;
  FView.tabBar()->onChanging = nullptr;
  FView.tabBar()->onMouseDown = nullptr;
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
  FPhrase->ClearDisplay();
  requestSuggestions();
}

void ScanSession::setDisplayColour(TColor color) {
  QPalette pal = Memo->palette();
  pal.setColor(QPalette::Base, toQColor(color));
  Memo->setPalette(pal);
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
  FTabScanning = true;
  TimerT1->start();
  TimerT2->stop();
  startScanning();
}

void ScanSession::leaveExecution() {
  FSpeech->stop();
  FScanner.stop();
  applySuggestionSlots(); // none while the carer edits
  TimerT1->stop();
  TimerT2->stop();
  FView.tabBar()->setHighlighted(-1);
}

void ScanSession::TimerT1Timer() {
  const int count = FView.pageCount();
  if (count == 0)
    return; // a board without any tab has nothing to scan
  // A call is a tick that is due, whether the timer or a caller makes it.
  const qint64 now = scanNow();
  const ScanOutcome out = FScanner.tick(std::max(now, FScanner.deadline()));
  armScanTimer(out, now);
  const int next = out.view.litTab >= 0 ? out.view.litTab : FView.currentIndex();
  FView.tabBar()->setHighlighted(-1);
  FView.pageControl()->setCurrentIndex(next);
  FView.tabBar()->setHighlighted(next);
  TOnglet* page = FView.activePage();
  if (!page)
    return;
  journal("onglet", page->caption());
  FSpeech->tabReached(page->caption());
  page->setScrollPosition(0);
  if (FView.execMode())
    page->ApplyFont(FView.unselectedFont());
  FFocusHolder->setFocus();
}

void ScanSession::TimerT2Timer() {
  TOnglet* page = FView.activePage();
  if (!page)
    return;
  if (FScanner.phase() != Scanner::Phase::Texts) {
    // No text scan runs (the tick was asked for by hand): one step on the page.
    page->StepNext();
    FTextLit = true;
    journal("texte", [page] { return page->GetCurrentText(); });
    return;
  }
  const qint64 now = scanNow();
  const ScanOutcome out = FScanner.tick(std::max(now, FScanner.deadline()));
  if (out.backToTabs) {
    // Loops over the tab without a choice: the scan goes back to the tabs by itself.
    journal("retour-automatique", page->caption());
    backToTabs();
    armScanTimer(out, now);
    return;
  }
  showTextView(page, out.view);
  armScanTimer(out, now);
}

void ScanSession::showTextView(TOnglet* page, const ScanView& view) {
  if (view.row >= 0 && view.item < 0) {
    // Row-column scanning: a whole row is lit.
    const ScanTab shape = scanShape(page);
    if (view.row < int(shape.rows.size())) {
      const ScanRow row = shape.rows[size_t(view.row)];
      page->LightRow(row.first, row.count);
      FTextLit = true;
      journal("rangée", [page, row] { return page->GetTextAt(row.first); });
      FSpeech->textReached(page->GetTextAt(row.first)); // a row is named by its first text
    }
    return;
  }
  if (view.item < 0)
    return;
  page->LightRow(-1, 0); // a row lit before goes out
  const int N = page->itemCount();
  if (view.item == (page->currentIndex() + 1) % std::max(1, N))
    page->StepNext();
  else if (view.item < N && page->makeCurrent(page->itemButton(view.item)))
    FSpeech->textReached(page->GetCurrentText()); // stepping names what it reaches itself
  // Stepping may cut a text again: the scan follows the page as it now stands.
  FScanner.updateTab(FView.currentIndex(), scanShape(page), page->currentIndex());
  FTextLit = true;
  journal("texte", [page] { return page->GetCurrentText(); });
}

void ScanSession::backToTabs() {
  TimerT2->stop();
  FTabScanning = true;
  // The lit tab can be chosen at once; the focus leaves the page so that nothing of it takes
  // the keyboard.
  FFocusHolder->setFocus();
}

qint64 ScanSession::scanNow() const {
  return FSwitch ? FSwitch->now() : 0;
}

void ScanSession::armScanTimer(const ScanOutcome& out, qint64 now) {
  if (FScanner.phase() == Scanner::Phase::Stopped || out.deadlineMs < 0) {
    TimerT1->stop();
    TimerT2->stop();
    return;
  }
  const bool tabs = FScanner.phase() == Scanner::Phase::Tabs;
  QTimer* timer = tabs ? TimerT1 : TimerT2;
  (tabs ? TimerT2 : TimerT1)->stop();
  const ScanSettings& running = FScanner.running();
  const int pace = tabs ? running.tabPaceMs : running.textPaceMs;
  // Never longer than a step can last: a caller that ticks ahead of time (a test) must not
  // push the timer out.
  const qint64 delay = std::clamp<qint64>(out.deadlineMs - now, 0, pace + running.firstItemExtraMs);
  // Each tick arms the next; a tick that comes early is harmless (the scan waits for its
  // time) and one that comes late keeps the rhythm from then.
  timer->start(int(delay));
}

void ScanSession::applyBoardSettings() {
  FView.applyLayoutSettings();
  applySuggestionSlots();
  if (FSwitch)
    FSwitch->input().setSettings(
        {FView.settings().acceptanceMs, FView.settings().pauseAfterSelectionMs});
}

void ScanSession::startScanning() {
  applyBoardSettings();
  FScanner.setSettings(scanSettings());
  FScanner.setBoard(scanShapes());
  const qint64 now = scanNow();
  armScanTimer(FScanner.start(now, FView.currentIndex()), now);
}

ScanSettings ScanSession::scanSettings() const {
  ScanSettings s;
  // The paces of the panel, which the timers took when the scan last started, unless the
  // board asks for finer ones.
  s.tabPaceMs =
      FView.settings().tabPaceMs > 0 ? FView.settings().tabPaceMs : FView.tabSeconds() * 1000;
  s.textPaceMs =
      FView.settings().textPaceMs > 0 ? FView.settings().textPaceMs : FView.textSeconds() * 1000;
  s.firstItemExtraMs = FView.settings().firstItemExtraMs;
  s.loopsBeforeBack = FView.settings().loopsBeforeBack;
  s.rowColumn = FView.settings().rowColumn;
  return s;
}

ScanTab ScanSession::scanShape(TOnglet* page) const {
  ScanTab shape;
  shape.itemCount = page->itemCount();
  // The suggestions change with each choice: the next ones are reached first.
  shape.restartAfterChoice = page->suggestionCount() > 0;
  for (const buttonlayout::Row& r : page->layoutRows())
    shape.rows.push_back(ScanRow{r.first, r.count});
  return shape;
}

std::vector<ScanTab> ScanSession::scanShapes() const {
  std::vector<ScanTab> shapes;
  for (int i = 0; i < FView.pageCount(); ++i) {
    auto* page = FView.pageAt(i);
    ScanTab shape = page ? scanShape(page) : ScanTab{};
    shape.visible = FView.tabBar()->isTabVisible(i);
    shapes.push_back(shape);
  }
  return shapes;
}

void ScanSession::switchReleased(int virtualKey) {
  const qint64 now = scanNow();
  FScanner.pressed(now);
  const ScanOutcome out = FScanner.released(now);
  TOnglet* page = FView.activePage();
  if (out.rowChosen) {
    if (page)
      showTextView(page, out.view);
    armScanTimer(out, now);
    return;
  }
  FormKeyUp(virtualKey);
  // Row-column scanning starts again at the first row after a choice, and a page with
  // suggestions at its first item.
  const bool restarted = FScanner.textMode() == Scanner::TextMode::Rows ||
                         (out.chosenItem >= 0 && FScanner.textMode() == Scanner::TextMode::Linear &&
                          FScanner.view().item == 0 && page && page->suggestionCount() > 0);
  if (page && page == FView.activePage() && !FTabScanning && restarted) {
    showTextView(page, FScanner.view());
    armScanTimer(out, now);
  }
}

void ScanSession::PageControlChanging() {
  FView.tabBar()->setHighlighted(-1);
}

void ScanSession::PageControlChange() {
  FView.tabBar()->setHighlighted(FView.currentIndex());
  FScanner.showTab(FView.currentIndex());
  TOnglet* page = FView.activePage();
  if (!page)
    return;
  FView.announceActiveTab();
  page->setFocus();
  page->setScrollPosition(0);
}

void ScanSession::PageControlMouseDown() {
  PageControlChange();
}

void ScanSession::FormKeyDown(int virtualKey) {
  if (!FView.execMode() || !FTabScanning || !switchkeys::isSwitchKey(virtualKey))
    return;
  TOnglet* page = FView.activePage();
  if (!page)
    return; // without any tab the switch has nothing to choose
  journal("choix-onglet", page->caption());
  FTabScanning = false;
  FTextLit = false;
  page->ResetCurrent();
  TimerT1->stop();
  TimerT2->start();
  // The scan is told of the whole press: its release never acts.
  const qint64 now = scanNow();
  FScanner.setBoard(scanShapes());
  const ScanOutcome out = FScanner.pressed(now);
  FScanner.released(now);
  armScanTimer(out, now);
}

void ScanSession::FormKeyUp(int virtualKey) {
  // The switch acts only while the user scans: in creation mode a release on a text button
  // must neither write a phrase nor start a timer.
  if (!FView.execMode() || FTabScanning || !switchkeys::isSwitchKey(virtualKey))
    return;
  TOnglet* page = FView.activePage();
  if (!page)
    return;
  journal("choix", [page] { return page->GetCurrentText(); });
  switch (page->GetCurrentKind()) {
  case ButtonKind::Text: {
    const QString caption = page->caption();
    const bool letterTab =
        caption == QStringLiteral("Alphabet") || caption == QStringLiteral("Autres caractères");
    FPhrase->AppendText(page->GetCurrentText(), letterTab, FView.currentPhraseFont());
    FSpeech->textChosen(page->GetCurrentText());
    break;
  }
  case ButtonKind::Retour: {
    backToTabs();
    const qint64 now = scanNow();
    armScanTimer(FScanner.returnToTabs(now), now);
    break;
  }
  case ButtonKind::Clear:
    FPhrase->Clear();
    break;
  case ButtonKind::Ajout:
    Ajout();
    break;
  case ButtonKind::Validation:
    learn(FPhrase->phraseText());
    FSpeech->phraseClosed(FPhrase->phraseText());
    FPhrase->Validation(FView.validatedFont());
    break;
  case ButtonKind::Suppression:
    FPhrase->Suppression();
    break;
  case ButtonKind::Annulation:
    FPhrase->Annulation();
    break;
  case ButtonKind::Sonnerie:
    Sonnerie();
    break;
  case ButtonKind::Suggestion:
    chooseSuggestion(page->GetCurrentText());
    break;
  case ButtonKind::None:
    break;
  }
  journal("affichage", [this] { return Memo->toPlainText(); });
  requestSuggestions();
}

void ScanSession::Ajout() {
  // The composer decides whether there is a phrase: after CLEAR or SUPPRESSION its first line
  // is the empty one left behind, and the phrase follows it.
  if (const QString phrase = FPhrase->phraseText(); !phrase.isEmpty()) {
    FSpeech->phraseClosed(phrase);
    learn(phrase);
  }
  const auto captionExists = [this](const QString& text) {
    for (TOnglet* page : FView.pages())
      for (int i = 0; i < page->GetButtonCount(); ++i)
        if (page->GetButtonCaption(i) == text)
          return true;
    return false;
  };
  // A phrase the board file could not hold again is not added: it is closed as a phrase already
  // on the board is, and the message names the bound.
  const auto fits = [this](const QString& text) {
    const auto passed = FView.boundPassedBy(FView.diversTab() ? 0 : 1, {text}, {text});
    if (passed)
      FServices.messages->information(*passed);
    return !passed;
  };
  const std::optional<QString> added =
      FPhrase->Ajout(FView.validatedFont(),
                     [&](const QString& text) { return captionExists(text) || !fits(text); });
  if (added) {
    // A board without "Divers" must not lose the phrase: the tab is made at the end.
    TOnglet* divers = FView.ensureDiversTab();
    divers->AddText(true, *added, false);
    // The user's own phrase: no undo of the carer's takes it back, yet it is to be saved.
    emit userTextAdded();
    if (divers != FView.activePage())
      divers->refitTexts(FView.unselectedFont());
  }
  if (TOnglet* page = FView.activePage())
    page->refitTexts(FView.unselectedFont());
  FScanner.setBoard(scanShapes()); // a new text of "Divers", a tab made for it
}

void ScanSession::Sonnerie() {
  // Six tones, one after the other; the user's input waits while they play.
  static const int frequencies[6] = {500, 250, 500, 250, 500, 250};
  for (int hz : frequencies)
    FServices.tones->playTone(hz, 500);
}

void ScanSession::connectSwitch(QWidget* window) {
  FSwitch = new SwitchKeyFilter(window, this);
  SwitchInput& input = FSwitch->input();
  input.phaseSource = [this] {
    if (!FView.execMode())
      return SwitchInput::Phase::Off;
    if (FTabScanning)
      return SwitchInput::Phase::Tabs;
    return FTextLit ? SwitchInput::Phase::Texts : SwitchInput::Phase::TextsWaiting;
  };
  input.onTabChosen = [this](int virtualKey) { FormKeyDown(virtualKey); };
  FAcceptanceBar = new AcceptanceBar(FFocusHolder->parentWidget());
  FAcceptanceBar->progress = [this]() -> std::optional<double> {
    const auto since = FSwitch->input().acceptanceSince();
    const int acceptance = FSwitch->input().settings().acceptanceMs;
    if (!FView.execMode() || acceptance <= 0 || !since)
      return std::nullopt;
    return double(FSwitch->now() - *since) / acceptance;
  };
  FAcceptanceBar->litItem = [this]() -> QRect {
    QWidget* lit = nullptr;
    QRect r;
    if (FTabScanning && FView.tabBar()->highlighted() >= 0) {
      lit = FView.tabBar();
      r = FView.tabBar()->tabRect(FView.tabBar()->highlighted());
    } else if (TOnglet* page = FView.activePage(); page && !FTabScanning) {
      // A whole row lit (row-column scanning): the bar lies under the row.
      const ScanView view = FScanner.view();
      const ScanTab shape = scanShape(page);
      if (view.row >= 0 && view.item < 0 && view.row < int(shape.rows.size())) {
        const ScanRow row = shape.rows[size_t(view.row)];
        QRect under;
        // A row counts items: the suggestions come before the buttons.
        for (int i = row.first; i < row.first + row.count && i < page->itemCount(); ++i)
          if (TTextButton* b = page->itemButton(i); b && b->isVisible())
            under |= QRect(b->mapTo(FAcceptanceBar->parentWidget(), QPoint()), b->size());
        return under;
      }
      lit = page->GetCurrentButton();
      if (lit && !lit->isVisible())
        lit = nullptr;
      if (lit)
        r = lit->rect();
    }
    if (!lit)
      return QRect();
    return QRect(lit->mapTo(FAcceptanceBar->parentWidget(), r.topLeft()), r.size());
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
