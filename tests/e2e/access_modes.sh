#!/usr/bin/env bash
# The access modes through the real input path, with real keys: two switches (Space and
# Enter), a held keypad key, and presses with a wait; each story with no window manager and
# with one (openbox), the two sessions side by side on displays of their own.
# Arguments: the built program, the test data folder.
set -u
BIN=${1:?usage: access_modes.sh ORIVOX_BINARY DATA_FOLDER}
HERE=$(dirname "$0")
/usr/bin/python3 "$HERE/access_modes.py" kiosk "$BIN" &
kiosk=$!
sleep 1 # the second session takes the next free display
/usr/bin/python3 "$HERE/access_modes.py" openbox "$BIN" &
openbox=$!
status=0
wait "$kiosk" || status=1
wait "$openbox" || status=1
exit $status
