#!/bin/sh
# Recording a macro in the real editor under a private Xvfb display: a new
# library macro is made through the library pop-up and the name dialog, the
# record button is clicked, keys are typed and a right click is made with
# xdotool (the X server's input, seen through XInput2 raw events), and the record
# button is clicked again. Macro.bin must then hold the keys (by their key
# codes) and the right click, with delays between them, and neither click on
# the record button.
# Usage: xvfb_record_test.sh KORVEX48_BINARY SOURCE_DIR
# Exit status 77 (a skipped test for ctest) when Xvfb, xdotool or python3 is
# missing.
set -u

BIN=${1:?usage: xvfb_record_test.sh KORVEX48_BINARY SOURCE_DIR}
SRC=${2:?usage: xvfb_record_test.sh KORVEX48_BINARY SOURCE_DIR}
TITLE='Korvex48 Gaming Mouse v1.0'

for tool in Xvfb xdotool python3; do
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

"$BIN" --simulate --library "$WORK/Macro.bin" --ui-log "$WORK/ui.log" >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(timeout 20 xdotool search --sync --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1)
[ -n "$WID" ] || fail "no window titled '$TITLE' appeared"

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
eval "$(xdotool getwindowgeometry --shell "$WID")"
click() { xdotool mousemove "$((X + $1))" "$((Y + $2))" click "${3:-1}"; sleep 0.3; }

# The mouse is found and read first (its busy pop-up would take the clicks).
wait_log "poll opened accepted" 200
# The Macro page (navigation entry Btn_B11).
click "$(($(value Btn_B11_X) + 30))" "$(($(value Btn_B11_Y) + 12))"
wait_log "page Macro gbPage4" 50

# New Macro: a right click in the library list opens its pop-up at the
# pointer, New Macro is its first line; the name dialog has the focus.
LX=$(($(value PCMacroName_X) + 30))
LY=$(($(value PCMacroName_Y) + 10))
click "$LX" "$LY" 3
click "$((LX + 30))" "$((LY + 10))"
xdotool type --delay 80 "Rec"
xdotool key Return
sleep 0.5

# Record: z, y, then a click of the right button; stop with a click on the
# record button.
SX=$(($(value BtnStart_X) + 20))
SY=$(($(value BtnStart_Y) + 12))
click "$SX" "$SY"
xdotool type --delay 150 "zy"
sleep 0.2
xdotool click 3
sleep 0.2
click "$SX" "$SY"
sleep 0.5

python3 - "$WORK/Macro.bin" <<'PY' || fail "Macro.bin does not hold the recording"
import sys
data = open(sys.argv[1], "rb").read()
assert len(data) == 27200, len(data)
rows = [data[i * 272:(i + 1) * 272] for i in range(100)]
names = [r[:16].decode("utf-16-be").rstrip("\0") for r in rows]
assert "Rec" in names, names
ev = rows[names.index("Rec")][16:]
events, pos = [], 0
lengths = {0x82: 2, 0x02: 2, 0x81: 2, 0x01: 2, 0xFE: 3, 0xA2: 1, 0x22: 1, 0xA1: 1, 0x21: 1}
while ev[pos] != 0:
    n = lengths[ev[pos]]
    events.append(ev[pos:pos + n].hex())
    pos += n
keys = [e for e in events if not e.startswith("fe")]
delays = [int(e[2:], 16) for e in events if e.startswith("fe")]
print("recorded:", " ".join(events))
# Z (usage 1D), Y (1C), the right button; the clicks on the record button
# are not there.
assert keys == ["821d", "021d", "821c", "021c", "a2", "22"], keys
assert len(delays) == len(keys) - 1 and all(1 <= d <= 65535 for d in delays), delays
PY
echo "PASS: keys and a click made through the X server were recorded into Macro.bin"
