// The switches of the person who uses the board, made from raw key events: every key of a
// switch is the same switch (it is down while any of them is), auto-repeats are removed (flagged
// or not), and a press acts once. With automatic scanning the one switch is gated by the
// scanning phase; in the other access modes presses and releases of each switch are told as
// they are, and the scanner decides. Time is an input, so the rules can be tested without
// waiting.
#pragma once

#include "platform/AccessMode.h"

#include <QtGlobal>

#include <array>
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
    AccessMode mode = AccessMode::Automatic;
    // The keys of the two switches (board key codes); only two-switch stepping uses them.
    int moveKey = 32;
    int chooseKey = 13;
    // The move switch held this long moves on again, then once each pace (0: never). Only the
    // stepping modes use it; the keyboard's own auto-repeat never does.
    int moveRepeatDelayMs = 0;
    int moveRepeatPaceMs = 500;
  };

  // Which switch an event is of, outside automatic scanning: with two switches, the one that
  // moves or the one that chooses; with one switch, that switch.
  enum class Role { Move, Choose, Single };
  enum class Edge {
    Press,   // the switch went down (once held for the acceptance time, if there is one)
    Release, // it went up after a press that counted
    Repeat,  // held past the move-repeat delay: one more step, then one each pace
    Lost,    // it was forgotten while down (the window lost the keyboard): no choice
  };
  struct Event {
    Role role;
    Edge edge;
    qint64 atMs; // when it happened (a release is told a few ms late, once it is certain)
  };
  // Outside automatic scanning, every press, release and repeat of each switch.
  std::function<void(const Event&)> onSwitch;

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
  // A new access mode or new keys forget the keys that are down: their roles may have changed.
  void setSettings(const Settings& settings);
  const Settings& settings() const { return FSettings; }

  // Whether the key is one of a switch in the access mode set.
  bool isSwitchKey(int virtualKey) const;
  // The scanner chose something: presses that begin within the pause after it are ignored.
  void noteAction(qint64 nowMs);

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
  bool automatic() const { return FSettings.mode == AccessMode::Automatic; }

  // Outside automatic scanning each switch has its own keys and state.
  struct RoleState {
    std::set<int> down;
    Press press = Press::None;
    qint64 downAt = 0;
    bool releasePending = false;
    qint64 releasedAt = 0;
    qint64 nextRepeat = -1; // when a held move switch steps again; -1: it does not
  };
  std::optional<Role> roleOf(int virtualKey) const;
  RoleState& state(Role role) { return FRoles[size_t(role)]; }
  bool repeats(Role role) const;
  void roleDown(Role role, int virtualKey, qint64 nowMs);
  void roleUp(Role role, int virtualKey, qint64 nowMs);
  void rolePressCounts(Role role, qint64 atMs);
  // Runs one thing that fell due by nowMs; false when nothing did.
  bool roleTimeout(qint64 nowMs);
  std::optional<qint64> roleDeadline() const;
  void roleLost(Role role);
  void tell(Role role, Edge edge, qint64 atMs);
  std::array<RoleState, 3> FRoles;

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
