#!/usr/bin/env bash
# Builds everything and runs every test: the core and program tests, then the
# same core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
jobs=$(nproc)

# The program and its tests always, even in a build folder once configured without them.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQSRN_BUILD_APP=ON >/dev/null
cmake --build build/release -j "$jobs"
(cd build/release && ctest --output-on-failure -j "$jobs")

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQSRN_SANITIZE=ON -DQSRN_BUILD_APP=OFF >/dev/null
cmake --build build/asan -j "$jobs"
(cd build/asan && ctest --output-on-failure -j "$jobs")
