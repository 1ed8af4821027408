// The scanning of execution mode as a plain state machine: the tab phase, the text phase (one
// item at a time, or rows then the items of a row), the paces and the timing options. Switch
// presses and releases and timer ticks come in with the time they happen; out come what to
// highlight, what was chosen and when the next tick is due. No widget, timer or clock here: the
// window's single-shot timer calls tick() at the deadline it is given.
#pragma once

#include "platform/AccessMode.h"

#include <QtGlobal>
#include <vector>

struct ScanSettings {
  int tabPaceMs = 3000;
  int textPaceMs = 1000;
  // The first position of a new scan stays highlighted this much longer: the first text (or
  // row) after a tab is chosen, the first tab after going back to the tabs, and in row-column
  // scanning the first item of a chosen row and the first row after a choice.
  int firstItemExtraMs = 0;
  // After this many full loops over a tab's items (in row-column scanning, over its rows)
  // without a choice the scan goes back to the tab phase by itself; 0: never. Choosing a row
  // counts as a choice.
  int loopsBeforeBack = 0;
  bool rowColumn = false;
  // How the switch reaches the items. Outside automatic scanning the loops are not counted:
  // the highlight moves only when the person makes it.
  AccessMode mode = AccessMode::Automatic;
  int acceptanceMs = 0; // held scanning: a release this soon after its press is a brush
  int dwellMs = 2000;   // stepping with dwell: the wait after the last press that chooses
  bool operator==(const ScanSettings& o) const {
    return tabPaceMs == o.tabPaceMs && textPaceMs == o.textPaceMs &&
           firstItemExtraMs == o.firstItemExtraMs && loopsBeforeBack == o.loopsBeforeBack &&
           rowColumn == o.rowColumn && mode == o.mode && acceptanceMs == o.acceptanceMs &&
           dwellMs == o.dwellMs;
  }
};

// A row of items as laid out on screen: `count` consecutive items from `first`.
struct ScanRow {
  int first = 0;
  int count = 0;
  bool operator==(const ScanRow& o) const { return first == o.first && count == o.count; }
};

// One tab as the scan sees it: its items in scanning order (the page's buttons: texts, pieces
// included, then the reserved buttons) and, for row-column scanning, its rows top to bottom.
// Rows that do not cover the items one after the other make the tab scan one item at a time.
struct ScanTab {
  bool visible = true;
  int itemCount = 0;
  std::vector<ScanRow> rows;
  // After any choice the scan starts again at the first item (or row): a page whose first
  // items change with each choice, like a row of suggested words, has them reached first.
  bool restartAfterChoice = false;
};

// What the window shows. In the tab phase `item` and `row` are -1.
struct ScanView {
  int tab = -1;    // the active tab
  int litTab = -1; // the highlighted tab of the strip, -1: none
  int row = -1;    // row-column: the highlighted row (all its items), or the row being scanned
  int item = -1;   // the current item, highlighted; -1: none
  bool operator==(const ScanView& o) const {
    return tab == o.tab && litTab == o.litTab && row == o.row && item == o.item;
  }
  bool operator!=(const ScanView& o) const { return !(*this == o); }
};

// The answer to every input.
struct ScanOutcome {
  ScanView view;
  bool tabChosen = false;  // the press chose view.tab: the text phase begins, nothing current
  bool rowChosen = false;  // the release chose view.row: its first item is current
  int chosenItem = -1;     // the release acts on this item of view.tab
  bool backToTabs = false; // the scan went back to the tab phase by itself (loops)
  qint64 deadlineMs = -1;  // call tick() at this time; -1: no timer runs
  // The switch was taken as a choice (the pause after a selection starts here).
  bool acted() const { return tabChosen || rowChosen || chosenItem >= 0; }
};

class Scanner {
public:
  enum class Phase { Stopped, Tabs, Texts };
  // How the text phase moves: one item at a time, over the rows, or over the items of a row.
  enum class TextMode { Linear, Rows, RowItems };

  explicit Scanner(const ScanSettings& settings = {}) : FSettings(settings) {}

  // Settings take effect at the next start(), as the paces do when execution mode is entered.
  void setSettings(const ScanSettings& settings) { FSettings = settings; }
  const ScanSettings& settings() const { return FSettings; }
  const ScanSettings& running() const { return FRunning; }

