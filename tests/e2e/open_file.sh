#!/usr/bin/env bash
# "orivox FILE", as the desktop starts it for a file opened with Orivox, under Xvfb: a ".ord" board
# opens as itself (its path in the title, and named in conf.txt after a clean close); an ".obz"
# package opens as a new board made of its tabs, with no file of its own.
# Arguments: the built program, the test data folder.
set -u
BIN=${1:?usage: open_file.sh ORIVOX_BINARY DATA_FOLDER}
DATA=${2:?usage: open_file.sh ORIVOX_BINARY DATA_FOLDER}

# shellcheck source=lib/x11.sh
source "$(dirname "$0")/lib/x11.sh"

start_xvfb
unset QT_QPA_PLATFORM
mkdir -p "$WORK/prog" "$WORK/boards"
cp "$BIN" "$WORK/prog/orivox" || fail "cannot copy the program"
cp "$DATA/boards/texts.ord" "$WORK/boards/mes phrases.ord"
# The package from a board the import keeps whole ("mes phrases" has a text spelled like a
# command, which an import leaves out and tells in a message before the window shows).
"$WORK/prog/orivox" --convert "$DATA/boards/settings.ord" "$WORK/boards/repas.obz" ||
  fail "cannot make the package"

# 1. A board file opens as itself, whatever board the configuration named last.
(cd "$WORK/boards" && exec "$WORK/prog/orivox" "mes phrases.ord" >"$WORK/app.log" 2>&1) &
APP_PID=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name "^Orivox v1\.0 : $WORK/boards/mes phrases\.ord$" 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "no window naming the board within 30 s (log: $(cat "$WORK/app.log"))"
close_and_expect_exit "$WID" "a question at close would mean the board was taken as changed"
grep -aq "mes phrases.ord" "$WORK/prog/conf/conf.txt" ||
  fail "conf.txt does not name the board opened"

# 2. A package opens as a new board named after the package (its tabs are checked, with what an
# import leaves out, by the window tests; the round trip by convert.sh).
"$WORK/prog/orivox" "$WORK/boards/repas.obz" \
  >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Orivox v1\.0 : repas\.obz$' 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "no window for the package within 30 s (log: $(cat "$WORK/app.log"))"
kill "$APP_PID" 2>/dev/null
wait "$APP_PID" 2>/dev/null
APP_PID=""
echo "open file: OK"
