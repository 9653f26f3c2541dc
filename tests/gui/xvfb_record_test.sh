#!/bin/sh
# Recording a macro in the real editor under a private Xvfb display: a new
# library macro is made through the library pop-up and the name dialog, the
# record button is clicked, keys are typed and a right click is made with
# xdotool (the X server's input, seen through XInput2 raw events), and the record
# button is clicked again. Macro.bin must then hold the keys (by their key
# codes) and the right click, with delays between them, and neither click on
# the record button.
# Usage: xvfb_record_test.sh KORVEX48_BINARY SOURCE_DIR
# Skipped (status 77; a failure under CI=true) when Xvfb, xdotool or python3
# is missing.
set -u

BIN=${1:?usage: xvfb_record_test.sh KORVEX48_BINARY SOURCE_DIR}
SRC=${2:?usage: xvfb_record_test.sh KORVEX48_BINARY SOURCE_DIR}
. "$(dirname "$0")/xvfb_rig.sh"
xvfb_require Xvfb xdotool python3
xvfb_start
xvfb_start_editor

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
