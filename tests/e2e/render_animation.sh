#!/usr/bin/env bash
# --render FILE.webp writes one animated image holding exactly the frames asked for, even when
# frames repeat; FILE.gif one GIF89a animation. No display needed.
set -uo pipefail
PROGRAM=$1
command -v webpmux >/dev/null 2>&1 || { echo "SKIP: webpmux is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
fail() { echo "FAIL: $*"; exit 1; }

env -u DISPLAY "$PROGRAM" --render "$work/film.webp" --effect 1 --frames 37 --size 160x90 --seed 4 ||
  fail "--render film.webp failed"
frames=$(webpmux -info "$work/film.webp" | sed -n 's/^Number of frames: *//p')
[ "$frames" = "37" ] || fail "film.webp holds ${frames:-no} frames, not 37"
# A mask without effects draws black frames only: every one of them is still a frame.
env -u DISPLAY "$PROGRAM" --render "$work/black.WEBP" --frames 12 --size 64x48 --seed 4 \
  --set AnimationType=0 --set Adv_EffectFPC=100 --set Adv_PickQSRN=0 || fail "--render black.WEBP failed"
frames=$(webpmux -info "$work/black.WEBP" | sed -n 's/^Number of frames: *//p')
[ "$frames" = "12" ] || fail "black.WEBP holds ${frames:-no} frames, not 12"

env -u DISPLAY "$PROGRAM" --render "$work/film.gif" --effect 5 --frames 20 --size 160x90 --seed 4 ||
  fail "--render film.gif failed"
[ "$(head -c 6 "$work/film.gif")" = "GIF89a" ] || fail "film.gif is no GIF89a"
[ "$(tail -c 1 "$work/film.gif" | od -An -tx1 | tr -d ' ')" = "3b" ] || fail "film.gif is cut short"
echo "render_animation: ok"
