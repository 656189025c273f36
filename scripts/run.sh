#!/usr/bin/env bash
# Builds the program and runs it; any arguments go to the program (default: the windowed display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target quasarine
exec build/release/quasarine "$@"
