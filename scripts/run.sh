#!/usr/bin/env bash
# Builds the program and runs it; any arguments go to the program (default: /S, the saver full screen).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target quasarine
[ $# -eq 0 ] && set -- /S
exec build/release/quasarine "$@"
