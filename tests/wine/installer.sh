#!/usr/bin/env bash
# The setup program under the tests' private Wine: a silent install puts quasarine.scr in
# System32, the sounds and the manual in Program Files\Quasarine and the program in the list of
# installed programs; the saver runs from there; /CURRENT=1 makes it the current saver; the
# silent uninstall takes all of it away again.
# Usage: installer.sh BUILD_DIR (exit 77 when Wine is missing or the setup program was not built)
set -uo pipefail
build=$(cd "${1:-build/windows}" && pwd)
source "$(dirname "$0")/wine_prefix.sh" || exit $?
setup=$(ls "$build"/quasarine-*-setup.exe 2>/dev/null | head -n 1)
[ -n "$setup" ] || { echo "no setup program in $build (makensis missing?)" >&2; exit 77; }
version=${setup##*/quasarine-}; version=${version%-setup.exe}

fail() { echo "FAIL: $*" >&2; exit 1; }
system="$WINEPREFIX/drive_c/windows/system32"
folder="$WINEPREFIX/drive_c/Program Files/Quasarine"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quasarine'
desktop='HKCU\Control Panel\Desktop'
installed=("$system/quasarine.scr" "$folder/quasarine.html" "$folder/about-box.png"
           "$folder/launch.wav" "$folder/decaystar.wav" "$folder/uninstall.exe")
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }

wine "$setup" /S /CURRENT=1 || fail "the silent install failed"
wineserver -w
for file in "${installed[@]}"; do [ -f "$file" ] || fail "not installed: $file"; done
[ "$(ls "$folder"/*.wav | wc -l)" -eq 9 ] || fail "not all nine sounds installed"
grep -q '<img src="about-box.png"' "$folder/quasarine.html" || fail "the manual shows no pictures"
grep -q '<td id="FireWorks">' "$folder/quasarine.html" || fail "help finds no setting in the manual"
[ "$(reg_value "$key" DisplayVersion)" = "$version" ] || fail "no entry in the program list"
reg_value "$key" QuietUninstallString | grep -q 'uninstall.exe' || fail "no quiet uninstall"
[ "$(reg_value "$desktop" SCRNSAVE.EXE | tr 'A-Z' 'a-z')" = 'c:\windows\system32\quasarine.scr' ] \
  || fail "not made the current saver"
wine "$system/quasarine.scr" --version 2>/dev/null | tr -d '\r' | grep -q "$version" \
  || fail "the installed saver does not run"

wine "$folder/uninstall.exe" /S || fail "the silent uninstall failed"
wineserver -w  # the uninstaller finishes from a copy of itself
for file in "${installed[@]}"; do [ ! -e "$file" ] || fail "left behind: $file"; done
[ ! -e "$folder" ] || fail "left behind: $folder"
wine reg query "$key" >/dev/null 2>&1 && fail "the program list still has it"
[ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] || fail "still the current saver"
echo "installer: all checks passed"
