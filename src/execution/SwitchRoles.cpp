// The switches outside automatic scanning: each switch (move, choose, or the only one) has its
// own keys, its own press and its own release; what they do is the scanner's to decide.
#include "execution/SwitchInput.h"

#include "platform/SwitchKeys.h"

#include <algorithm>

std::optional<SwitchInput::Role> SwitchInput::roleOf(int virtualKey) const {
  switch (FSettings.mode) {
  case AccessMode::Automatic:
    return std::nullopt;
  case AccessMode::TwoSwitchStep:
    // Both on one key cannot be told apart: the key chooses, which never loses the person a
    // way to act.
    if (virtualKey == FSettings.chooseKey)
      return Role::Choose;
    if (virtualKey == FSettings.moveKey)
      return Role::Move;
    return std::nullopt;
  case AccessMode::Inverse:
  case AccessMode::StepDwell:
    if (switchkeys::isSwitchKey(virtualKey))
      return Role::Single;
    return std::nullopt;
  }
  return std::nullopt;
}

bool SwitchInput::repeats(Role role) const {
  if (FSettings.moveRepeatDelayMs <= 0)
    return false;
  return role == Role::Move || (role == Role::Single && FSettings.mode == AccessMode::StepDwell);
}

void SwitchInput::roleDown(Role role, int virtualKey, qint64 nowMs) {
  RoleState& st = state(role);
  if (!st.down.insert(virtualKey).second || st.down.size() > 1)
    return; // a key already down, or another key of the same switch: one switch still
  if (st.releasePending) {
    // Half of an auto-repeat pair, or another key took over at once: the switch never went up.
    st.releasePending = false;
    if (st.press == Press::Live && FSettings.mode == AccessMode::Inverse)
      endHold();
    return;
  }
  st.downAt = nowMs;
  if (phase() == Phase::Off || nowMs < FPauseUntil) {
    st.press = Press::Spent; // its release does nothing either
    return;
  }
  // Held inverse scanning measures its own brush on release: the acceptance time is not a wait.
  if (FSettings.acceptanceMs > 0 && FSettings.mode != AccessMode::Inverse) {
    st.press = Press::Accepting;
    startHold(Hold::Acceptance);
    return;
  }
  rolePressCounts(role, nowMs);
}

void SwitchInput::rolePressCounts(Role role, qint64 atMs) {
  RoleState& st = state(role);
  st.press = Press::Live;
  st.nextRepeat = repeats(role) ? atMs + FSettings.moveRepeatDelayMs : -1;
  tell(role, Edge::Press, atMs);
}

void SwitchInput::roleUp(Role role, int virtualKey, qint64 nowMs) {
  RoleState& st = state(role);
  if (st.down.erase(virtualKey) == 0 || !st.down.empty())
    return; // a release without its press, or another key still holds the switch
  st.releasePending = true;
  st.releasedAt = nowMs;
  // While the release is told from an auto-repeat the held highlight stops, so that letting go
  // chooses what was lit when the hand let go.
  if (st.press == Press::Live && FSettings.mode == AccessMode::Inverse)
    startHold(Hold::Release);
}

namespace {
constexpr qint64 kNever = std::numeric_limits<qint64>::max();
}

std::optional<qint64> SwitchInput::roleDeadline() const {
  qint64 due = kNever;
  for (const RoleState& st : FRoles) {
    if (st.releasePending)
      due = std::min(due, st.releasedAt + kRepeatGraceMs);
    else if (st.press == Press::Accepting)
      due = std::min(due, st.downAt + FSettings.acceptanceMs);
    else if (st.press == Press::Live && st.nextRepeat >= 0)
      due = std::min(due, st.nextRepeat);
  }
  if (due == kNever)
    return std::nullopt;
  return due;
}

bool SwitchInput::roleTimeout(qint64 nowMs) {
  // The earliest thing due first, whichever switch it is of.
  const auto due = roleDeadline();
  if (!due || *due > nowMs)
    return false;
  for (size_t r = 0; r < FRoles.size(); ++r) {
    RoleState& st = FRoles[r];
    const Role role = Role(r);
    if (st.releasePending && st.releasedAt + kRepeatGraceMs == *due) {
      st.releasePending = false;
      const Press press = st.press;
      st.press = Press::None;
      st.nextRepeat = -1;
      if (press == Press::Live)
        tell(role, Edge::Release, st.releasedAt);
      endHold(); // a press let go before its acceptance time holds the scan no more
      return true;
    }
    if (!st.releasePending && st.press == Press::Accepting &&
        st.downAt + FSettings.acceptanceMs == *due) {
      rolePressCounts(role, *due);
      endHold();
      return true;
    }
    if (!st.releasePending && st.press == Press::Live && st.nextRepeat == *due) {
      st.nextRepeat += std::max(1, FSettings.moveRepeatPaceMs);
      tell(role, Edge::Repeat, *due);
      return true;
    }
  }
  return false;
}

void SwitchInput::roleLost(Role role) {
  RoleState& st = state(role);
  const Press press = st.press;
  const qint64 downAt = st.downAt;
  st = RoleState{};
  if (press == Press::Live)
    tell(role, Edge::Lost, downAt);
  endHold();
}

void SwitchInput::tell(Role role, Edge edge, qint64 atMs) {
  if (onSwitch)
    onSwitch(Event{role, edge, atMs});
}
