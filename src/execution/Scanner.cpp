// The scanning state machine: one handler per input, each covering every phase.
//
// Which event acts: a press in the tab phase chooses the lit tab; in the text phase the release
// acts, in row-column scanning as in linear scanning, both to choose a row and to choose an
// item. The release of the press that chose the tab never acts, however long it is held.
// While the switch decides (a press waiting for its acceptance time, a release being told from
// an auto-repeat) the scan holds still, so that the choice is always what was lit.
#include "execution/Scanner.h"

#include <algorithm>

namespace {
bool rowsCoverItems(const ScanTab& t) {
  if (t.rows.empty())
    return false;
  int next = 0;
  for (const ScanRow& r : t.rows) {
    if (r.first != next || r.count <= 0)
      return false;
    next += r.count;
  }
  return next == t.itemCount;
}
} // namespace

void Scanner::setBoard(const std::vector<ScanTab>& tabs) {
  FTabs = tabs;
  const int n = int(FTabs.size());
  if (FView.tab >= n)
    FView.tab = n - 1;
  if (FView.litTab >= n)
    FView.litTab = -1;
  if (FView.tab >= 0)
    updateTab(FView.tab, FTabs[size_t(FView.tab)]);
  else
    FView.item = FView.row = -1;
}

void Scanner::updateTab(int tab, const ScanTab& shape, int currentItem) {
  if (tab < 0 || tab >= int(FTabs.size()))
    return;
  FTabs[size_t(tab)] = shape;
  if (tab != FView.tab || FPhase != Phase::Texts)
    return;
  if (currentItem >= 0)
    FView.item = currentItem;
  if (FView.item >= shape.itemCount)
    FView.item = shape.itemCount - 1;
  if (FTextMode != TextMode::Linear && !usesRows()) {
    // The rows no longer describe the page: go on one item at a time from where the scan is.
    FTextMode = TextMode::Linear;
    FView.row = -1;
  } else if (FTextMode != TextMode::Linear) {
    const int rows = int(shape.rows.size());
    if (FView.item >= 0) {
      for (int r = 0; r < rows; ++r) {
        const ScanRow& row = shape.rows[size_t(r)];
        if (FView.item >= row.first && FView.item < row.first + row.count)
          FView.row = r;
      }
    }
    FView.row = std::min(FView.row, rows - 1);
  }
}

ScanOutcome Scanner::start(qint64 nowMs, int activeTab) {
  FRunning = FSettings;
  // A zero pace would tick without end.
  FRunning.tabPaceMs = std::max(1, FRunning.tabPaceMs);
  FRunning.textPaceMs = std::max(1, FRunning.textPaceMs);
  FRunning.firstItemExtraMs = std::max(0, FRunning.firstItemExtraMs);
  FRunning.loopsBeforeBack = automatic() ? std::max(0, FRunning.loopsBeforeBack) : 0;
  FRunning.dwellMs = std::max(1, FRunning.dwellMs);
  FPhase = Phase::Tabs;
  FTextMode = TextMode::Linear;
  const int n = int(FTabs.size());
  FView = ScanView{};
  FView.tab = activeTab >= 0 && activeTab < n ? activeTab : (n > 0 ? 0 : -1);
  FSwitchDown = false;
  FIgnoreRelease = false;
  FFreshScan = false;
  FHold = Hold::None;
  FDeadline = automatic() ? nowMs + FRunning.tabPaceMs : -1;
  // With two switches the active tab is lit at once: the choose switch takes it straight away.
  if (FRunning.mode == AccessMode::TwoSwitchStep)
    step(nowMs);
  return outcome();
}

void Scanner::stop() {
  FPhase = Phase::Stopped;
  FTextMode = TextMode::Linear;
  FView.item = FView.row = -1;
  FDeadline = -1;
  FSwitchDown = false;
  FIgnoreRelease = false;
  FHold = Hold::None;
}

ScanOutcome Scanner::pressed(qint64 nowMs) {
  if (!automatic())
    return pressedStepping(nowMs);
  if (FPhase == Phase::Stopped || FSwitchDown)
    return outcome();
  FSwitchDown = true;
  if (FPhase != Phase::Tabs || FView.tab < 0)
    return outcome(); // in the text phase the release acts; without any tab nothing does
  FPhase = Phase::Texts;
  FTextMode = usesRows() ? TextMode::Rows : TextMode::Linear;
  FView.item = FView.row = -1;
  FIgnoreRelease = true;
  FFreshScan = true;
  FStepsWithoutChoice = 0;
  // A stopped timer started again waits one full pace before its first tick.
  FHold = Hold::None;
  FDeadline = nowMs + FRunning.textPaceMs;
  ScanOutcome out = outcome();
  out.tabChosen = true;
  return out;
}

