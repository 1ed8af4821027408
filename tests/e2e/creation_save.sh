#!/usr/bin/env bash
# A carer's save under Xvfb: the program opens the board named in its configuration, CTRL+C
# with the password typed in the prompt, CTRL+R, close; the file then holds the board in the
# writer's form, and the configuration still names it.
# Arguments: the built program, the test data folder.
set -u
BIN=${1:?usage: creation_save.sh ORIVOX_BINARY DATA_FOLDER}

# shellcheck source=lib/x11.sh
source "$(dirname "$0")/lib/x11.sh"

# Waits up to $2 seconds for a visible window whose name matches $1; prints its id.
find_window() {
  timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

start_xvfb
unset QT_QPA_PLATFORM
DATA=${2:?usage: creation_save.sh ORIVOX_BINARY DATA_FOLDER}
BOARD="$WORK/tableau.ord"
EXPECTED="$DATA/boards/texts-saved.ord"
cp "$BIN" "$WORK/orivox" || fail "cannot copy the program"
cp "$DATA/boards/texts.ord" "$BOARD" || fail "cannot copy the board"
mkdir -p "$WORK/conf"
# The encipherment of "wmo", then the path of the last board.
printf '\x4B\x4C\x80\r\n%s\r\n' "$BOARD" >"$WORK/conf/conf.txt"
cmp -s "$BOARD" "$EXPECTED" && fail "the board is already in the saved form: the test would prove nothing"

"$WORK/orivox" >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(find_window "^Orivox v1\.0 : $BOARD\$" 30)
[ -n "$WID" ] || fail "no window showing the board within 30 s (program log: $(cat "$WORK/app.log"))"
xdotool mousemove --window "$WID" 10 10

xdotool key --clearmodifiers ctrl+c
PROMPT=$(find_window '^Veuillez rentrer le mot de passe$' 10)
[ -n "$PROMPT" ] || fail "CTRL+C showed no password prompt within 10 s"
xdotool type --delay 50 wmo
xdotool key Return
for i in $(seq 1 100); do
  xdotool search --onlyvisible --name '^Veuillez rentrer le mot de passe$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Veuillez rentrer le mot de passe$' >/dev/null 2>&1 &&
  fail "the password prompt is still open 10 s after Enter"

xdotool key --clearmodifiers ctrl+r
for i in $(seq 1 100); do
  cmp -s "$BOARD" "$EXPECTED" && break
  sleep 0.1
done
cmp -s "$BOARD" "$EXPECTED" || fail "CTRL+R did not save the board in the expected form within 10 s: $(cmp "$BOARD" "$EXPECTED" 2>&1)"

# Just saved: closing asks nothing and the program ends by itself.
close_and_expect_exit "$WID" "a question left open?"

cmp -s "$BOARD" "$EXPECTED" || fail "the board file changed at close: $(cmp "$BOARD" "$EXPECTED" 2>&1)"
conf_expected=$(printf '\x4B\x4C\x80\r\n%s\r\n' "$BOARD" | od -An -tx1 -v | tr -d ' \n')
got=$(hex "$WORK/conf/conf.txt")
[ "$got" = "$conf_expected" ] || fail "conf/conf.txt after close holds $got, expected $conf_expected"
echo "creation mode save: OK"
