# Sourced by the tests that drive the real editor under a private Xvfb display
# with xdotool; the test sets BIN (the editor binary) and SRC (the source
# tree) first.
#
#   xvfb_require TOOL...     skip_test (tests/support/skip.sh: status 77, a
#                            skipped test for ctest; a failure under CI=true)
#                            when a tool is missing
#   xvfb_start               a private display, home and runtime folder in
#                            $WORK; the display, the editor and $WORK go at exit
#   xvfb_start_editor ARG... the editor on the simulated mouse, its library
#                            $WORK/Macro.bin, its UI log $WORK/ui.log, its
#                            output $WORK/app.log, and ARG; sets APP_PID, WID
#                            and X, Y (the window's place on the screen)
#   wait_log LINE TRIES      waits up to TRIES x 0.1 s for LINE in the UI log
#   value NAME               a layout value of org1 (e.g. Key2_X)
#   fail MESSAGE             ends the test, showing the UI log and the output

. "$(dirname "$0")/../support/skip.sh"

TITLE='Korvex48 Gaming Mouse v1.0'
WORK=""
XVFB_PID=""
APP_PID=""

xvfb_require() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      skip_test "$tool is not installed (scripts/install-deps.sh installs it)"
    fi
  done
}

cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && wait "$XVFB_PID" 2>/dev/null
  [ -n "$WORK" ] && rm -rf "$WORK"
}

fail() {
  echo "FAIL: $*"
  [ -f "$WORK/ui.log" ] && sed 's/^/  ui-log: /' "$WORK/ui.log"
  [ -f "$WORK/app.log" ] && sed 's/^/  stderr: /' "$WORK/app.log"
  exit 1
}

xvfb_start() {
  WORK=$(mktemp -d)
  trap cleanup EXIT
  trap 'exit 1' INT TERM
  # Xvfb picks a free display itself and tells its number on fd 3.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  i=0
  until [ -s "$WORK/display" ]; do
    i=$((i + 1))
    [ $i -gt 100 ] && fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    sleep 0.1
  done
  DISPLAY=":$(head -n 1 "$WORK/display")"
  XDG_RUNTIME_DIR="$WORK/run" XDG_DATA_HOME="$WORK/data" HOME="$WORK/home"
  XDG_STATE_HOME="$WORK/state"
  export DISPLAY XDG_RUNTIME_DIR XDG_DATA_HOME XDG_STATE_HOME HOME
  mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME" "$HOME"
  unset QT_QPA_PLATFORM
}

xvfb_start_editor() {
  "$BIN" --simulate --library "$WORK/Macro.bin" --ui-log "$WORK/ui.log" "$@" \
    >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  WID=$(timeout 20 xdotool search --sync --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1)
  [ -n "$WID" ] || fail "no window titled '$TITLE' appeared"
  eval "$(xdotool getwindowgeometry --shell "$WID")"
}

wait_log() {
  i=0
  until grep -qx "$1" "$WORK/ui.log" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt "$2" ] && fail "the editor never logged '$1'"
    kill -0 "$APP_PID" 2>/dev/null || fail "the editor ended"
    sleep 0.1
  done
}

value() { sed -n "s/^$1=\\([0-9-]*\\).*/\\1/p" "$SRC/resources/tables/org1" | tr -d '\r' | tail -n 1; }