ScanOutcome Scanner::released(qint64 nowMs) {
  if (!automatic())
    return releasedStepping(nowMs);
  if (FPhase == Phase::Stopped || !FSwitchDown)
    return outcome();
  FSwitchDown = false;
  if (FIgnoreRelease || FPhase != Phase::Texts) {
    FIgnoreRelease = false;
    return outcome();
  }
  ScanOutcome out;
  switch (FTextMode) {
  case TextMode::Linear:
    // The text phase goes on: the current item stays and the pace keeps its rhythm, or
    // starts again from the choice when the scan held still for it.
    out = resume(nowMs);
    if (FView.item >= 0) {
      out.chosenItem = FView.item;
      FStepsWithoutChoice = 0;
      if (activeShape()->restartAfterChoice) {
        // The first item is lit at once for a full pace, as the first row is after a choice
        // in row-column scanning.
        FView.item = 0;
        FStepsWithoutChoice = 1;
        FDeadline = nowMs + FRunning.textPaceMs + FRunning.firstItemExtraMs;
        out.view = FView;
        out.deadlineMs = FDeadline;
      }
    }
    return out;
  case TextMode::Rows:
    if (FView.row < 0)
      return outcome();
    FTextMode = TextMode::RowItems;
    FView.item = activeShape()->rows[size_t(FView.row)].first;
    FItemsInRow = 1;
    FStepsWithoutChoice = 0;
    FHold = Hold::None;
    FDeadline = nowMs + FRunning.textPaceMs + FRunning.firstItemExtraMs;
    out = outcome();
    out.rowChosen = true;
    return out;
  case TextMode::RowItems: {
    const int chosen = FView.item;
    FTextMode = TextMode::Rows;
    FStepsWithoutChoice = 0;
    lightRow(0);
    FHold = Hold::None;
    FDeadline = nowMs + FRunning.textPaceMs + FRunning.firstItemExtraMs;
    FFreshScan = false;
    out = outcome();
    out.chosenItem = chosen;
    return out;
  }
  }
  return outcome();
}

ScanOutcome Scanner::tick(qint64 nowMs) {
  if (FPhase == Phase::Stopped || FDeadline < 0 || nowMs < FDeadline)
    return outcome(); // early or stale: the timer is re-armed at the deadline
  if (!automatic())
    return tickStepping(nowMs);
  ScanOutcome out;
  if (FPhase == Phase::Tabs) {
    tickTabs();
    scheduleAfterTick(nowMs, FRunning.tabPaceMs);
    return outcome();
  }
  tickTexts(nowMs, out);
  const bool back = out.backToTabs;
  out = outcome();
  out.backToTabs = back;
  return out;
}

ScanOutcome Scanner::returnToTabs(qint64 nowMs) {
  if (FPhase != Phase::Stopped)
    goToTabs(nowMs);
  if (!automatic())
    FDeadline = -1; // the tab left stays lit until the person moves on
  return outcome();
}

ScanOutcome Scanner::showTab(int tab) {
  if (tab < 0 || tab >= int(FTabs.size()))
    return outcome();
  FView.tab = tab;
  FView.litTab = tab;
  if (FPhase == Phase::Texts) {
    // The page shown starts its scan again: nothing current until the next tick.
    FView.item = FView.row = -1;
    FTextMode = usesRows() ? TextMode::Rows : TextMode::Linear;
    FFreshScan = true;
    FStepsWithoutChoice = 0;
  }
  return outcome();
}

ScanOutcome Scanner::hold(qint64 nowMs, bool fullPace) {
  if (FPhase == Phase::Stopped || FHold != Hold::None)
    return outcome();
  FHold = fullPace ? Hold::FullPace : Hold::KeepRhythm;
  FHeldLeftMs = FDeadline < 0 ? -1 : std::max<qint64>(0, FDeadline - nowMs);
  FDeadline = -1; // no tick is due: the timer stops
  return outcome();
}

ScanOutcome Scanner::resume(qint64 nowMs) {
  if (FHold == Hold::None)
    return outcome();
  if (FHeldLeftMs < 0)
    FDeadline = -1;
  else if (FHold == Hold::FullPace)
    FDeadline = nowMs + phasePaceMs();
  else
    FDeadline = nowMs + FHeldLeftMs;
  FHold = Hold::None;
  return outcome();
}

