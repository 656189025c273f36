#!/usr/bin/env bash
# Builds the libFuzzer target over the INI engine and the numeric parsing with clang and runs
# it. Usage: scripts/fuzz.sh [RUNS]   (default 3000000 executions; 0 runs until stopped)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
runs="${1:-3000000}"
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQSRN_FUZZ=ON -DQSRN_BUILD_APP=OFF -DQSRN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target ini_fuzz
corpus="$build/corpus"
mkdir -p "$corpus"
cp -n fuzz/seeds/* "$corpus"/ 2>/dev/null || true
"$build/fuzz/ini_fuzz" -runs="$runs" -max_len=4096 -print_final_stats=1 "$corpus"
