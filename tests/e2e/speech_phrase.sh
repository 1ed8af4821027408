#!/usr/bin/env bash
# A validated phrase reaches the real speech service: a speech-dispatcher of the test's own,
# whose output module writes each text it is asked to say into a file, serves the program
# under Xvfb. The board says its prompts and its phrases; the switch (keypad 0, sent through
# XTEST with Num Lock on) chooses "bonjour" as its prompt is heard, then VALIDATION; the file
# then holds the phrase after the VALIDATION prompt, in French although the service's own
# default language is English. The service is then killed: the program must neither hang nor
# end, and closes as usual.
# Arguments: the built program, the test data folder.
set -u
BIN=${1:?usage: speech_phrase.sh ORIVOX_BINARY DATA_FOLDER}
DATA=${2:?usage: speech_phrase.sh ORIVOX_BINARY DATA_FOLDER}

# shellcheck source=lib/x11.sh
source "$(dirname "$0")/lib/x11.sh"
SPD_PID=""
trap '[ -n "$SPD_PID" ] && kill "$SPD_PID" 2>/dev/null; cleanup' EXIT

command -v speech-dispatcher >/dev/null || fail "speech-dispatcher is not installed (scripts/install-deps.sh)"
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || fail "the generic output module is missing"

SAID="$WORK/said.txt"
SPD="$WORK/spd"
mkdir -p "$SPD/conf/modules" "$SPD/log"
: >"$SAID"
cat >"$SPD/conf/speechd.conf" <<CONF
LogLevel 3
AudioOutputMethod "libao"
DefaultLanguage "en"
AddModule "record" "sd_generic" "record.conf"
DefaultModule record
CONF
cat >"$SPD/conf/modules/record.conf" <<CONF
Debug 0
GenericExecuteSynth "printf '%s %s\\\\n' \\'\$LANGUAGE\\' \\'\$DATA\\' >> $SAID"
GenericLanguage "fr" "fr" "utf-8"
GenericLanguage "en" "en" "utf-8"
AddVoice "fr" "MALE1" "fr"
AddVoice "en" "MALE1" "en"
CONF
speech-dispatcher -s -C "$SPD/conf" -S "$SPD/socket" -P "$SPD/pid" -t 0 -L "$SPD/log" >"$SPD/out.log" 2>&1 &
SPD_PID=$!
for i in $(seq 1 100); do
  [ -S "$SPD/socket" ] && break
  sleep 0.1
done
[ -S "$SPD/socket" ] || fail "speech-dispatcher did not open its socket within 10 s: $(cat "$SPD/out.log")"
export SPEECHD_ADDRESS="unix_socket:$SPD/socket"

start_xvfb
unset QT_QPA_PLATFORM
BOARD="$WORK/parle.ord"
# One tab "Phrases" holding "bonjour", paces of 3 s and 2 s, then the settings block.
/usr/bin/python3 - "$DATA/boards/default.ord" "$BOARD" <<'PY' || fail "cannot write the board"
import sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")[:-1]
head, final = lines[:32], lines[-7:]
head[1], head[2], head[4] = b"3", b"2", b"1"
block = [b"1", b"Phrases", b"bonjour", b""]
settings = [b"#OrivoxSettings 1", b"speakPhrase=1", b"speakPrompts=1"]
open(sys.argv[2], "wb").write(b"\r\n".join(head + block + final + settings) + b"\r\n")
PY
cp "$BIN" "$WORK/orivox" || fail "cannot copy the program"
mkdir -p "$WORK/conf"
printf '\x4B\x4C\x80\r\n%s\r\n' "$BOARD" >"$WORK/conf/conf.txt"

# Num Lock goes on before the program runs: its own key is a switch key too.
cat >"$WORK/keys.py" <<'PY'
import sys, time
from Xlib import X, XK, display
from Xlib.ext import xtest
d = display.Display()
def tap(name):
    code = d.keysym_to_keycode(XK.string_to_keysym(name))
    xtest.fake_input(d, X.KeyPress, code)
    d.sync()
    time.sleep(0.08)
    xtest.fake_input(d, X.KeyRelease, code)
    d.sync()
tap(sys.argv[1])
PY
/usr/bin/python3 "$WORK/keys.py" Num_Lock || fail "cannot switch Num Lock on"

"$WORK/orivox" >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name "^Orivox v1\.0 : $BOARD\$" 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "no window showing the board within 30 s (program log: $(cat "$WORK/app.log"))"
xdotool mousemove --window "$WID" 10 10
# There is no window manager to activate the window: give it the keyboard focus directly.
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"

# Lines said so far, one per message.
said_count() { grep -c -x -F "$1" "$SAID"; }
wait_said() { # text, count to reach, seconds
  local i
  for i in $(seq 1 $(($3 * 10))); do
    [ "$(said_count "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
switch() { /usr/bin/python3 "$WORK/keys.py" KP_Insert || fail "cannot press the switch"; }

sleep 1
switch # the tab phase: the one tab is chosen, its texts are scanned
wait_said "fr bonjour" 1 20 || fail "the prompt \"bonjour\" was not said within 20 s (said: $(tr '\n' '|' <"$SAID"))"
switch
wait_said "fr VALIDATION" 1 30 || fail "the prompt \"VALIDATION\" was not said within 30 s (said: $(tr '\n' '|' <"$SAID"))"
switch
# The phrase is the next thing said after the VALIDATION prompt, before any later prompt.
for i in $(seq 1 100); do
  phrase=$(sed -n '/^fr VALIDATION$/{n;p;q}' "$SAID")
  [ -n "$phrase" ] && break
  sleep 0.1
done
[ "$phrase" = "fr bonjour" ] || fail "after VALIDATION the service was asked to say \"$phrase\", expected \"bonjour\" in French (said: $(tr '\n' '|' <"$SAID"))"

# The service dies while prompts are still being sent: the program goes on, and closes as usual.
kill -9 "$SPD_PID"
wait "$SPD_PID" 2>/dev/null
SPD_PID=""
sleep 5
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended when the speech service died (log: $(cat "$WORK/app.log"))"
close_and_expect_exit "$WID"
echo "speech of a validated phrase: OK ($(tr '\n' '|' <"$SAID"))"
