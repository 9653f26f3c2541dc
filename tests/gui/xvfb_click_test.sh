#!/bin/sh
# The real editor under a private Xvfb display on the simulated mouse: the
# window is found by its title, a button label's menu gives the button a
# function (the write is in the protocol trace), a click on the Advanced
# button of the navigation bar (sent through the X server) opens that page,
# and a second start leaves the first window alone. The editor's --ui-log tells what it did.
# Usage: xvfb_click_test.sh KORVEX48_BINARY SOURCE_DIR
# Exit status 77 (a skipped test for ctest) when Xvfb or xdotool is missing.
set -u

BIN=${1:?usage: xvfb_click_test.sh KORVEX48_BINARY SOURCE_DIR}
SRC=${2:?usage: xvfb_click_test.sh KORVEX48_BINARY SOURCE_DIR}
TITLE='Korvex48 Gaming Mouse v1.0'

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

WORK=$(mktemp -d)
XVFB_PID=""
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  [ -n "$XVFB_PID" ] && wait "$XVFB_PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
  echo "FAIL: $*"
  [ -f "$WORK/ui.log" ] && sed 's/^/  ui-log: /' "$WORK/ui.log"
  [ -f "$WORK/app.log" ] && sed 's/^/  stderr: /' "$WORK/app.log"
  exit 1
}

# Xvfb picks a free display itself and tells its number on fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
i=0
until [ -s "$WORK/display" ]; do
  i=$((i + 1))
  [ $i -gt 100 ] && fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$WORK/display")"
export XDG_RUNTIME_DIR="$WORK/run" XDG_DATA_HOME="$WORK/data" HOME="$WORK/home"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME" "$HOME"
unset QT_QPA_PLATFORM

"$BIN" --simulate --library "$WORK/Macro.bin" --ui-log "$WORK/ui.log" \
  --trace "$WORK/trace.txt" >"$WORK/app.log" 2>&1 &
APP_PID=$!

WID=$(timeout 20 xdotool search --sync --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "no window titled '$TITLE' appeared"

# Wait for the mouse: the first poll comes after 3.5 s, the open 2.1 s later.
wait_log() {
  i=0
  until grep -qx "$1" "$WORK/ui.log" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt "$2" ] && fail "the editor never logged '$1'"
    kill -0 "$APP_PID" 2>/dev/null || fail "the editor ended"
    sleep 0.1
  done
}
wait_log "poll opened accepted" 200
grep -q '> 40 0D' "$WORK/trace.txt" || fail "no device-information command in the trace"

value() { sed -n "s/^$1=\\([0-9-]*\\).*/\\1/p" "$SRC/resources/tables/org1" | tr -d '\r' | tail -n 1; }
eval "$(xdotool getwindowgeometry --shell "$WID")"

# A button label (layout entry Key2 of org1: button 5 for both LED kinds, a
# 140 x 28 label) opens the function menu at its centre; the pointer on Media
# Fn (third entry, 24 pixels each below a 1-pixel border) opens that submenu
# to the right of the 190-pixel menu; a click on Mute (seventh entry) gives
# button 5 of profile 1 the code 03 00 E2 00, written at profile offset 0x10.
KX=$(value Key2_X)
KY=$(value Key2_Y)
[ -n "$KX" ] && [ -n "$KY" ] || fail "Key2 is not in org1"
xdotool mousemove $((X + KX + 70)) $((Y + KY + 14)) click 1
MX=$((KX + 70))
MY=$((KY + 14))
sleep 0.3
xdotool mousemove $((X + MX + 60)) $((Y + MY + 1 + 2 * 24 + 12))
sleep 0.3
xdotool mousemove $((X + MX + 190 + 60)) $((Y + MY + 1 + 2 * 24 + 6 * 24 + 12))
sleep 0.3
xdotool click 1
i=0
until grep -qi '> 40 05 01 10 03 00 E2 00' "$WORK/trace.txt"; do
  i=$((i + 1))
  [ $i -gt 50 ] && fail "no write of Mute to button 5 in the trace: $(grep '> 40 05 01' "$WORK/trace.txt")"
  sleep 0.1
done

# The Advanced button of the navigation bar (layout entry Btn_B4 of org1).
BX=$(value Btn_B4_X)
BY=$(value Btn_B4_Y)
[ -n "$BX" ] && [ -n "$BY" ] || fail "Btn_B4 is not in org1"
xdotool mousemove $((X + BX + 30)) $((Y + BY + 12)) click 1
wait_log "page Adv gbPage2" 50

# A second start asks the first to raise itself and ends at once.
timeout 10 "$BIN" --simulate --library "$WORK/Macro2.bin" >>"$WORK/app.log" 2>&1 ||
  fail "the second start did not end by itself"
kill -0 "$APP_PID" 2>/dev/null || fail "the first editor ended"
[ -n "$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null)" ] ||
  fail "the window is no longer mapped"
COUNT=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | wc -l)
[ "$COUNT" -eq 1 ] || fail "$COUNT windows titled '$TITLE'"
echo "PASS: window found, Mute given to a button through its menu, Advanced opened by a click, second start raised the first"
