#!/usr/bin/env bash
# Hostile Open Board Format files through "orivox --convert": each is refused (or, when it is a
# board after all, converted) within a few seconds and under 100 MB of memory, whatever its
# shape. The files are made here, never kept. Prints the time and peak memory of each.
# Usage: hostile_import.sh <built orivox binary> <tests/data folder>
set -euo pipefail

BIN="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

python3 - "$WORK" <<'PY'
import json, sys, zipfile
work = sys.argv[1]

def board(buttons, cells, extra=None):
    b = {"format": "open-board-0.1", "id": "b", "locale": "fr", "name": "Onglet",
         "buttons": buttons, "grid": {"rows": 1, "columns": len(cells), "order": [cells]}}
    b.update(extra or {})
    return json.dumps(b, separators=(",", ":"))

def package(name, obf):
    with zipfile.ZipFile(f"{work}/{name}", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        z.writestr("manifest.json", json.dumps(
            {"format": "open-board-0.1", "root": "boards/1.obf",
             "paths": {"boards": {"1": "boards/1.obf"}}}))
        z.writestr("boards/1.obf", obf)

def write(name, text):
    with open(f"{work}/{name}", "w") as f:
        f.write(text)

# One 32,000-character button named by about 4 million cells, in a few kilobytes.
package("grid.obz", board([{"id": "1", "label": "a" * 32000}], ["1"] * 4_000_000))
# A thousand actions on one button named by 10,000 cells: long label, then a short one.
actions = [f"+{i}" for i in range(1000)]
write("actions.obf", board([{"id": "1", "label": "a" * 10000, "actions": actions}], ["1"] * 10000))
write("actions-short.obf", board([{"id": "1", "label": "oui", "actions": actions}], ["1"] * 10000))
# 23 MB of small values; 23 MB in one label; as many padded buttons as the file's shape lets
# through (the costliest parse).
write("values.obf", board([], [None] * 5_000_000))
write("string.obf", board([{"id": "1", "label": "a" * (23 << 20)}], ["1"]))
write("buttons.obf", board([{"id": str(i), "label": "x", "ext_pad": "p" * 680}
                            for i in range(33000)], [str(i) for i in range(33000)]))
# 129 MB of blanks around a board: refused unread.
write("blank.obf", board([{"id": "1", "label": "x"}], ["1"]) + " " * (129 << 20))
PY

# name, expected status, expected first line of the messages
check() {
  local file="$1" status="$2" message="$3" got=0
  /usr/bin/time -f "%e %M" -o "$WORK/time" env -u DISPLAY "$BIN" -platform offscreen --convert \
    "$WORK/$file" "$WORK/out.ord" 2>"$WORK/err" || got=$?
  read -r seconds kilobytes < <(tail -1 "$WORK/time")
  echo "$file ($(stat -c %s "$WORK/$file") bytes): ${seconds} s, $((kilobytes / 1024)) MB"
  [ "$got" = "$status" ] || fail "$file: status $got, expected $status ($(cat "$WORK/err"))"
  [ "$(head -1 "$WORK/err")" = "$message" ] || fail "$file: unexpected message: $(cat "$WORK/err")"
  [ "$kilobytes" -lt $((100 * 1024)) ] || fail "$file: ${kilobytes} KB of memory"
  awk -v s="$seconds" 'BEGIN { exit !(s < 3) }' || fail "$file: ${seconds} s"
  rm -f "$WORK/out.ord"
}

big="Import impossible : le tableau est trop grand pour Orivox (un tableau ne peut pas avoir plus"
check grid.obz 1 "Import impossible : le fichier boards/1.obf du paquet compte plus de 800000 éléments : aucun tableau Orivox n'en a autant."
check actions.obf 1 "$big de 16 Mo de texte en tout)."
check actions-short.obf 0 ""
check values.obf 1 "Import impossible : ce fichier compte plus de 800000 éléments : aucun tableau Orivox n'en a autant."
check string.obf 1 "Import impossible : ce fichier contient un texte de plus de 9 Mo."
check buttons.obf 1 "$big de 25000 textes)."
check blank.obf 1 "Import impossible : ce fichier dépasse 128 Mo."
echo "hostile files refused within bounds"
