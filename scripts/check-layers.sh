#!/usr/bin/env bash
# Fails when a source file includes a folder above its own in the layer order: each folder of
# src/ may include only itself and the folders before it. The order, lowest first, is the one
# the build uses: cmake/rooms.txt, one folder a line.
set -euo pipefail
cd "$(dirname "$0")/../src"
mapfile -t ORDER < <(grep -E '^[a-z]+$' ../cmake/rooms.txt)
if [ "${#ORDER[@]}" -eq 0 ]; then
  echo "cmake/rooms.txt names no folder" >&2
  exit 1
fi
rank() {
  local i
  for i in "${!ORDER[@]}"; do
    [ "${ORDER[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}
status=0
for dir in */; do
  dir="${dir%/}"
  own=$(rank "$dir")
  if [ "$own" -lt 0 ]; then
    echo "src/$dir: a folder with no place in the layer order" >&2
    status=1
    continue
  fi
  while IFS=: read -r file line target; do
    [ -n "$file" ] || continue
    target_rank=$(rank "$target")
    if [ "$target_rank" -lt 0 ] || [ "$target_rank" -gt "$own" ]; then
      echo "src/$file:$line includes \"$target/...\", above $dir in the layer order" >&2
      status=1
    fi
  done < <(grep -HnoE '^#include "[a-z]+/' "$dir"/* 2>/dev/null |
    sed -E 's/^([^:]+):([0-9]+):#include "([a-z]+)\//\1:\2:\3/')
done
# Nothing outside the shell defines the window's methods.
if grep -rln 'TMainFrame::' --include='*.cpp' --include='*.h' . | grep -v '^\./shell/'; then
  echo "TMainFrame methods defined outside src/shell" >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "layers: every include goes down the order"
exit "$status"
