#!/usr/bin/env bash
# The setup program under Wine on a private Xvfb, as a user meets it: a silent install with
# /CURRENT=1 puts quasarine.scr in System32 (made the current saver), the sounds and the manual in
# Program Files\Quasarine and the program in the list of installed programs; the saver the system
# names then draws full screen (/s), its Settings (/c) show the properties dialog and its Preview
# (/p) draws in another window; the silent uninstall takes all of it away again.
# Usage: installer.sh BUILD_DIR (exit 77 when Wine, Xvfb or xdotool is missing, or no setup program)
set -uo pipefail
build=$(cd "${1:-build/windows}" && pwd)
setup=$(ls "$build"/quasarine-*-setup.exe 2>/dev/null | head -n 1)
[ -n "$setup" ] || { echo "no setup program in $build (makensis missing?)" >&2; exit 77; }
version=${setup##*/quasarine-}; version=${version%-setup.exe}
source "$(dirname "$0")/lib/wine_session.sh"
wine_start "$build"

system="$WINEPREFIX/drive_c/windows/system32"
folder="$WINEPREFIX/drive_c/Program Files/Quasarine"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quasarine'
desktop='HKCU\Control Panel\Desktop'
installed=("$system/quasarine.scr" "$folder/quasarine.html" "$folder/about-box.png"
           "$folder/launch.wav" "$folder/decaystar.wav" "$folder/uninstall.exe")
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }

wine "$setup" /S /CURRENT=1 >>"$E2E_WORK/output.log" 2>&1 || e2e_fail "the silent install failed"
wineserver -w
for file in "${installed[@]}"; do [ -f "$file" ] || e2e_fail "not installed: $file"; done
[ "$(ls "$folder"/*.wav | wc -l)" -eq 9 ] || e2e_fail "not all nine sounds installed"
grep -q '<img src="about-box.png"' "$folder/quasarine.html" || e2e_fail "the manual shows no pictures"
grep -q '<td id="FireWorks">' "$folder/quasarine.html" || e2e_fail "help finds no setting in the manual"
[ "$(reg_value "$key" DisplayVersion)" = "$version" ] || e2e_fail "no entry in the program list"
reg_value "$key" QuietUninstallString | grep -q 'uninstall.exe' || e2e_fail "no quiet uninstall"
current=$(reg_value "$desktop" SCRNSAVE.EXE)
[ "$(echo "$current" | tr 'A-Z' 'a-z')" = 'c:\windows\system32\quasarine.scr' ] || e2e_fail "not made the current saver"

# What the system's screen-saver settings start: the saver it names, its Settings, its Preview.
SCR=$current
wine_saver_up /s
saver=$E2E_LAST
e2e_until 20 wine_lit 200 || e2e_fail "the installed saver drew nothing"
e2e_xdo key x
e2e_wait_exit "$saver" 15 || e2e_fail "a key did not end the installed saver"
e2e_spawn wine "$SCR" /c
settings=$E2E_LAST
e2e_wait_window "Quasarine Properties" 30 >/dev/null || e2e_fail "Settings did not show the properties dialog"
e2e_xdo key Escape
e2e_wait_exit "$settings" 15 || e2e_fail "Escape did not close the properties dialog"
mkfifo "$E2E_WORK/parent.in"
e2e_spawn sh -c 'exec wine "$1" <"$2" >"$3"' sh "$PARENT_EXE" "$E2E_WORK/parent.in" "$E2E_WORK/parent.out"
exec 7>"$E2E_WORK/parent.in"
e2e_until 30 grep -q '^[0-9]' "$E2E_WORK/parent.out" || e2e_fail "the test window did not appear"
e2e_spawn wine "$SCR" /p "$(head -n1 "$E2E_WORK/parent.out" | tr -d '\r')"
preview=$E2E_LAST
e2e_until 30 wine_lit 100 100 100 320 240 || e2e_fail "the installed saver's preview drew nothing"
echo >&7  # the test window goes, and the preview with it
e2e_wait_exit "$preview" 15 || e2e_fail "the preview did not end with its window"
exec 7>&-

wine "$folder/uninstall.exe" /S >>"$E2E_WORK/output.log" 2>&1 || e2e_fail "the silent uninstall failed"
wineserver -w  # the uninstaller finishes from a copy of itself
for file in "${installed[@]}"; do [ ! -e "$file" ] || e2e_fail "left behind: $file"; done
[ ! -e "$folder" ] || e2e_fail "left behind: $folder"
wine reg query "$key" >/dev/null 2>&1 && e2e_fail "the program list still has it"
[ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ] || e2e_fail "still the current saver"
echo "PASS: installed silently, the saver the system names draws, its Settings and Preview work; uninstalled cleanly"
