#!/usr/bin/env bash
# The Debian package as a user gets it: built by tools/package.sh, unpacked
# into a scratch root, and its programs, desktop entry and man pages tried
# there. The installed tumble runs under a virtual X server and ends on Escape.
#
#   package_test.sh SOURCE_DIR WORK_DIR VERSION
set -uo pipefail
source_dir=$1
work=$2
version=$3

for tool in dpkg-deb dpkg-shlibdeps file desktop-file-validate groff Xvfb xdotool xdpyinfo; do
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

rm -rf "$work/root" "$work/run"
mkdir -p "$work/run"

# --- The package and what it says about itself.
"$source_dir/tools/package.sh" --build-dir "$work/package-build" --output-dir "$work/package" ||
  fail "tools/package.sh failed"
shopt -s nullglob
debs=("$work/package"/tumble_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package in $work/package, found ${#debs[@]}"
deb=${debs[0]}
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
[ "$(dpkg-deb --field "$deb" Section)" = games ] || fail "the package's section is not games"
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for library in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-image-2.0-0 libc6; do
  [[ ", $depends," == *", $library "* ]] || fail "Depends does not name $library"
done

# --- Unpacked into a scratch root: every file where it belongs.
dpkg -x "$deb" "$work/root" || fail "dpkg -x failed"
usr=$work/root/usr
for path in bin/tumble bin/tumble-sim share/applications/tumble.desktop \
  share/icons/hicolor/256x256/apps/tumble.png share/man/man6/tumble.6 share/man/man6/tumble-sim.6; do
  [ -f "$usr/$path" ] || fail "the package has no /usr/$path"
done
[ -x "$usr/bin/tumble" ] && [ -x "$usr/bin/tumble-sim" ] || fail "the programs are not executable"
file "$usr/share/icons/hicolor/256x256/apps/tumble.png" | grep -q 'PNG image data, 256 x 256' ||
  fail "the icon is not a 256 x 256 PNG picture"

desktop-file-validate "$usr/share/applications/tumble.desktop" ||
  fail "desktop-file-validate rejects the desktop entry"
for page in tumble tumble-sim; do
  warnings=$(groff -man -ww -z "$usr/share/man/man6/$page.6" 2>&1)
  [ -z "$warnings" ] || fail "groff warns about $page.6: $warnings"
  grep -q "^\.TH .*\"tumble $version\"" "$usr/share/man/man6/$page.6" ||
    fail "$page.6 does not carry the version $version"
done
echo "ok: files, desktop entry and man pages"

# --- The installed programs.
[ "$("$usr/bin/tumble" --version)" = "tumble $version" ] || fail "tumble --version"
[ "$("$usr/bin/tumble-sim" --version)" = "tumble-sim $version" ] || fail "tumble-sim --version"
"$usr/bin/tumble" --help | grep -q '^usage: tumble' || fail "tumble --help"

# The README's example, and a picture from the same world.
(cd "$work/run" && "$usr/bin/tumble-sim" >dump.out 2>sim.err <<'END'
box 320 240
mouse 320 40
step 2
dump
shot frame.png
END
) || fail "the installed tumble-sim failed: $(cat "$work/run/sim.err")"
expected='{"pass": 2, "light": [320, 40], "particles": [[300, 220], [340, 220], [340, 260], [300, 260]], "bodies": [[320, 240, 300, 220, 340, 260]], "shadows": [[320, 240, 300, 220, 340, 220], [320, 240, 340, 220, 340, 260], [320, 240, 340, 260, 300, 260], [320, 240, 300, 260, 300, 220], [173, 1360, 340, 220, 300, 220], [340, 220, 173, 1360, 467, 1360]]}'
[ "$(cat "$work/run/dump.out")" = "$expected" ] ||
  fail "the installed tumble-sim dumped something else: $(cat "$work/run/dump.out")"
file "$work/run/frame.png" | grep -q 'PNG image data, 640 x 480' ||
  fail "the installed tumble-sim wrote no 640 x 480 picture"
echo "ok: the installed tumble-sim"

# --- The installed tumble in a virtual X server, ended by Escape.
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/run/xvfb.log" 2>&1 &
xvfb=$!
wm=""
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
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
if command -v openbox >/dev/null; then
  openbox >"$work/run/openbox.log" 2>&1 &
  wm=$!
  sleep 0.5
fi

"$usr/bin/tumble" >"$work/run/tumble.out" 2>&1 &
pid=$!
window=$(timeout 10 xdotool search --sync --name '^tumble$' | head -n 1)
[ -n "$window" ] || fail "no window titled tumble appeared: $(cat "$work/run/tumble.out")"
sleep 0.5
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window"
# A tap inside one snapshot is no key press: hold Escape a while.
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the installed tumble did not end on Escape"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "the installed tumble ended with status $status: $(cat "$work/run/tumble.out")"
echo "ok: the installed tumble opens its window and ends on Escape"
echo "PASS"
