#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer on) and
# runs one of them. Usage: scripts/fuzz.sh [TARGET] [RUNS]
#   TARGET: ini (default), template_import, store_engines, template_dialog or command_line
#   RUNS:   executions (default 3000000; 0 runs until stopped)
# Each target keeps its corpus in build/fuzz/corpus-TARGET, seeded from fuzz/seeds*/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
target="${1:-ini}"
runs="${2:-3000000}"
case "$target" in
  ini) seeds=fuzz/seeds ;;
  template_import) seeds=fuzz/seeds_templates ;;
  store_engines) seeds=fuzz/seeds_stores ;;
  template_dialog) seeds=fuzz/seeds_templates ;;
  command_line) seeds=fuzz/seeds_command_lines ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQSRN_FUZZ=ON -DQSRN_BUILD_APP=OFF -DQSRN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target "${target}_fuzz"
corpus="$build/corpus-$target"
mkdir -p "$corpus"
cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
"$build/fuzz/${target}_fuzz" -runs="$runs" -max_len=8192 -timeout=30 -print_final_stats=1 "$corpus"
