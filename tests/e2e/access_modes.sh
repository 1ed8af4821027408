#!/usr/bin/env bash
# The access modes through the real input path, with real keys: two switches (Space and
# Enter), a held keypad key, and presses with a wait; each story with no window manager and
# with one (openbox), the two sessions side by side on displays of their own.
# Arguments: the built program, the test data folder.
exec /usr/bin/python3 "$(dirname "$0")/access_modes.py" both \
  "${1:?usage: access_modes.sh ORIVOX_BINARY DATA_FOLDER}"
