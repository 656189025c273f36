#!/usr/bin/env bash
# Builds everything and runs every test: the core and program tests, the Windows build's under
# Wine, then the same core tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# the saver on two screens once under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
jobs=$(nproc)

# The program and its tests always, even in a build folder once configured without them; any
# warning fails the build.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQSRN_BUILD_APP=ON -DQSRN_WERROR=ON >/dev/null
cmake --build build/release -j "$jobs"
(cd build/release && ctest --output-on-failure -j "$jobs")

# The Windows programs, cross-built with mingw-w64, and their tests under Wine: the core tests,
# and frames the same as the Linux program's.
bash scripts/build-windows.sh --test
(cd build/windows && ctest --output-on-failure)

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQSRN_SANITIZE=ON -DQSRN_BUILD_APP=OFF -DQSRN_WERROR=ON >/dev/null
cmake --build build/asan -j "$jobs"
(cd build/asan && ctest --output-on-failure -j "$jobs")

# The saver on two screens runs one loop per screen on threads of its own, in turns with the GUI
# thread: its end-to-end test once more with only the program built with ThreadSanitizer, any
# report a failure. Qt, xcb and GLib are not instrumented, so TSan cannot see the hand-offs
# between their own threads; it is told to judge only accesses made from our code. (Without
# address randomisation: some kernels randomise more than TSan's memory layout allows.)
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Release -DQSRN_TSAN=ON -DQSRN_BUILD_APP=ON -DQSRN_WERROR=ON \
  -DQSRN_BUILD_TESTS=OFF >/dev/null
cmake --build build/tsan -j "$jobs" --target quasarine
reports="$PWD/build/tsan/reports"
rm -rf "$reports" && mkdir -p "$reports"
status=0
TSAN_OPTIONS="log_path=$reports/race ignore_noninstrumented_modules=1" \
  setarch "$(uname -m)" -R bash tests/e2e/saver.sh "$PWD/build/tsan/quasarine" || status=$?
if compgen -G "$reports/race.*" >/dev/null; then
  cat "$reports"/race.*
  echo "ThreadSanitizer found data races in the saver on two screens" >&2
  exit 1
fi
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit "$status"

# The Windows saver, quasarine.scr, cross-built and run under Wine on a private Xvfb: full
# screen (drawing, the keys and mouse moves that end it, a stored setting) and the preview
# inside another program's window (built above in build/windows), the setup program's silent
# install and uninstall, the properties dialog, the advanced and sound dialogs, and the about box,
# credits and help from the properties dialog. Each test exits 77 when Wine, Xvfb or xdotool is
# missing.
for test in tests/wine/saver.sh tests/wine/preview.sh tests/wine/installer.sh tests/wine/properties.sh tests/wine/dialogs.sh \
  tests/wine/about.sh; do
  status=0
  bash "$test" build/windows || status=$?
  [ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit "$status"
done
