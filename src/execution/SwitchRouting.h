// Outside automatic scanning, which input of the scanner each switch event is: the one place
// that says what the move switch, the choose switch and the only switch do in each mode.
#pragma once

#include "execution/Scanner.h"
#include "execution/SwitchInput.h"

namespace switchrouting {
// Feeds one event of a switch to the scanner and gives its answer. nowMs is the time it is
// fed; a release is measured from when the hand let go (e.atMs).
ScanOutcome route(Scanner& scanner, const SwitchInput::Event& e, qint64 nowMs);
} // namespace switchrouting
