#!/usr/bin/env bash
# End to end: the real tumble in a real (virtual) X server. The mouse is moved
# and Space tapped through the X server, a screenshot is taken and looked at,
# then Escape ends the program; a second run ends through the window's close
# request, sent by the window manager. The first run is recorded and
# tumble-sim replays the recording; a replay in the window is recorded in
# turn, and a recording ended by SIGTERM keeps its last lines.
#
#   window_test.sh TUMBLE_BINARY TUMBLE_SIM_BINARY WORK_DIR
set -uo pipefail
tumble=$1
sim=$2
work=$3
mkdir -p "$work"
rm -f "$work"/*.script

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

# Starts tumble with the given options and waits for its window; sets `pid`
# and `window`: start_tumble NAME [OPTION]...
start_tumble() {
  local name=$1
  shift
  (cd "$work" && exec "$tumble" "$@") >"$work/tumble-$name.out" 2>&1 &
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
start_tumble 1 --record session.script
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

# Holds a key long enough for a snapshot to see it: tap KEY
tap() {
  xdotool keydown "$1"
  sleep 0.3
  xdotool keyup "$1"
  sleep 0.3
}

# A screenshot of the window's inside: shot NAME
shot() {
  import -window root -crop "640x480+${X}+${Y}" +repage "$work/$1.png" || fail "no screenshot $1"
}

# Counts the pixels where red clearly beats blue: lit by the warm white of a
# dropped light, never by the mouse's blue-white one. count_warm PICTURE
count_warm() {
  convert "$1" -depth 8 txt:- |
    awk -F'[(),]+' 'NR > 1 && $3 > $5 + 10 { n++ } END { print n + 0 }'
}

# --- L drops a warm white light that stays when the mouse moves away;
# Backspace takes it back. The mouse returns to where it was.
tap l
for _ in $(seq 20); do
  xdotool mousemove_relative -- 20 15
  sleep 0.03
done
sleep 0.5
shot lights
warm=$(count_warm "$work/lights.png")
tap BackSpace
sleep 0.3
shot unlit
warm_after=$(count_warm "$work/unlit.png")
echo "warm pixels with the dropped light: $warm, after Backspace: $warm_after"
[ "$warm" -gt 5000 ] || fail "L dropped no warm white light"
[ "$warm_after" -lt 200 ] || fail "Backspace did not take the light back"
for _ in $(seq 20); do
  xdotool mousemove_relative -- -20 -15
  sleep 0.03
done
sleep 0.3

# --- The play keys: F12, a drag with the button, D, P, O and H.
rm -f "$work"/tumble-2*.png
tap F12
saved=$(ls "$work"/tumble-2*.png 2>/dev/null | head -n 1)
[ -n "$saved" ] || fail "F12 wrote no tumble-YYYYMMDD-HHMMSS.png"
identify "$saved" | grep -q "PNG 640x480" || fail "F12 wrote no readable 640 x 480 PNG"
grep -q "tumble-2" "$work/tumble-1.out" || fail "F12 did not print the path"
echo "ok: F12 wrote $saved"

# Back onto the box, press the button, drag it 120 pixels to the right.
for _ in $(seq 12); do
  xdotool mousemove_relative -- 15 10
  sleep 0.03
done
sleep 0.2
xdotool mousedown 1
sleep 0.2
for _ in $(seq 12); do
  xdotool mousemove_relative -- 10 0
  sleep 0.05
done
sleep 0.8
xdotool mouseup 1
sleep 0.3
shot dragged
# Held by a corner near (440, 192), the box swings about it: all of it lies
# right of where it stood (x 300 to 340), within a diagonal of the corner.
moved=$(count "$work/dragged.png" 345 100 175 200 255 255 255)
echo "white outline pixels where the box was dragged to: $moved"
[ "$moved" -ge 100 ] || fail "the drag did not bring the box to the right"

# Paused at once, the box stays about where the drag left it, clear of the
# text and the study view's charts, however fast it was let go.
tap p
tap d
tap d
shot study
bounds=$(count "$work/study.png" 0 0 640 480 96 96 0)
echo "bounds pixels in the study view: $bounds"
[ "$bounds" -ge 100 ] || fail "the study view shows no bounds"

tap o
shot paused
paused_text=$(count_light "$work/paused.png" 10 32 70 16)
echo "light pixels of the paused line: $paused_text"
[ "$paused_text" -gt 10 ] || fail "no paused line"

tap h
shot help
panel=$(count "$work/help.png" 0 0 640 480 32 32 48)
echo "help panel pixels: $panel"
[ "$panel" -gt 50000 ] || fail "H showed no help"
tap h

tap Escape
expect_exit_zero "Escape"

# The recording rebuilds the session. The window was paused from the drag
# on and stepped once before the paused screenshot, so its world then is the
# world at the end: the box's bounds (dark yellow in the study view) lie
# where tumble-sim's frame has them.
head -n 1 "$work/session.script" | grep -q "^# tumble .* recording" ||
  fail "the recording does not open with its header"
for command in "box " "mouse " "step " "idle " grab release "view study"; do
  grep -q "^$command" "$work/session.script" || fail "the recording has no '$command' line"
done
printf 'shot %s\n' "$work/sim-end.png" | cat "$work/session.script" - | "$sim" ||
  fail "tumble-sim did not run the recording"
# Lists the pixels of a colour in a region: pixels PICTURE X Y W H R G B
pixels() {
  convert "$1" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- |
    awk -v x="$2" -v y="$3" -v r="$6" -v g="$7" -v b="$8" -F'[(),:]+' \
      'NR > 1 && $4 == r && $5 == g && $6 == b { print $1 + x, $2 + y }'
}
# Only where neither frame draws text or charts: the window alone has the
# paused line and the timeline along the bottom; the study view's figures at
# the top right and its charts along the bottom read differently in the two
# (its times).
clear_bounds() {
  pixels "$1" 0 50 460 50 96 96 0
  pixels "$1" 0 100 640 290 96 96 0
}
window_bounds=$(clear_bounds "$work/paused.png")
sim_bounds=$(clear_bounds "$work/sim-end.png")
[ -n "$window_bounds" ] || fail "the paused window shows no bounds outside its text"
if [ "$window_bounds" != "$sim_bounds" ]; then
  # Where each frame has the box, to tell a drift from a stray pixel.
  extent() { echo "$1" | awk 'NR == 1 || $1 < x0 { x0 = $1 } NR == 1 || $1 > x1 { x1 = $1 }
    NR == 1 || $2 < y0 { y0 = $2 } NR == 1 || $2 > y1 { y1 = $2 }
    END { printf "x %s to %s, y %s to %s, %d pixels", x0, x1, y0, y1, NR }'; }
  echo "window bounds: $(extent "$window_bounds"); tumble-sim bounds: $(extent "$sim_bounds")"
  fail "tumble-sim's replay of the recording puts the box elsewhere than the window"
fi
echo "ok: tumble-sim's replay of the recording ends where the window did ($(echo "$window_bounds" | wc -l) bounds pixels)"

# --- Second run: the window manager asks the window to close.
start_tumble 2
wmctrl -c tumble || fail "wmctrl could not ask the window to close"
expect_exit_zero "a close request"

# --- A replay in the window, recorded again; SIGTERM ends it.
printf 'box 320 240\nmouse 500 100\nstep 30\n' >"$work/short.script"
start_tumble 3 --replay short.script --record again.script
sleep 1.5
shot replayed
outline=$(count "$work/replayed.png" 290 210 60 60 255 255 255)
echo "white outline pixels of the replayed box: $outline"
[ "$outline" -ge 100 ] || fail "the replay showed no box"
kill -TERM "$pid"
expect_exit_zero "SIGTERM"
grep -q "^box 320 240$" "$work/again.script" || fail "the replay was not recorded"
grep -q "^mouse 500 100$" "$work/again.script" || fail "the replay's mouse was not recorded"
steps=$(awk '$1 == "step" { n += $2 } END { print n + 0 }' "$work/again.script")
[ "$steps" -ge 30 ] || fail "the recording lost passes at SIGTERM ($steps stepped)"
echo "ok: the replay was recorded, $steps stepped passes kept at SIGTERM"

printf 'step x\n' >"$work/bad.script"
"$tumble" --replay "$work/bad.script" 2>"$work/bad.err"
status=$?
[ "$status" -eq 2 ] || fail "a malformed replay ended with status $status, not 2"
grep -q "line 1: 'x' is not a decimal integer: step x" "$work/bad.err" ||
  fail "a malformed replay was not named: $(cat "$work/bad.err")"
echo "PASS"
