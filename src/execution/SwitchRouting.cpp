// The move switch (and a held switch's move-repeat) steps; the choose switch, or the only one,
// goes down and up as the scanner's switch; a switch lost while down stops what it held.
#include "execution/SwitchRouting.h"

namespace switchrouting {

ScanOutcome route(Scanner& scanner, const SwitchInput::Event& e, qint64 nowMs) {
  using Edge = SwitchInput::Edge;
  switch (e.edge) {
  case Edge::Press:
    return e.role == SwitchInput::Role::Move ? scanner.moved(nowMs) : scanner.pressed(nowMs);
  case Edge::Repeat:
    return scanner.moved(nowMs);
  case Edge::Release:
    if (e.role == SwitchInput::Role::Move)
      return scanner.current(); // letting go of the move switch does nothing
    return scanner.released(e.atMs);
  case Edge::Lost:
    return scanner.lost(nowMs);
  }
  return scanner.current();
}

} // namespace switchrouting
