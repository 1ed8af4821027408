#!/usr/bin/env bash
# First start of the program alone in an empty folder, under Xvfb: it makes "fic" and "conf"
# beside itself, writes the enciphered initial password, and closes without a question.
# Arguments: the built program, the test data folder.
set -u
BIN=${1:?usage: first_start.sh ORIVOX_BINARY DATA_FOLDER}

# shellcheck source=lib/x11.sh
source "$(dirname "$0")/lib/x11.sh"

start_xvfb
unset QT_QPA_PLATFORM
cp "$BIN" "$WORK/orivox" || fail "cannot copy the program"
"$WORK/orivox" >"$WORK/app.log" 2>&1 &
APP_PID=$!

WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Orivox v1\.0$' 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "no window 'Orivox v1.0' within 30 s (program log: $(cat "$WORK/app.log"))"

[ -d "$WORK/fic" ] || fail "folder fic/ was not created"
[ -d "$WORK/conf" ] || fail "folder conf/ was not created"
[ -f "$WORK/conf/conf.txt" ] || fail "conf/conf.txt was not created"
# The encipherment of "wmo" under "ZebPlanar", then CR LF: the password line only.
got=$(hex "$WORK/conf/conf.txt")
[ "$got" = "4b4c800d0a" ] || fail "conf/conf.txt at start holds $got, expected 4b4c800d0a"

close_and_expect_exit "$WID"

# Rewritten at close: the password line and an empty board path (the board was never saved).
got=$(hex "$WORK/conf/conf.txt")
[ "$got" = "4b4c800d0a0d0a" ] || fail "conf/conf.txt after close holds $got, expected 4b4c800d0a0d0a"
[ -z "$(ls -A "$WORK/fic")" ] || fail "fic/ is not empty"
echo "first start: OK"
