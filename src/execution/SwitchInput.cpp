// The switch's rules: one press, one action, whatever the keyboard repeats.
#include "execution/SwitchInput.h"

#include "platform/SwitchKeys.h"


bool SwitchInput::keyDown(int virtualKey, bool autoRepeat, qint64 nowMs) {
  if (!switchkeys::isSwitchKey(virtualKey))
    return false;
  if (autoRepeat)
    return true;
  auto it = FKeys.find(virtualKey);
  if (it != FKeys.end()) {
    Key& key = it->second;
    if (key.releasePending) {
      // The second half of an unflagged auto-repeat pair: the key never went up.
      key.releasePending = false;
      timeout(nowMs);
    }
    return true; // a key already down cannot be pressed again
  }
  Key& key = FKeys[virtualKey];
  key.downAt = nowMs;
  if (phase() == Phase::Off || nowMs < FPauseUntil) {
    // A press that begins during the pause after an action is ignored, its release too.
    key.spent = true;
    return true;
  }
  if (phase() != Phase::Tabs)
    return true; // in the text phase the release acts
  if (FSettings.acceptanceMs <= 0)
    acceptPress(virtualKey, key, nowMs);
  else
    key.pressPending = true;
  return true;
}

bool SwitchInput::keyUp(int virtualKey, bool autoRepeat, qint64 nowMs) {
  if (!switchkeys::isSwitchKey(virtualKey))
    return false;
  if (autoRepeat)
    return true;
  auto it = FKeys.find(virtualKey);
  if (it == FKeys.end() || it->second.releasePending)
    return true; // a release without its press (the press went to a dialog) does nothing
  Key& key = it->second;
  key.releasePending = true;
  key.releasedAt = nowMs;
  key.phaseAtRelease = phase();
  if (phase() == Phase::Texts && !key.spent && onReleaseStarted)
    onReleaseStarted(virtualKey);
  return true;
}

void SwitchInput::acceptPress(int virtualKey, Key& key, qint64 nowMs) {
  key.pressPending = false;
  key.spent = true; // the release that ends the press which chose the tab does nothing
  if (phase() == Phase::Tabs)
    act(onTabChosen, virtualKey, nowMs);
}

void SwitchInput::act(const std::function<void(int)>& action, int virtualKey, qint64 nowMs) {
  if (FSettings.pauseMs > 0)
    FPauseUntil = nowMs + FSettings.pauseMs;
  if (action)
    action(virtualKey);
}

void SwitchInput::timeout(qint64 nowMs) {
  // Actions may change the phase and the keys: take one due event at a time, anew.
  for (bool progressed = true; progressed;) {
    progressed = false;
    for (auto it = FKeys.begin(); it != FKeys.end(); ++it) {
      const int virtualKey = it->first;
      Key& key = it->second;
      if (key.pressPending && !key.releasePending &&
          nowMs >= key.downAt + FSettings.acceptanceMs) {
        acceptPress(virtualKey, key, nowMs);
        progressed = true;
        break;
      }
      if (key.releasePending && nowMs >= key.releasedAt + kRepeatGraceMs) {
        const Key released = key;
        FKeys.erase(it);
        const bool heldLongEnough = released.releasedAt - released.downAt >= FSettings.acceptanceMs;
        if (!released.spent && released.phaseAtRelease == Phase::Texts &&
            phase() == Phase::Texts && heldLongEnough)
          act(onItemActivated, virtualKey, nowMs);
        progressed = true;
        break;
      }
    }
  }
}

std::optional<qint64> SwitchInput::nextDeadline() const {
  std::optional<qint64> next;
  const auto consider = [&next](qint64 t) {
    if (!next || t < *next)
      next = t;
  };
  for (const auto& [virtualKey, key] : FKeys) {
    if (key.releasePending)
      consider(key.releasedAt + kRepeatGraceMs);
    else if (key.pressPending)
      consider(key.downAt + FSettings.acceptanceMs);
  }
  return next;
}

std::optional<qint64> SwitchInput::heldSince() const {
  std::optional<qint64> since;
  for (const auto& [virtualKey, key] : FKeys)
    if (!key.releasePending && (!since || key.downAt < *since))
      since = key.downAt;
  return since;
}
