#!/usr/bin/env bash
# The about box under Wine on a private Xvfb, opened from the properties dialog's Help menu: its
# demonstrations animate (two screenshots of it differ), its Credits button opens the credits,
# which scroll over their moving star field, and Escape closes each in turn. Help > Contents
# tells where it looked for a manual that is not there.
# Usage: about.sh BUILD_DIR [FOLDER] (exit 77 when Wine, Xvfb or xdotool is missing); with a folder,
# the screenshots windows-about.png and windows-credits.png are written there.
set -uo pipefail
source "$(dirname "$0")/lib/wine_session.sh"
wine_start "${1:-build/windows}"
docs=${2:-}

# window_shot ID OUT.png: a screenshot of the window itself (a shot of the whole screen shows a
# window that has an owner black under Wine without a window manager).
window_shot() { xwd -id "$1" -silent >"$E2E_WORK/screen.xwd" 2>/dev/null && wine_pixels --png "$2"; }
# changing ID NAME: two screenshots of the window a moment apart differ; the second is kept.
changing() {
  window_shot "$1" "$E2E_WORK/$2-1.png" && sleep 0.5 && window_shot "$1" "$E2E_WORK/$2.png" &&
    ! cmp -s "$E2E_WORK/$2-1.png" "$E2E_WORK/$2.png"
}

shown() { e2e_window "$1" >/dev/null; }
gone() { ! shown "$1"; }

e2e_spawn wine "$SCR" /c
program=$E2E_LAST
props=$(e2e_wait_window "Quasarine Properties" 30) || e2e_fail "no properties dialog"
e2e_press "$props" "alt+h a" shown "About Quasarine" || e2e_fail "Help > About did not open the about box"
about=$(e2e_window "About Quasarine")
e2e_until 3 changing "$about" about || e2e_fail "the about box's demonstrations do not move"
[ -z "$docs" ] || { sleep 2 && window_shot "$about" "$docs/windows-about.png"; }
e2e_press "$about" "alt+c" shown "Quasarine Credits" || e2e_fail "the Credits button did not open the credits"
credits=$(e2e_window "Quasarine Credits")
e2e_until 3 changing "$credits" credits || e2e_fail "the credits do not scroll"
[ -z "$docs" ] || { sleep 4 && window_shot "$credits" "$docs/windows-credits.png"; }

e2e_press "$credits" Escape gone "Quasarine Credits" || e2e_fail "Escape did not close the credits"
shown "About Quasarine" || e2e_fail "closing the credits closed the about box"
e2e_until 3 changing "$about" about || e2e_fail "the demonstrations did not go on after the credits"
e2e_press "$about" Escape gone "About Quasarine" || e2e_fail "Escape did not close the about box"
e2e_press "$props" Escape e2e_ended "$program" || e2e_fail "the properties dialog did not end"

# Help > Contents with no manual beside the program (and none installed) says where it looked.
mkdir -p "$E2E_WORK/alone" && cp "$SCR" "$E2E_WORK/alone/"
WINEDEBUG=trace+msgbox e2e_spawn wine "$E2E_WORK/alone/quasarine.scr" /c
program=$E2E_LAST
props=$(e2e_wait_window "Quasarine Properties" 30) || e2e_fail "no properties dialog from a lone program"
told() { grep -q 'msgbox.*The manual (quasarine.html) is not in .*alone' "$E2E_WORK/output.log"; }
e2e_press "$props" "alt+h c" told || e2e_fail "a missing manual was not told with the folder looked in"
e2e_xdo key Return
e2e_press "$props" Escape e2e_ended "$program" || e2e_fail "the properties dialog did not end"
echo "about: all checks passed"
