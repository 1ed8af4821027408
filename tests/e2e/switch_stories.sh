#!/usr/bin/env bash
# The switch and the shortcuts through the real input path: every story with no window
# manager (a kiosk session) and with one (openbox), the two sessions side by side on displays
# of their own.
# Arguments: the built program, the test data folder.
set -u
BIN=${1:?usage: switch_stories.sh ORIVOX_BINARY DATA_FOLDER}
HERE=$(dirname "$0")
/usr/bin/python3 "$HERE/switch_stories.py" kiosk "$BIN" &
kiosk=$!
sleep 1 # the second session takes the next free display
/usr/bin/python3 "$HERE/switch_stories.py" openbox "$BIN" &
openbox=$!
status=0
wait "$kiosk" || status=1
wait "$openbox" || status=1
exit $status
