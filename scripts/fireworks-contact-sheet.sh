#!/usr/bin/env bash
# Renders Fireworks once per theme preset with the program itself (--render, seed 3, frame 150:
# late enough for every shell to have started, early enough that the slow themes of few large
# shells, 10 and 11, are still full) and assembles the frames into docs/fireworks-themes.png with
# ImageMagick's montage (apt-get install imagemagick).
# Usage: scripts/fireworks-contact-sheet.sh [path/to/quasarine]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/quasarine}
command -v montage >/dev/null || { echo "montage not found: apt-get install imagemagick" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# An empty settings store: the themes alone decide what is drawn.
export XDG_CONFIG_HOME="$work/config"

frames=()
for theme in $(seq 1 13); do
  out="$work/theme-$(printf %02d "$theme").png"
  "$program" --render "$out" --effect 0 --theme "$theme" --seed 3 --frames 150 --size 640x360
  frames+=(-label "Theme $theme" "$out")
done
montage "${frames[@]}" -tile 4x -geometry +6+6 -background '#303030' -fill '#d0d0d0' -pointsize 16 \
  docs/fireworks-themes.png
echo "wrote docs/fireworks-themes.png"
