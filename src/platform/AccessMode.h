// How the person reaches the board's items: the one switch with automatic scanning, two switches
// stepping and choosing, one switch held while the highlight moves, or one switch stepping with
// a choice made by waiting.
#pragma once

enum class AccessMode {
  Automatic,     // the highlight moves by itself; the switch chooses
  TwoSwitchStep, // one switch moves the highlight, the other chooses; nothing moves by itself
  Inverse,       // the highlight moves while the switch is held; letting go chooses
  StepDwell,     // each press moves the highlight; no press for the dwell time chooses
};