  // The board's shape. A page whose buttons changed (cut again, text added) is given anew with
  // updateTab; currentItem is where the page's current item now stands (-1: keep the scan's).
  void setBoard(const std::vector<ScanTab>& tabs);
  void updateTab(int tab, const ScanTab& shape, int currentItem = -1);

  // Execution mode entered: the tab phase starts on activeTab, not yet highlighted.
  ScanOutcome start(qint64 nowMs, int activeTab);
  // Creation mode: no scanning, no timer.
  void stop();

  // The switch (with two switches, the one that chooses) went down or up.
  ScanOutcome pressed(qint64 nowMs);
  ScanOutcome released(qint64 nowMs);
  // A step asked for by the person: the move switch, or a held switch's move-repeat. Only the
  // stepping modes move on it.
  ScanOutcome moved(qint64 nowMs);
  // The switch was let go where its release could not be seen: the held highlight stops and
  // nothing is chosen.
  ScanOutcome lost(qint64 nowMs);
  ScanOutcome tick(qint64 nowMs);
  // The item chosen was RETOUR: back to the tab phase, the chosen tab still highlighted.
  ScanOutcome returnToTabs(qint64 nowMs);
  // The user clicked a tab of the strip: it becomes the active, highlighted tab.
  ScanOutcome showTab(int tab);
  // The highlight holds still (no tick moves it) while what the switch acts on is being fixed,
  // until a choice or resume(). After the hold the scan goes on with a full pace when
  // fullPace, else with the time the lit position had left.
  ScanOutcome hold(qint64 nowMs, bool fullPace);
  ScanOutcome resume(qint64 nowMs);

  // Where the scan stands, as an answer to no input.
  ScanOutcome current() const { return outcome(); }
  Phase phase() const { return FPhase; }
  TextMode textMode() const { return FTextMode; }
  const ScanView& view() const { return FView; }
  qint64 deadline() const { return FDeadline; }

private:
  ScanOutcome outcome() const;
  bool automatic() const { return FRunning.mode == AccessMode::Automatic; }
  // Outside automatic scanning: one move of the highlight (the first position when nothing is
  // lit), the choice of what is lit, and the pace of the phase.
  void step(qint64 nowMs);
  ScanOutcome choose(qint64 nowMs);
  int phasePaceMs() const;
  ScanOutcome pressedStepping(qint64 nowMs);
  ScanOutcome releasedStepping(qint64 nowMs);
  ScanOutcome tickStepping(qint64 nowMs);
  enum class Hold { None, KeepRhythm, FullPace };
  const ScanTab* activeShape() const;
  bool usesRows() const;
  void goToTabs(qint64 nowMs);
  void scheduleAfterTick(qint64 nowMs, int paceMs);
  void tickTabs();
  // Whether a text-phase step over `positions` (items or rows) may go ahead: none to step over,
  // or the loops allowed without a choice are done (the scan then goes back to the tabs).
  bool mayStep(qint64 nowMs, ScanOutcome& out, int positions);
  // The next step is due one text pace on, longer for the first of a fresh scan.
  void scheduleStep(qint64 nowMs);
  void tickTexts(qint64 nowMs, ScanOutcome& out);
  void tickLinear(qint64 nowMs, ScanOutcome& out);
  void tickRows(qint64 nowMs, ScanOutcome& out);
  void tickRowItems(qint64 nowMs);
  void lightRow(int row); // lights a whole row, counted as a step

  ScanSettings FSettings;
  ScanSettings FRunning; // the settings of the current run, taken at start()
  std::vector<ScanTab> FTabs;
  Phase FPhase = Phase::Stopped;
  TextMode FTextMode = TextMode::Linear;
  ScanView FView;
  qint64 FDeadline = -1;
  bool FSwitchDown = false;
  Hold FHold = Hold::None;
  qint64 FHeldLeftMs = -1;     // the time the lit position had left when the hold began
  bool FIgnoreRelease = false; // the press being held chose the tab
  bool FFreshScan = false;     // the next position lit starts a scan (extra time)
  int FStepsWithoutChoice = 0; // items (linear) or rows lit since the last choice
  int FItemsInRow = 0;         // items of the scanned row lit since it was chosen
  qint64 FPressedAt = 0;       // held scanning: when the switch went down
};