ScanOutcome Scanner::outcome() const {
  ScanOutcome out;
  out.view = FView;
  out.deadlineMs = FDeadline;
  return out;
}

const ScanTab* Scanner::activeShape() const {
  if (FView.tab < 0 || FView.tab >= int(FTabs.size()))
    return nullptr;
  return &FTabs[size_t(FView.tab)];
}

bool Scanner::usesRows() const {
  const ScanTab* t = activeShape();
  return FRunning.rowColumn && t && rowsCoverItems(*t);
}

void Scanner::goToTabs(qint64 nowMs) {
  FPhase = Phase::Tabs;
  FTextMode = TextMode::Linear;
  FView.item = FView.row = -1;
  FIgnoreRelease = false;
  FHold = Hold::None;
  // The tab just left stays highlighted: a press chooses it again at once.
  const int extra = FView.litTab >= 0 ? FRunning.firstItemExtraMs : 0;
  FDeadline = nowMs + FRunning.tabPaceMs + extra;
}

void Scanner::scheduleAfterTick(qint64 nowMs, int paceMs) {
  // The rhythm of a periodic timer: the next tick one pace after this one was due, or one pace
  // from now when the program was busy past it (the bell blocks for three seconds).
  qint64 next = FDeadline + paceMs;
  if (next <= nowMs)
    next = nowMs + paceMs;
  FDeadline = next;
}

void Scanner::tickTabs() {
  const int count = int(FTabs.size());
  if (count == 0)
    return; // a board without any tab has nothing to scan
  const int current = std::max(0, FView.tab);
  int next = current;
  for (int step = 1; step <= count; ++step) {
    const int candidate = (current + step) % count;
    if (FTabs[size_t(candidate)].visible) {
      next = candidate;
      break;
    }
  }
  FView.tab = next;
  FView.litTab = next;
}

bool Scanner::mayStep(qint64 nowMs, ScanOutcome& out, int positions) {
  if (positions <= 0) {
    scheduleAfterTick(nowMs, FRunning.textPaceMs);
    return false;
  }
  if (FRunning.loopsBeforeBack > 0 && FStepsWithoutChoice >= FRunning.loopsBeforeBack * positions) {
    goToTabs(nowMs);
    out.backToTabs = true;
    return false;
  }
  return true;
}

void Scanner::scheduleStep(qint64 nowMs) {
  scheduleAfterTick(nowMs, FRunning.textPaceMs + (FFreshScan ? FRunning.firstItemExtraMs : 0));
  FFreshScan = false;
}

// One step of the text phase, in the way the page is scanned.
void Scanner::tickTexts(qint64 nowMs, ScanOutcome& out) {
  switch (FTextMode) {
  case TextMode::Linear:
    tickLinear(nowMs, out);
    break;
  case TextMode::Rows:
    tickRows(nowMs, out);
    break;
  case TextMode::RowItems:
    tickRowItems(nowMs);
    break;
  }
}

void Scanner::tickLinear(qint64 nowMs, ScanOutcome& out) {
  const ScanTab* t = activeShape();
  const int count = t ? t->itemCount : 0;
  if (!mayStep(nowMs, out, count))
    return;
  FView.item = (FView.item + 1) % count;
  ++FStepsWithoutChoice;
  scheduleStep(nowMs);
}

void Scanner::lightRow(int row) {
  FView.row = row;
  FView.item = -1;
  ++FStepsWithoutChoice;
}

void Scanner::tickRows(qint64 nowMs, ScanOutcome& out) {
  const ScanTab* t = activeShape();
  const int rows = t ? int(t->rows.size()) : 0;
  if (!mayStep(nowMs, out, rows))
    return;
  lightRow((FView.row + 1) % rows);
  scheduleStep(nowMs);
}

void Scanner::tickRowItems(qint64 nowMs) {
  const ScanRow row = activeShape()->rows[size_t(FView.row)];
  if (FItemsInRow >= row.count) {
    // A full loop over the row without a choice: back to the rows, on this same row, so that
    // a user who missed the item can take the row again at once.
    FTextMode = TextMode::Rows;
    lightRow(FView.row);
    scheduleAfterTick(nowMs, FRunning.textPaceMs + FRunning.firstItemExtraMs);
    return;
  }
  ++FView.item;
  ++FItemsInRow;
  scheduleAfterTick(nowMs, FRunning.textPaceMs);
}
