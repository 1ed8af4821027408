# Shared by the end-to-end scripts: a scratch folder cleaned up on exit, an Xvfb display of
# their own, closing the window without a window manager, and bounded waits.
# Sourced; the script sets APP_PID once the program runs.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

WORK=$(mktemp -d)
XVFB_PID=""
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# An Xvfb of our own on the first free display number from one drawn from our process id.
start_xvfb() {
  local n=$((100 + $$ % 400)) attempt i
  for attempt in $(seq 1 40); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -nolisten tcp -screen 0 1280x1024x24 >"$WORK/xvfb.log" 2>&1 &
      XVFB_PID=$!
      for i in $(seq 1 100); do
        kill -0 "$XVFB_PID" 2>/dev/null || break
        if xdpyinfo -display ":$n" >/dev/null 2>&1; then
          export DISPLAY=":$n"
          return 0
        fi
        sleep 0.1
      done
      kill "$XVFB_PID" 2>/dev/null
      wait "$XVFB_PID" 2>/dev/null
      XVFB_PID=""
    fi
    n=$((n + 1))
  done
  fail "could not start Xvfb on any display"
}

# There is no window manager: ask the window to close as one would, with WM_DELETE_WINDOW.
close_window() {
  /usr/bin/python3 - "$1" <<'PY' || fail "could not send WM_DELETE_WINDOW"
import sys
from Xlib import X, display, protocol
d = display.Display()
w = d.create_resource_object("window", int(sys.argv[1]))
event = protocol.event.ClientMessage(
    window=w, client_type=d.intern_atom("WM_PROTOCOLS"),
    data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
w.send_event(event, event_mask=X.NoEventMask)
d.sync()
PY
}

# Waits up to $2 seconds for the program to end; its exit status, or 124 when it does not.
wait_exit() {
  local i
  for i in $(seq 1 $(($2 * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      return $?
    fi
    sleep 0.1
  done
  return 124
}

hex() { od -An -tx1 -v "$1" | tr -d ' \n'; }

# Asks the window $1 to close and expects the program to end cleanly within 20 s; $2, when
# given, says what may have kept it open.
close_and_expect_exit() {
  local status
  close_window "$1"
  wait_exit "$APP_PID" 20
  status=$?
  [ "$status" = 124 ] && fail "the program did not end within 20 s of the close request${2:+ ($2)}"
  APP_PID=""
  [ "$status" = 0 ] || fail "the program ended with status $status"
}
