// The one switch of the person who uses the board, made from raw key events: auto-repeats
// removed (flagged or not), a press and its release counted once per key, and both gated by
// the scanning phase. Time is an input, so the rules can be tested without waiting.
#pragma once

#include <QtGlobal>

#include <functional>
#include <limits>
#include <map>
#include <optional>

class SwitchInput {
public:
  // Where the scanning stands, as the window tells it.
  enum class Phase {
    Off,          // creation mode: the switch does nothing
    Tabs,         // a press chooses the lit tab
    TextsWaiting, // a tab was chosen, no text is lit yet: nothing acts
    Texts,        // a release acts on the lit text
  };

  struct Settings {
    int acceptanceMs = 0; // a press counts only when held this long (0: at once)
    int pauseMs = 0;      // presses that begin this soon after an action are ignored
  };

  // How long a release waits for the press that would make it one of an auto-repeat pair.
  // X sends both halves of a pair together, so a few milliseconds would do; the margin is
  // for a busy machine. The release still acts on what was lit when it happened.
  static constexpr int kRepeatGraceMs = 30;

  // A press that chooses the lit tab; a release that acts on the lit text (told when it
  // starts, so that the window can note what was lit then, and again when it is certain).
  std::function<void(int virtualKey)> onTabChosen;
  std::function<void(int virtualKey)> onReleaseStarted;
  std::function<void(int virtualKey)> onItemActivated;

  void setPhase(Phase phase) { FPhase = phase; }
  // Or asked of the window each time, so that it can never be stale.
  std::function<Phase()> phaseSource;
  Phase phase() const { return phaseSource ? phaseSource() : FPhase; }
  void setSettings(const Settings& settings) { FSettings = settings; }
  const Settings& settings() const { return FSettings; }

  // Raw key events; keys that are no switch keys are ignored. Returns whether the key is a
  // switch key.
  bool keyDown(int virtualKey, bool autoRepeat, qint64 nowMs);
  bool keyUp(int virtualKey, bool autoRepeat, qint64 nowMs);
  // Runs what has fallen due by nowMs; call it at nextDeadline().
  void timeout(qint64 nowMs);
  std::optional<qint64> nextDeadline() const;
  // Whether the switch is held (some switch key down), and since when.
  std::optional<qint64> heldSince() const;
  // Forgets a key without acting: its release went to another window.
  void forget(int virtualKey) { FKeys.erase(virtualKey); }

private:
  struct Key {
    qint64 downAt = 0;
    bool pressPending = false;   // waiting for the acceptance time
    bool releasePending = false; // waiting to be sure the release is no auto-repeat
    qint64 releasedAt = 0;
    Phase phaseAtRelease = Phase::Off;
    bool spent = false; // its release does nothing (its press chose a tab, or was refused)
  };
  void act(const std::function<void(int)>& action, int virtualKey, qint64 nowMs);
  void acceptPress(int virtualKey, Key& key, qint64 nowMs);

  Phase FPhase = Phase::Off;
  Settings FSettings;
  std::map<int, Key> FKeys; // the keys that are down
  qint64 FPauseUntil = std::numeric_limits<qint64>::min();
};
