#!/bin/sh
# Saves a PNG of every page of the editor, run on a simulated "Flash" + "Flash"
# mouse under a private Xvfb display, into <build>/screenshots/.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -eu

BUILD=${1:-build}
BIN="$BUILD/src/gui/korvex48"
OUT="$BUILD/screenshots"
TITLE='Korvex48 Gaming Mouse v1.0'
SRC=$(cd "$(dirname "$0")/.." && pwd)
ORG1="$SRC/resources/tables/org1"
# Seconds until the simulated mouse is found and read: the first poll comes
# after 3.5 s, the mouse is opened 2.1 s later.
CONNECT_WAIT=${KORVEX48_CONNECT_WAIT:-8}
# The simulated mouse (i2c, flash-i2c, flash-flash).
SIMULATE=${KORVEX48_SIMULATE:-flash-flash}

for tool in Xvfb xdotool xdpyinfo import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
[ -x "$BIN" ] || { echo "screenshots: $BIN not built" >&2; exit 1; }

# A free display number, :99 first.
NUM=99
while [ -e "/tmp/.X11-unix/X$NUM" ] || [ -e "/tmp/.X$NUM-lock" ]; do NUM=$((NUM + 1)); done
export DISPLAY=":$NUM"

# Private folders: the editor's single-instance socket, its macro library and
# the simulated mouse never touch the user's own.
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" XDG_DATA_HOME="$WORK/data" TMPDIR="$WORK/tmp" HOME="$WORK/home"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME" "$TMPDIR" "$HOME"
XVFB_PID=""
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
i=0
until xdpyinfo >/dev/null 2>&1; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "screenshots: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

mkdir -p "$OUT"
"$BIN" --simulate="$SIMULATE" --library "$WORK/data/Macro.bin" >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(timeout 20 xdotool search --sync --onlyvisible --name "^$TITLE\$" | head -n 1)
[ -n "$WID" ] || { echo "screenshots: the window did not appear" >&2; cat "$WORK/app.log" >&2; exit 1; }

# Window position: the window is centred on the 1024 x 768 screen.
eval "$(xdotool getwindowgeometry --shell "$WID")"
WIN_X=$X
WIN_Y=$Y

value() { sed -n "s/^$1=\\([0-9-]*\\).*/\\1/p" "$ORG1" | tr -d '\r' | tail -n 1; }

# Closes any message box the last click opened, after it was photographed.
close_popups() {
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    [ "$w" = "$WID" ] && continue
    xdotool windowfocus --sync "$w" key Return 2>/dev/null || true
  done
  sleep 0.3
}

shot() {
  # The pointer leaves the window so no hover look is photographed.
  xdotool mousemove 2 2
  sleep 0.4
  import -window root "$OUT/$1.png"
  echo "screenshots: $OUT/$1.png"
}

# Clicks the navigation button of layout entry Btn_B<k>.
click_nav() {
  x=$(value "Btn_B$1_X"); y=$(value "Btn_B$1_Y")
  xdotool mousemove $((WIN_X + x + 60)) $((WIN_Y + y + 16)) click 1
  sleep 0.5
}

sleep 0.5
shot no-device
sleep "$CONNECT_WAIT"
close_popups

for page in "1 main-control" "2 alternate-key" "3 reset-control" "4 advanced" \
            "5 breathing-light" "11 macro" "12 update"; do
  set -- $page
  click_nav "$1"
  shot "$2"
  close_popups
done

