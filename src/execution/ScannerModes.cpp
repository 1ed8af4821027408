// The scanner outside automatic scanning: the person moves the highlight (a second switch, a
// held switch, or presses with a wait that chooses) and the same choices follow as with
// automatic scanning. A step does what a tick of automatic scanning does; after a choice the
// highlight goes where automatic scanning would take it.
#include "execution/Scanner.h"

#include <algorithm>

int Scanner::phasePaceMs() const {
  if (FRunning.mode == AccessMode::StepDwell)
    return FRunning.dwellMs;
  return FPhase == Phase::Tabs ? FRunning.tabPaceMs : FRunning.textPaceMs;
}

void Scanner::step(qint64 nowMs) {
  // The deadline is the caller's to set: the tick functions borrowed here arm their own.
  const qint64 deadline = FDeadline;
  if (FPhase == Phase::Tabs) {
    // Nothing lit yet: the first step lights the active tab itself, so that it can be chosen
    // without going round the strip.
    if (FView.litTab < 0)
      FView.litTab = FView.tab;
    else
      tickTabs();
    return;
  }
  if (FPhase != Phase::Texts)
    return;
  ScanOutcome ignored;
  tickTexts(nowMs, ignored);
  FFreshScan = false;
  FDeadline = deadline;
}

ScanOutcome Scanner::choose(qint64 nowMs) {
  // With two switches the next position is lit at once, as automatic scanning lights it; with
  // one switch nothing is, so that the person's first press lights the first position and
  // waiting on it (or a short hold) can still take it.
  const bool lightAtOnce = FRunning.mode == AccessMode::TwoSwitchStep;
  ScanOutcome out;
  if (FPhase == Phase::Tabs) {
    if (FView.tab < 0 || FView.litTab < 0)
      return outcome(); // nothing lit, nothing chosen
    FPhase = Phase::Texts;
    FTextMode = usesRows() ? TextMode::Rows : TextMode::Linear;
    FView.item = FView.row = -1;
    FFreshScan = true;
    FStepsWithoutChoice = 0;
    FDeadline = -1;
    if (lightAtOnce)
      step(nowMs);
    out = outcome();
    out.tabChosen = true;
    return out;
  }
  if (FPhase != Phase::Texts)
    return outcome();
  FDeadline = -1;
  switch (FTextMode) {
  case TextMode::Linear: {
    if (FView.item < 0)
      return outcome();
    const int chosen = FView.item;
    if (activeShape()->restartAfterChoice)
      FView.item = lightAtOnce ? 0 : -1; // the new suggestions are reached first
    out = outcome();
    out.chosenItem = chosen;
    return out;
  }
  case TextMode::Rows:
    if (FView.row < 0)
      return outcome();
    FTextMode = TextMode::RowItems;
    FView.item = activeShape()->rows[size_t(FView.row)].first;
    FItemsInRow = 1;
    // Choosing a row is not yet a choice of a text: with a dwell the wait goes on, and takes
    // the row's first text unless a press moves on.
    if (FRunning.mode == AccessMode::StepDwell)
      FDeadline = nowMs + FRunning.dwellMs;
    out = outcome();
    out.rowChosen = true;
    return out;
  case TextMode::RowItems: {
    const int chosen = FView.item;
    FTextMode = TextMode::Rows;
    if (lightAtOnce) {
      lightRow(0);
    } else {
      FView.row = -1;
      FView.item = -1;
    }
    out = outcome();
    out.chosenItem = chosen;
    return out;
  }
  }
  return outcome();
}

ScanOutcome Scanner::pressedStepping(qint64 nowMs) {
  if (FPhase == Phase::Stopped)
    return outcome();
  switch (FRunning.mode) {
  case AccessMode::Automatic:
    break;
  case AccessMode::TwoSwitchStep:
    return choose(nowMs); // the choose switch acts as it goes down
  case AccessMode::Inverse: {
    if (FSwitchDown)
      return outcome();
    FSwitchDown = true;
    FPressedAt = nowMs;
    FHold = Hold::None;
    const bool nothingLit =
        FPhase == Phase::Tabs ? FView.litTab < 0 : FView.item < 0 && FView.row < 0;
    if (nothingLit)
      step(nowMs); // the first position is lit as the switch goes down
    FDeadline = nowMs + phasePaceMs();
    return outcome();
  }
  case AccessMode::StepDwell:
    if (FSwitchDown)
      return outcome();
    FSwitchDown = true;
    FHold = Hold::None;
    step(nowMs);
    FDeadline = -1; // the wait starts when the switch is let go
    return outcome();
  }
  return outcome();
}

ScanOutcome Scanner::releasedStepping(qint64 nowMs) {
  if (FPhase == Phase::Stopped || !FSwitchDown)
    return outcome();
  FSwitchDown = false;
  FHold = Hold::None;
  switch (FRunning.mode) {
  case AccessMode::Automatic:
  case AccessMode::TwoSwitchStep:
    break;
  case AccessMode::Inverse:
    FDeadline = -1;
    if (nowMs - FPressedAt < FRunning.acceptanceMs)
      return outcome(); // a brush: the highlight stops where it is, nothing is chosen
    return choose(nowMs);
  case AccessMode::StepDwell: {
    const bool lit = FPhase == Phase::Tabs ? FView.litTab >= 0 : FView.item >= 0 || FView.row >= 0;
    FDeadline = lit ? nowMs + FRunning.dwellMs : -1;
    break;
  }
  }
  return outcome();
}

ScanOutcome Scanner::moved(qint64 nowMs) {
  if (FPhase == Phase::Stopped)
    return outcome();
  if (FRunning.mode != AccessMode::TwoSwitchStep && FRunning.mode != AccessMode::StepDwell)
    return outcome();
  step(nowMs);
  FDeadline = -1;
  if (FRunning.mode == AccessMode::StepDwell && !FSwitchDown)
    FDeadline = nowMs + FRunning.dwellMs;
  return outcome();
}

ScanOutcome Scanner::lost(qint64 nowMs) {
  Q_UNUSED(nowMs);
  if (automatic() || FPhase == Phase::Stopped)
    return outcome();
  FSwitchDown = false;
  FHold = Hold::None;
  FDeadline = -1; // nothing moves and nothing is chosen until the next press
  return outcome();
}

ScanOutcome Scanner::tickStepping(qint64 nowMs) {
  switch (FRunning.mode) {
  case AccessMode::Automatic:
  case AccessMode::TwoSwitchStep:
    break;
  case AccessMode::Inverse:
    if (!FSwitchDown)
      break;
    step(nowMs);
    scheduleAfterTick(nowMs, phasePaceMs());
    break;
  case AccessMode::StepDwell:
    if (FSwitchDown)
      break;
    return choose(nowMs);
  }
  return outcome();
}
