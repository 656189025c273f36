#!/usr/bin/env bash
# Cross-builds the Windows programs on Debian with mingw-w64 into build/windows: the headless
# tools and the core tests (quasarine_core_tests.exe, GoogleTest built from Debian's sources),
# the manual as HTML and the setup program, quasarine-<version>-setup.exe.
# Installs the packages it needs first; with --test also Wine, which runs their tests (ctest in
# build/windows; scripts/test.sh does both).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --windows "$@"

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQSRN_WERROR=ON -Wno-dev >/dev/null
cmake --build build/windows -j "$(nproc)"

# The nine firework sounds beside the program, where it looks for them: the generator is
# portable C++ with no library, so it is built for this machine and run here.
c++ -std=c++20 -O2 -o build/windows/generate_sounds sounds/generate_sounds.cpp sounds/wave_file.cpp
build/windows/generate_sounds build/windows

# The setup program packs the saver, the sounds and the manual (its script configured by CMake).
makensis -V2 -WX build/windows/quasarine.nsi
