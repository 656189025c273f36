#!/usr/bin/env bash
# Runs a test program on a private X server (exit 77 when Xvfb or its tools are missing).
set -uo pipefail
source "$(dirname "$0")/../e2e/lib/x11_session.sh"
e2e_start "$1" -screen 0 640x480x24
"$1"
