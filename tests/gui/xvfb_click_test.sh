#!/bin/sh
# The real editor under a private Xvfb display on the simulated mouse: the
# window is found by its title, a button label's menu gives the button a
# function (the write is in the protocol trace), a click on the Advanced
# button of the navigation bar (sent through the X server) opens that page,
# dragging the background moves the window, and a second start leaves the
# first window alone. The editor's --ui-log tells what it did.
# Usage: xvfb_click_test.sh KORVEX48_BINARY SOURCE_DIR
# Skipped (status 77; a failure under CI=true) when Xvfb or xdotool is missing.
set -u

BIN=${1:?usage: xvfb_click_test.sh KORVEX48_BINARY SOURCE_DIR}
SRC=${2:?usage: xvfb_click_test.sh KORVEX48_BINARY SOURCE_DIR}
. "$(dirname "$0")/xvfb_rig.sh"
xvfb_require Xvfb xdotool
xvfb_start
xvfb_start_editor --trace "$WORK/trace.txt"

# Wait for the mouse: the first poll comes after 3.5 s, the open 2.1 s later.
wait_log "poll opened accepted" 200
grep -q '> 40 0D' "$WORK/trace.txt" || fail "no device-information command in the trace"

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

# Dragging the background (the header strip between the title and Reset)
# moves the window, here without a window manager to hand the move to.
xdotool mousemove $((X + 560)) $((Y + 14)) mousedown 1
sleep 0.2
xdotool mousemove $((X + 600)) $((Y + 34))
sleep 0.2
xdotool mousemove $((X + 620)) $((Y + 44)) mouseup 1
sleep 0.3
OLD_X=$X
OLD_Y=$Y
eval "$(xdotool getwindowgeometry --shell "$WID")"
[ "$X" -eq $((OLD_X + 60)) ] && [ "$Y" -eq $((OLD_Y + 30)) ] ||
  fail "dragging the background by 60,30 moved the window from $OLD_X,$OLD_Y to $X,$Y"

# A second start asks the first to raise itself and ends at once.
timeout 10 "$BIN" --simulate --library "$WORK/Macro2.bin" >>"$WORK/app.log" 2>&1 ||
  fail "the second start did not end by itself"
kill -0 "$APP_PID" 2>/dev/null || fail "the first editor ended"
[ -n "$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null)" ] ||
  fail "the window is no longer mapped"
COUNT=$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | wc -l)
[ "$COUNT" -eq 1 ] || fail "$COUNT windows titled '$TITLE'"
echo "PASS: window found, Mute given to a button through its menu, Advanced opened by a click, the window dragged, second start raised the first"
