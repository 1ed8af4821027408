// The one switch of the person who uses the board, made from raw key events: every switch key
// is the same switch (it is down while any of them is), auto-repeats are removed (flagged or
// not), and a press acts once, gated by the scanning phase. Time is an input, so the rules can
// be tested without waiting.
#pragma once

#include <QtGlobal>

#include <functional>
#include <limits>
#include <optional>
#include <set>

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
    // A press counts only when held this long (0: at once); while it is held the scan holds
    // still, and the choice is made when the time is reached, in both phases.
    int acceptanceMs = 0;
    int pauseMs = 0; // presses that begin this soon after an action are ignored
  };

  // How long a release waits for the press that would make it one of an auto-repeat pair.
  // X sends both halves of a pair together, so a few milliseconds would do; the margin is
  // for a busy machine. The scan holds still meanwhile, so that the release acts on what was
  // lit when it happened.
  static constexpr int kRepeatGraceMs = 30;

  // Why the scan must hold still: a press waits for its acceptance time (if the switch is let
  // go before, the scan goes on with a full pace), or a release waits to be told from an
  // auto-repeat (if it was one, the scan goes on as if nothing had happened).
  enum class Hold { Acceptance, Release };

  // The choice of the lit tab, and the action on the lit text.
  std::function<void(int virtualKey)> onTabChosen;
  std::function<void(int virtualKey)> onItemActivated;
  // What the switch would act on is fixed from onHoldStarted until onHoldEnded, which always
  // follows, after the choice when there is one.
  std::function<void(Hold)> onHoldStarted;
  std::function<void()> onHoldEnded;

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
  // While a press waits for its acceptance time: when it began.
  std::optional<qint64> acceptanceSince() const;
  // Forgets a key without acting: its release went to another window.
  void forget(int virtualKey);
  // Forgets every key that is down: the window lost the keyboard, and the releases will go
  // elsewhere.
  void forgetAll();

private:
  enum class Press {
    None,      // the switch is up
    Spent,     // its release does nothing (it chose a tab, was refused, or was accepted)
    Live,      // its release acts
    Accepting, // it waits for the acceptance time
  };
  void switchDown(qint64 nowMs);
  void accept(qint64 nowMs);
  void releaseCertain(qint64 nowMs);
  void switchLost();
  void startHold(Hold hold);
  void endHold();
  void act(const std::function<void(int)>& action, int virtualKey, qint64 nowMs);

  Phase FPhase = Phase::Off;
  Settings FSettings;
  std::set<int> FDown; // the switch keys that are down
  int FLastKey = 0;    // the key that went down first, or went up last: the one reported
  Press FPress = Press::None;
  qint64 FDownAt = 0;
  bool FReleasePending = false; // the last key went up; waiting to be sure it is no auto-repeat
  qint64 FReleasedAt = 0;
  bool FHolding = false; // onHoldStarted was told, onHoldEnded not yet
  qint64 FPauseUntil = std::numeric_limits<qint64>::min();
};
