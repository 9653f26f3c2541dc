#!/bin/sh
# The editor as a native Wayland client of Weston's headless compositor
# (pixman renderer, a plain background, no panel, no animations), seen through the
# compositor's screenshots: the window's cut corners show the background, and
# the key-combination dialog and the busy pop-up open inside the window, where
# a Wayland client cannot put windows of its own.
# Usage: weston_test.sh WINDOW_PROBE_BINARY
# Exit status 77 (a skipped test for ctest) when Weston, its screenshot client,
# the Qt Wayland plugin or Pillow is missing or Weston does not start; with
# CI=true those are failures instead.
set -u

PROBE=${1:?usage: weston_test.sh WINDOW_PROBE_BINARY}
HERE=$(dirname "$0")
. "$HERE/../../support/skip.sh"
BACKGROUND=204060
WORK=""
WESTON_PID=""
PROBE_PID=""

fail() {
  echo "FAIL: $*"
  [ -f "$WORK/probe.err" ] && sed 's/^/  probe: /' "$WORK/probe.err" | tail -n 20
  exit 1
}

cleanup() {
  [ -n "$PROBE_PID" ] && kill "$PROBE_PID" 2>/dev/null
  [ -n "$WESTON_PID" ] && kill "$WESTON_PID" 2>/dev/null
  [ -n "$WESTON_PID" ] && wait "$WESTON_PID" 2>/dev/null
  [ -n "$WORK" ] && rm -rf "$WORK"
}

for tool in weston weston-screenshooter; do
  command -v "$tool" >/dev/null 2>&1 || skip_test "$tool is not installed (scripts/install-deps.sh installs it)"
done
# Debian's Pillow (python3-pil) belongs to the system's interpreter.
PY=/usr/bin/python3
[ -x "$PY" ] || PY=python3
"$PY" -c 'import PIL' 2>/dev/null || skip_test "python3-pil is not installed"
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
  skip_test "Qt's Wayland platform plugin (qt6-wayland) is not installed"

WORK=$(mktemp -d)
trap cleanup EXIT
trap 'exit 1' INT TERM
export XDG_RUNTIME_DIR="$WORK/run" HOME="$WORK/home" XDG_DATA_HOME="$WORK/data"
export XDG_STATE_HOME="$WORK/state"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME" "$XDG_DATA_HOME"
cat >"$WORK/weston.ini" <<INI
[shell]
background-color=0xff$BACKGROUND
panel-position=none
startup-animation=none
animation=none
close-animation=none
INI
# --debug lets clients take screenshots; the screenshot client needs pixman.
weston --backend=headless-backend.so --use-pixman --socket=korvex48-test --width=1280 \
  --height=1024 --debug --config="$WORK/weston.ini" >"$WORK/weston.log" 2>&1 &
WESTON_PID=$!
i=0
until [ -S "$XDG_RUNTIME_DIR/korvex48-test" ]; do
  i=$((i + 1))
  if [ $i -gt 100 ] || ! kill -0 "$WESTON_PID" 2>/dev/null; then
    skip_test "Weston did not start: $(tail -n 3 "$WORK/weston.log" | tr '\n' ' ')"
  fi
  sleep 0.1
done
export WAYLAND_DISPLAY=korvex48-test QT_QPA_PLATFORM=wayland
unset DISPLAY

# The probe reads its steps from a pipe and answers each on its output.
mkfifo "$WORK/steps"
"$PROBE" <"$WORK/steps" >"$WORK/probe.out" 2>"$WORK/probe.err" &
PROBE_PID=$!
exec 3>"$WORK/steps"

wait_for() {
  i=0
  until grep -qx "$1" "$WORK/probe.out" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt 300 ] && fail "the probe never answered '$1'"
    kill -0 "$PROBE_PID" 2>/dev/null || fail "the probe ended before '$1'"
    sleep 0.1
  done
}

# weston-screenshooter writes wayland-screenshot-<time>.png into the current
# folder; each shot gets a folder of its own.
shoot() {
  mkdir -p "$WORK/$1"
  (cd "$WORK/$1" && timeout 20 weston-screenshooter >/dev/null 2>&1) ||
    fail "weston-screenshooter did not take the screenshot '$1'"
  SHOT=$(ls "$WORK/$1"/*.png 2>/dev/null | head -n 1)
  [ -n "$SHOT" ] || fail "no screenshot '$1' was written"
  [ -n "${KORVEX48_SHOTS:-}" ] && cp "$SHOT" "$KORVEX48_SHOTS/weston-$1.png"
  eval "SHOT_$1=\$SHOT"
}

wait_for shown
shoot window
RECT=$("$PY" "$HERE/check_shot.py" window "$SHOT_window") || fail "$RECT"

echo dialog >&3
wait_for dialog
shoot dialog
# The dialog is 354 x 179.
OUT=$("$PY" "$HERE/check_shot.py" inside "$SHOT_window" "$SHOT_dialog" $RECT 300 150) ||
  fail "key-combination dialog: $OUT"

echo busy >&3
wait_for busy
shoot busy
OUT=$("$PY" "$HERE/check_shot.py" inside "$SHOT_dialog" "$SHOT_busy" $RECT 100 100) ||
  fail "busy pop-up: $OUT"

echo quit >&3
echo "PASS: window at $RECT with see-through corners; the key-combination dialog and the busy pop-up open inside it"
