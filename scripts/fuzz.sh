#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and fuzzes each reader for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
# Findings (crash-*, timeout-*, oom-*) are left in build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET="${1:-60}"
case "$SECONDS_PER_TARGET" in
  '' | *[!0-9]*) echo "usage: $0 [seconds per target]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORIVOX_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --target fuzz_boardfile fuzz_configfile fuzz_obf fuzz_obz

# Seeds: the board fixtures for both readers (a configuration file is lines too), plus
# configuration files of the shapes the program writes.
corpus=build-fuzz/corpus
rm -rf "$corpus"
mkdir -p "$corpus/boardfile" "$corpus/configfile" "$corpus/obf" "$corpus/obz"
cp tests/data/boards/*.ord "$corpus/boardfile/"
cp tests/data/boards/*.ord fuzz/seeds/configfile/* "$corpus/configfile/"
# Open Board Format seeds: the default and settings boards converted by the program, and
# boards written the way other programs write them.
cp fuzz/seeds/obf/* "$corpus/obf/"
cp fuzz/seeds/obz/* "$corpus/obz/"
# Amplification: a few kilobytes naming one long button from millions of cells, and one button
# with a thousand actions named by ten thousand cells. Made here, never kept.
python3 - "$corpus" <<'PY'
import json, sys, zipfile
corpus = sys.argv[1]
def board(button, cells):
    return json.dumps({"format": "open-board-0.1", "id": "b", "locale": "fr", "name": "x",
                       "buttons": [button],
                       "grid": {"rows": 1, "columns": cells, "order": [["1"] * cells]}},
                      separators=(",", ":"))
with zipfile.ZipFile(f"{corpus}/obz/amplified-grid.obz", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    z.writestr("manifest.json", '{"format":"open-board-0.1","root":"boards/1.obf",'
                                '"paths":{"boards":{"1":"boards/1.obf"}}}')
    z.writestr("boards/1.obf", board({"id": "1", "label": "a" * 32000}, 4_000_000))
with open(f"{corpus}/obf/amplified-actions.obf", "w") as f:
    f.write(board({"id": "1", "label": "a" * 3000, "actions": [f"+{i}" for i in range(1000)]}, 10000))
PY

status=0
for target in boardfile configfile obf obz; do
  findings="build-fuzz/findings/$target"
  mkdir -p "$findings"
  echo "== fuzzing $target for ${SECONDS_PER_TARGET}s"
  # No single allocation past 64 MB, whatever the input (an amplified file would need far
  # more); -rss_limit_mb stops a runaway, above the 45 MB the fuzzer and the sanitizer start at
  # and the freed pages they keep (tests/e2e/hostile_import.sh measures the program itself
  # against its 100 MB); a small quarantine; -timeout flags a hang.
  if ! ASAN_OPTIONS=detect_leaks=0:quarantine_size_mb=16 UBSAN_OPTIONS=print_stacktrace=1 \
    "build-fuzz/fuzz/fuzz_$target" "$corpus/$target" \
    -max_total_time="$SECONDS_PER_TARGET" -max_len=65536 -timeout=10 -rss_limit_mb=256 -malloc_limit_mb=64 \
    -artifact_prefix="$findings/" -print_final_stats=1 2>"build-fuzz/fuzz-$target.log"; then
    echo "!! $target: finding, see $findings/ and build-fuzz/fuzz-$target.log"
    tail -40 "build-fuzz/fuzz-$target.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "build-fuzz/fuzz-$target.log" || true
  fi
done
exit $status
