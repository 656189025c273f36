#!/usr/bin/env bash
# Re-records tests/golden_renders.txt, the hashes of every effect's frames that the core tests
# compare, after a change that is meant to alter pictures. Look at the frames the failing test
# wrote (its message names them) before recording, and commit the table with the change.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
[[ -f "$build/build.ninja" ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quasarine_core_tests
QSRN_RECORD_GOLDENS=1 "$build/tests/quasarine_core_tests" --gtest_filter='GoldenRenders.*'
git --no-pager diff --stat -- tests/golden_renders.txt
