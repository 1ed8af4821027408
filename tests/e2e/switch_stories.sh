#!/usr/bin/env bash
# The switch and the shortcuts through the real input path: every story with no window
# manager (a kiosk session) and with one (openbox), the two sessions side by side on displays
# of their own.
# Arguments: the built program, the test data folder.
exec /usr/bin/python3 "$(dirname "$0")/switch_stories.py" both \
  "${1:?usage: switch_stories.sh ORIVOX_BINARY DATA_FOLDER}"
