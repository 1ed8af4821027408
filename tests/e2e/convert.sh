#!/usr/bin/env bash
# "orivox --convert IN OUT" with no display at all: boards through both Open Board Format files
# and back unchanged, a board made elsewhere with what was left out told, and refusals that
# create nothing.
# Usage: convert.sh <built orivox binary> <tests/data folder>
set -euo pipefail

BIN="$1"
DATA="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# No display, no platform: a conversion must never make a window.
convert() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$BIN" --convert "$@"; }

# 1. Orivox boards through .obz and .obf come back byte for byte as Orivox saves them.
for board in default settings; do
  convert "$DATA/boards/$board.ord" "$WORK/$board-saved.ord" 2>"$WORK/err" || fail "$board: .ord to .ord"
  for via in obz obf; do
    convert "$DATA/boards/$board.ord" "$WORK/$board.$via" 2>>"$WORK/err" || fail "$board: to .$via"
    convert "$WORK/$board.$via" "$WORK/$board-from-$via.ord" 2>>"$WORK/err" || fail "$board: from .$via"
    cmp -s "$WORK/$board-saved.ord" "$WORK/$board-from-$via.ord" || fail "$board changed through .$via"
  done
  [ ! -s "$WORK/err" ] || { cat "$WORK/err" >&2; fail "$board: messages on a clean conversion"; }
done
python3 -c 'import sys, zipfile; sys.exit("manifest.json" not in zipfile.ZipFile(sys.argv[1]).namelist())' \
  "$WORK/default.obz" || fail "the package has no manifest.json"

# 2. A board made elsewhere: converted, and what it could not keep is told (exit status 0).
cat >"$WORK/elsewhere.obf" <<'JSON'
{"format":"open-board-0.1","id":"1","locale":"en","name":"Accueil",
 "buttons":[{"id":1,"label":"bonjour","image_id":"i"},{"id":2,"label":"effacer","action":":clear"}],
 "grid":{"rows":1,"columns":3,"order":[[1,null,2]]},"images":[],"sounds":[]}
JSON
convert "$WORK/elsewhere.obf" "$WORK/elsewhere.ord" 2>"$WORK/err" || fail "a board made elsewhere was refused"
expected="Laissé de côté à l'import : 1 image et 1 action autre qu'un texte."
[ "$(cat "$WORK/err")" = "$expected" ] || fail "unexpected message: $(cat "$WORK/err")"
grep -q '^bonjour' "$WORK/elsewhere.ord" || fail "the text of the board made elsewhere is missing"

# 3. Refusals: a message, a non-zero status, and no file made.
expect_refusal() { # expected message, then the arguments
  local message="$1"
  shift
  if convert "$@" 2>"$WORK/err"; then fail "accepted: $*"; fi
  [ "$(head -1 "$WORK/err")" = "$message" ] || fail "unexpected message for $*: $(cat "$WORK/err")"
}
expect_refusal "Import impossible : le fichier « $WORK/absent.ord » n'existe pas." \
  "$WORK/absent.ord" "$WORK/out.obz"
expect_refusal "Conversion impossible : « $WORK/out.txt » n'est ni un .ord, ni un .obf, ni un .obz." \
  "$DATA/boards/default.ord" "$WORK/out.txt"
expect_refusal "--convert attend deux fichiers : l'entrée et la sortie." "$DATA/boards/default.ord"
python3 - "$WORK/slip.obz" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("manifest.json", '{"format":"open-board-0.1","root":"../../etc/passwd","paths":{"boards":{}}}')
PY
expect_refusal "Import impossible : le chemin « ../../etc/passwd » sort du paquet." \
  "$WORK/slip.obz" "$WORK/out.ord"
[ ! -e "$WORK/out.obz" ] && [ ! -e "$WORK/out.txt" ] && [ ! -e "$WORK/out.ord" ] ||
  fail "a refused conversion made a file"

# 4. The input under another name is refused, and leaves it as it was.
cp "$DATA/boards/default.ord" "$WORK/same.ord"
ln -s "$WORK/same.ord" "$WORK/symbolic.ord"
ln "$WORK/same.ord" "$WORK/hard.ord"
for other in symbolic.ord hard.ord; do
  expect_refusal "Conversion impossible : l'entrée et la sortie sont le même fichier." \
    "$WORK/same.ord" "$WORK/$other"
done
cmp -s "$DATA/boards/default.ord" "$WORK/same.ord" || fail "the input changed"

# 5. Wherever Qt's own options stand, a conversion makes no window; a replaced export is kept
#    as ".bak", as a replaced board is.
for via in obz obf; do
  env -u DISPLAY "$BIN" -platform offscreen --convert "$DATA/boards/default.ord" "$WORK/kept.$via" ||
    fail "-platform offscreen --convert to .$via"
  cp "$WORK/kept.$via" "$WORK/first.$via"
  env -u DISPLAY "$BIN" -platform offscreen --convert "$DATA/boards/settings.ord" "$WORK/kept.$via" ||
    fail "second conversion to .$via"
  cmp -s "$WORK/first.$via" "$WORK/kept.$via.bak" || fail "the replaced .$via was not kept as .bak"
done

echo "conversions and refusals as expected"
