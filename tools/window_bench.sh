#!/usr/bin/env bash
# The window figures: passes per second of tumble replaying a script in a
# window under Xvfb, a screen of 108 boxes under 1, 4 or 8 lights with hard or
# soft shadows, with the renderer SDL picks by default and with the software
# renderer. Each figure is 600 passes timed from the dump before them to the
# dump after them (the window is paced to the display, a little above 60 Hz
# under Xvfb).
#
#   tools/window_bench.sh PATH/TO/tumble
set -euo pipefail

tumble=${1:?usage: window_bench.sh PATH/TO/tumble}
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
sleep 1

# The scene: a grid of 12 × 9 boxes settled, then the lights, then the timing.
script() {
  local lights=$1 soft=$2
  echo "mouse 320 240"
  for y in 40 90 140 190 240 290 340 390 440; do
    for x in 45 95 145 195 245 295 345 395 445 495 545 595; do
      echo "box $x $y"
    done
  done
  echo "step 120"
  local spots=("100 80" "540 80" "100 400" "540 400" "320 60" "320 420" "60 240" "580 240")
  for ((i = 0; i + 1 < lights; ++i)); do echo "light ${spots[$i]}"; done
  echo "soft $soft"
  echo "step 2"
  echo "dump"
  echo "step 600"
  echo "dump"
}

# Passes per second of one replay.
measure() {
  local file=$1 driver=$2 first="" line
  local out="$work/out"
  : >"$out"
  env -u SDL_RENDER_DRIVER DISPLAY="$display" ${driver:+SDL_RENDER_DRIVER=$driver} \
    "$tumble" --replay "$file" >"$out" 2>/dev/null &
  local pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    local dumps
    dumps=$(grep -c '^{"pass"' "$out" || true)
    if [ "$dumps" -ge 1 ] && [ -z "$first" ]; then first=$(date +%s.%N); fi
    if [ "$dumps" -ge 2 ]; then
      local last
      last=$(date +%s.%N)
      kill "$pid"
      wait "$pid" 2>/dev/null || true
      echo "scale=1; 600 / ($last - $first)" | bc
      return
    fi
    sleep 0.02
  done
  echo "failed"
}

printf '| lights | default | software |\n|---|---:|---:|\n'
for soft in off on; do
  for lights in 1 4 8; do
    file="$work/lights-$lights-$soft.script"
    script "$lights" "$soft" >"$file"
    name="$lights $([ "$soft" = on ] && echo soft || echo hard)"
    printf '| %s | %s | %s |\n' "$name" "$(measure "$file" "")" "$(measure "$file" software)"
  done
done
