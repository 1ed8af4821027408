#!/usr/bin/env bash
# Builds the benchmarks and prints the figures (headless). Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORIVOX_BENCH=ON >/dev/null
cmake --build build-bench --target orivox_bench orivox_startup_probe bare_window_probe text_window_probe orivox_model
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
./build-bench/bench/orivox_bench
