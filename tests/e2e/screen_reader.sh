#!/usr/bin/env bash
# What a screen reader hears while the board scans, through the real accessibility bus: each
# session (no window manager, then openbox) in a D-Bus session of its own, with the
# accessibility bus, its registry and a listener (tests/e2e/screen_reader.py).
# Arguments: the built program, the test data folder.
set -u
BIN=${1:?usage: screen_reader.sh ORIVOX_BINARY DATA_FOLDER}
HERE=$(dirname "$0")
for tool in dbus-run-session dbus-send /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || {
    echo "FAIL: $tool is missing (scripts/install-deps.sh)"
    exit 1
  }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || {
  echo "FAIL: python3-pyatspi is missing (scripts/install-deps.sh)"
  exit 1
}
status=0
for wm in kiosk openbox; do
  dbus-run-session -- /usr/bin/python3 "$HERE/screen_reader.py" "$wm" "$BIN" 2>&1 |
    grep -v -e 'Failed to set fd limit' -e '^dbus-daemon\[' -e 'SpiRegistry daemon'
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done
exit $status
