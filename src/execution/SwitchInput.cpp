// The switch's rules: one press, one action, whatever the keyboard repeats and however many
// keys the hand covers.
#include "execution/SwitchInput.h"

#include "platform/SwitchKeys.h"

void SwitchInput::setSettings(const Settings& settings) {
  const bool sameKeys = settings.mode == FSettings.mode && settings.moveKey == FSettings.moveKey &&
                        settings.chooseKey == FSettings.chooseKey;
  FSettings = settings;
  if (sameKeys)
    return;
  FDown.clear();
  FPress = Press::None;
  FReleasePending = false;
  FRoles = {};
  endHold();
}

bool SwitchInput::isSwitchKey(int virtualKey) const {
  return automatic() ? switchkeys::isSwitchKey(virtualKey) : roleOf(virtualKey).has_value();
}

void SwitchInput::noteAction(qint64 nowMs) {
  if (FSettings.pauseMs > 0)
    FPauseUntil = nowMs + FSettings.pauseMs;
}

bool SwitchInput::keyDown(int virtualKey, bool autoRepeat, qint64 nowMs) {
  if (!isSwitchKey(virtualKey))
    return false;
  if (autoRepeat)
    return true;
  timeout(nowMs); // what fell due before this key comes first
  if (!automatic()) {
    roleDown(*roleOf(virtualKey), virtualKey, nowMs);
    return true;
  }
  if (!FDown.insert(virtualKey).second)
    return true; // a key already down cannot be pressed again
  if (FDown.size() > 1)
    return true; // another key of a switch already down: a palm or a fist on the keypad
  if (FReleasePending) {
    // The switch never went up: the release was half of an auto-repeat pair, or another key
    // took over from the last one within a few milliseconds. A press waiting for its
    // acceptance time keeps its time; a release that held the scan lets it go on.
    FReleasePending = false;
    if (FPress == Press::Live)
      endHold();
    timeout(nowMs);
    return true;
  }
  FLastKey = virtualKey;
  switchDown(nowMs);
  return true;
}

bool SwitchInput::keyUp(int virtualKey, bool autoRepeat, qint64 nowMs) {
  if (!isSwitchKey(virtualKey))
    return false;
  if (autoRepeat)
    return true;
  timeout(nowMs);
  if (!automatic()) {
    roleUp(*roleOf(virtualKey), virtualKey, nowMs);
    return true;
  }
  // A release without its press (the press went to a dialog) does nothing, and so does the
  // release of one key while another still holds the switch down.
  if (FDown.erase(virtualKey) == 0 || !FDown.empty())
    return true;
  FLastKey = virtualKey;
  FReleasePending = true;
  FReleasedAt = nowMs;
  if (FPress == Press::Live) {
    if (phase() == Phase::Texts)
      startHold(Hold::Release); // what is lit now is what the release acts on
    else
      FPress = Press::Spent; // the scan went back to the tabs meanwhile: nothing is lit
  }
  return true;
}

void SwitchInput::switchDown(qint64 nowMs) {
  FDownAt = nowMs;
  const Phase p = phase();
  if (p == Phase::Off || p == Phase::TextsWaiting || nowMs < FPauseUntil) {
    // A press that begins during the pause after an action is ignored, its release too.
    FPress = Press::Spent;
    return;
  }
  if (FSettings.acceptanceMs > 0) {
    FPress = Press::Accepting;
    startHold(Hold::Acceptance);
    return;
  }
  if (p == Phase::Texts) {
    FPress = Press::Live; // in the text phase the release acts
    return;
  }
  FPress = Press::Spent; // the release that ends the press which chose the tab does nothing
  act(onTabChosen, FLastKey, nowMs);
}

void SwitchInput::accept(qint64 nowMs) {
  FPress = Press::Spent;
  const Phase p = phase();
  if (p == Phase::Tabs)
    act(onTabChosen, FLastKey, nowMs);
  else if (p == Phase::Texts)
    act(onItemActivated, FLastKey, nowMs);
  endHold();
}

void SwitchInput::releaseCertain(qint64 nowMs) {
  const Press press = FPress;
  FPress = Press::None;
  if (press == Press::Live && FHolding && phase() == Phase::Texts)
    act(onItemActivated, FLastKey, nowMs);
  // A press let go before its acceptance time: the scan goes on, with a full pace.
  endHold();
}

void SwitchInput::switchLost() {
  FPress = Press::None;
  endHold();
}

void SwitchInput::forget(int virtualKey) {
  if (!automatic()) {
    if (const auto role = roleOf(virtualKey)) {
      RoleState& st = state(*role);
      if (st.down.erase(virtualKey) > 0 && st.down.empty())
        roleLost(*role);
    }
    return;
  }
  if (FDown.erase(virtualKey) > 0 && FDown.empty())
    switchLost();
}

void SwitchInput::forgetAll() {
  for (size_t r = 0; r < FRoles.size(); ++r)
    if (!FRoles[r].down.empty())
      roleLost(Role(r));
  if (FDown.empty())
    return;
  FDown.clear();
  switchLost();
}

void SwitchInput::startHold(Hold hold) {
  FHolding = true;
  if (onHoldStarted)
    onHoldStarted(hold);
}

void SwitchInput::endHold() {
  if (!FHolding)
    return;
  FHolding = false;
  if (onHoldEnded)
    onHoldEnded();
}

void SwitchInput::act(const std::function<void(int)>& action, int virtualKey, qint64 nowMs) {
  noteAction(nowMs);
  if (action)
    action(virtualKey);
}

void SwitchInput::timeout(qint64 nowMs) {
  if (!automatic()) {
    while (roleTimeout(nowMs)) {
    }
    return;
  }
  for (;;) {
    if (FReleasePending && nowMs >= FReleasedAt + kRepeatGraceMs) {
      FReleasePending = false;
      releaseCertain(nowMs);
    } else if (FPress == Press::Accepting && !FReleasePending &&
               nowMs >= FDownAt + FSettings.acceptanceMs) {
      accept(nowMs);
    } else {
      return;
    }
  }
}

std::optional<qint64> SwitchInput::nextDeadline() const {
  if (!automatic())
    return roleDeadline();
  if (FReleasePending)
    return FReleasedAt + kRepeatGraceMs;
  if (FPress == Press::Accepting)
    return FDownAt + FSettings.acceptanceMs;
  return std::nullopt;
}

std::optional<qint64> SwitchInput::acceptanceSince() const {
  for (const RoleState& st : FRoles)
    if (st.press == Press::Accepting)
      return st.downAt;
  if (FPress == Press::Accepting)
    return FDownAt;
  return std::nullopt;
}
