#!/usr/bin/env bash
# Runs a Windows program under the tests' private, headless Wine: run.sh PROGRAM.exe ARGS...
source "$(dirname "$0")/wine_prefix.sh" || exit $?
exec wine "$@"
