#!/usr/bin/env bash
# End to end: the real tumble in a real (virtual) X server. The mouse is moved
# and Space tapped through the X server, a screenshot is taken and looked at,
# then Escape ends the program; a second run ends through the window's close
# request, sent by the window manager.
#
#   window_test.sh TUMBLE_BINARY WORK_DIR
set -uo pipefail
tumble=$1
work=$2
mkdir -p "$work"

for tool in Xvfb xdotool import convert openbox wmctrl; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (tools/install-packages.sh installs it)"
    # In CI the tools are installed by .ci/run: a missing one is a failure there.
    [ "${CI:-}" = true ] && exit 1
    exit 77
  fi
done

fail() {
  echo "FAIL: $*"
  exit 1
}

# A display number nobody uses; the server and the window manager go with us.
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
wm=""
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "the X server did not start"
openbox >"$work/openbox.log" 2>&1 &
wm=$!
sleep 0.5

# Starts tumble and waits for its window; sets `pid` and `window`.
start_tumble() {
  "$tumble" >"$work/tumble-$1.out" 2>&1 &
  pid=$!
  window=$(timeout 10 xdotool search --sync --name '^tumble$' | head -n 1)
  [ -n "$window" ] || fail "no window titled tumble appeared"
  sleep 0.5
}

# Waits up to 5 s for tumble to end and checks its exit status.
expect_exit_zero() {
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "tumble did not end after $1"
  fi
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "tumble ended with status $status after $1"
  echo "ok: $1 ends tumble with status 0"
}

# Counts the pixels of a colour inside a region of a picture:
# count PICTURE X Y W H R G B
count() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- |
    awk -v r="$6" -v g="$7" -v b="$8" -F'[(),]+' 'NR > 1 && $3 == r && $4 == g && $5 == b { n++ } END { print n + 0 }'
}

# Counts the near-white pixels (the text is smoothed) inside a region: count_light PICTURE X Y W H
count_light() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- |
    awk -F'[(),]+' 'NR > 1 && $3 >= 200 && $4 >= 200 && $5 >= 200 { n++ } END { print n + 0 }'
}

# --- First run: a box under the mouse, its shadow, the light and the text.
start_tumble 1
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window"
# Relative motion only: an absolute move produces none. Small steps, as a hand would.
for _ in $(seq 16); do
  xdotool mousemove_relative -- 20 12
  sleep 0.03
done
sleep 0.3
# A tap inside one snapshot is, correctly, no key press: hold Space a while.
xdotool keydown space
sleep 0.3
xdotool keyup space
sleep 0.3
# The light moves up and left of the box, which now casts its shadow down and right.
for _ in $(seq 12); do
  xdotool mousemove_relative -- -15 -10
  sleep 0.03
done
sleep 1

# The inside of the window (xdotool's geometry includes the frame's offset).
X=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print $NF }')
Y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ { print $NF }')
import -window root -crop "640x480+${X}+${Y}" +repage "$work/window.png" ||
  fail "no screenshot could be taken"
echo "screenshot: $work/window.png (window at $X, $Y)"

white_text=$(count_light "$work/window.png" 0 0 120 32)
white_world=$(count "$work/window.png" 0 40 640 440 255 255 255)
shadow=$(count "$work/window.png" 0 40 640 440 1 1 1)
marker=$(count "$work/window.png" 0 0 640 480 255 0 0)
lit=$(convert "$work/window.png" -depth 8 txt:- |
  awk -F'[(),]+' 'NR > 1 && $5 > $3 + 20 && $5 > 40 { n++ } END { print n + 0 }')
echo "white text pixels: $white_text, white outline pixels: $white_world," \
  "shadow pixels: $shadow, marker pixels: $marker, lit pixels: $lit"
[ "$white_text" -gt 20 ] || fail "the text lines are missing"
[ "$white_world" -ge 140 ] || fail "no box outline (a 40 x 40 square has about 160 white pixels)"
# The box itself is covered (1,600 pixels) and its shadow reaches the screen's edge.
[ "$shadow" -gt 5000 ] || fail "no shadow behind the box"
[ "$marker" -ge 12 ] || fail "no mouse marker"
[ "$lit" -gt 10000 ] || fail "no light gradient"

xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
expect_exit_zero "Escape"

# --- Second run: the window manager asks the window to close.
start_tumble 2
wmctrl -c tumble || fail "wmctrl could not ask the window to close"
expect_exit_zero "a close request"
echo "PASS"
