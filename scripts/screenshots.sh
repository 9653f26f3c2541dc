#!/bin/sh
# Saves a PNG of every page of the editor into <build>/screenshots/, run under
# a private Xvfb display on a simulated "Flash" + "Flash" mouse (the storage
# that shows the Update page) with the default image of that build of the
# mouse, one of the window before any mouse was found (no-device.png), one of
# every button function menu (menu-*.png, one with a label near the right
# edge, the device macros of the two bottom labels over the navigation bar
# and the last macro reached by the keys), two of the key-combination dialog
# (dialog-empty.png, dialog.png), the Macro page's insert panel for each
# choice (insert-*.png) and one of a Macro page pop-up (popup-device-macro.png).
#
# Alternate Key and Reset Control open only when profile 1 has a KB Switch Key
# and profile 2 a KB Reset Key; korvex48ctl (built beside the editor, or
# KORVEX48_CTL) gives the simulated mouse those keys first. Without it those
# two shots show the message that explains the refusal.
#
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -eu

BUILD=${1:-build}
BIN="$BUILD/src/gui/korvex48"
CTL=${KORVEX48_CTL:-$BUILD/src/cli/korvex48ctl}
OUT="$BUILD/screenshots"
TITLE='Korvex48 Gaming Mouse v1.0'
SRC=$(cd "$(dirname "$0")/.." && pwd)
ORG1="$SRC/resources/tables/org1"
IMAGE="$SRC/resources/image/KORVEX48DATA-flash-flash"

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
[ -x "$BIN" ] || { echo "screenshots: $BIN not built" >&2; exit 1; }

# Private folders: the editor's single-instance socket, its macro library and
# the simulated mouse never touch the user's own.
WORK=$(mktemp -d)
export XDG_RUNTIME_DIR="$WORK/run" XDG_DATA_HOME="$WORK/data" TMPDIR="$WORK/tmp" HOME="$WORK/home"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME" "$TMPDIR" "$HOME"
unset QT_QPA_PLATFORM
XVFB_PID=""
APP_PID=""
cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Xvfb picks a free display and tells its number on fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
i=0
until [ -s "$WORK/display" ]; do
  i=$((i + 1)); [ $i -gt 100 ] && { echo "screenshots: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$WORK/display")"

# The simulated mouse, with the keys that open profiles 2 and 3.
STATE="$WORK/mouse.state"
SIM="--simulate=flash-flash:$STATE"
if [ -x "$CTL" ]; then
  "$CTL" "$SIM" --default-image "$IMAGE" set button 1 12 "KB Switch Key" >/dev/null
  "$CTL" "$SIM" --default-image "$IMAGE" set button 2 11 "KB Reset Key" >/dev/null
  # Fifteen device macros: LB_Name at its tallest.
  for row in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15; do
    "$CTL" "$SIM" --default-image "$IMAGE" macro add $row >/dev/null
  done
else
  echo "screenshots: $CTL not built: Alternate Key and Reset Control show their refusal" >&2
fi

mkdir -p "$OUT"
"$BIN" "$SIM" --default-image "$IMAGE" \
  --ui-log "$WORK/ui.log" >"$WORK/app.log" 2>&1 &
APP_PID=$!
WID=$(timeout 20 xdotool search --sync --onlyvisible --name "^$TITLE\$" | head -n 1)
[ -n "$WID" ] || { echo "screenshots: the window did not appear" >&2; cat "$WORK/app.log" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$WID")"
WIN_X=$X
WIN_Y=$Y

value() { sed -n "s/^$1=\\([0-9-]*\\).*/\\1/p" "$ORG1" | tr -d '\r' | tail -n 1; }

# Waits until the editor logged a line that starts with $1.
wait_log() {
  i=0
  until grep -q "^$1" "$WORK/ui.log" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt 300 ] && { echo "screenshots: the editor never logged '$1'" >&2; cat "$WORK/ui.log" >&2; exit 1; }
    sleep 0.1
  done
}

# Closes any message the last click opened, after it was photographed: one
# drawn inside the window (Escape answers it; without one Escape closes the
# pop-ups), or a message box of its own made before the window showed.
close_popups() {
  for w in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
    [ "$w" = "$WID" ] && continue
    xdotool windowfocus --sync "$w" key Return 2>/dev/null || true
  done
  xdotool windowfocus --sync "$WID" key Escape 2>/dev/null || true
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
  xdotool mousemove $((WIN_X + x + 30)) $((WIN_Y + y + 12)) click 1
  sleep 0.5
}

# Before the first poll (3.5 s after the start) no mouse is known.
sleep 0.5
shot no-device
wait_log "poll opened accepted"
sleep 0.5

for page in "1 main-control" "2 alternate-key" "3 reset-control" "4 advanced" \
            "5 breathing-light" "11 macro" "12 update"; do
  set -- $page
  click_nav "$1"
  shot "$2"
  close_popups
done

# The button function menus, photographed with the pointer on the entry that
# opened them, and the key-combination dialog. The menu opens at the centre
# of the label (140 x 28) of layout entry Key2; entries are 24 pixels high
# below a 1-pixel border, submenus open right of the 190-pixel menu.
click_nav 1
close_popups
shot_here() {
  sleep 0.4
  import -window root "$OUT/$1.png"
  echo "screenshots: $OUT/$1.png"
}
KX=$(value Key2_X); KY=$(value Key2_Y)
MX=$((WIN_X + KX + 70)); MY=$((WIN_Y + KY + 14))
entry_y() { echo $(($2 + 1 + 24 * $1 + 12)); }  # entry $1 (from 0) of a menu at $2
open_menu() {
  xdotool mousemove 2 2 click 1
  sleep 0.3
  xdotool mousemove $((MX - 30)) $((MY - 8)) click 1
  sleep 0.3
}
for menu in "0 standard" "1 special" "2 media" "3 www" "4 pc" "6 macro"; do
  set -- $menu
  open_menu
  xdotool mousemove $((MX + 95)) "$(entry_y "$1" "$MY")"
  shot_here "menu-$2"
done
# Fire Key inside Special Key.
open_menu
xdotool mousemove $((MX + 95)) "$(entry_y 1 "$MY")"
sleep 0.3
xdotool mousemove $((MX + 190 + 95)) "$(entry_y 0 $((MY + 24)))"
shot_here "menu-fire"
# A label near the right edge: the menu and its submenus open to the left.
RX=$(value Key10_X); RY=$(value Key10_Y)
xdotool mousemove 2 2 click 1
sleep 0.3
xdotool mousemove $((WIN_X + RX + 40)) $((WIN_Y + RY + 6)) click 1
sleep 0.3
xdotool mousemove $((WIN_X + RX + 70 - 95)) "$(entry_y 2 $((WIN_Y + RY + 14)))"
shot_here "menu-right-edge"
# The labels of the bottom row with the device macros open: the menus lie
# over the navigation bar.
open_label() {  # layout entry Key$1; sets MENU_X, MENU_Y (window pixels)
  BX=$(value "Key$1_X"); BY=$(value "Key$1_Y")
  xdotool mousemove 2 2 click 1
  sleep 0.3
  xdotool mousemove $((WIN_X + BX + 40)) $((WIN_Y + BY + 6)) click 1
  sleep 0.3
  MENU_X=$((BX + 70)); MENU_Y=$((BY + 14))
  [ $((BX + 140 + 190)) -ge 800 ] && MENU_X=$((MENU_X - 190))
  [ $((BY + 28 + 170)) -ge 600 ] && MENU_Y=$((MENU_Y - 170))
  return 0
}
for key in "4 bottom-left" "9 bottom-right"; do
  set -- $key
  open_label "$1"
  xdotool mousemove $((WIN_X + MENU_X + 95)) "$(entry_y 6 $((WIN_Y + MENU_Y)))"
  shot_here "menu-$2-macro"
done
# By keyboard: End, Right, Up on the bottom-right label: the last macro.
open_label 9
xdotool key End Right Up
shot_here "menu-keys"
xdotool key Escape Escape
# User-defined: the dialog, with Ctrl ticked and the key right of Tab pressed.
open_menu
xdotool mousemove $((MX + 95)) "$(entry_y 5 "$MY")" click 1
sleep 0.5
DX=$((WIN_X + (800 - 354) / 2)); DY=$((WIN_Y + (600 - 179) / 2 + 40))
shot_here "dialog-empty"
xdotool mousemove $((DX + 34)) $((DY + 96)) click 1
sleep 0.2
xdotool key q
shot "dialog"
xdotool mousemove $((DX + 336)) $((DY + 18)) click 1

xdotool key Escape
sleep 0.3

# The Macro page's insert panel for each of its ten choices (insert-0 ..
# insert-9), and once while a key is recorded into the macro
# (insert-recording): library macro 1 on show, the pop-up of its first event,
# Insert, then the choice box stepped through with the keyboard.
click_nav 11
close_popups
PCX=$(value PCMacroName_X); PCY=$(value PCMacroName_Y)
EVX=$(value MacroContent_X); EVY=$(value MacroContent_Y)
CBX=$(value InsertList_X); CBY=$(value InsertList_Y)
SBX=$(value InsertBtnStart_X); SBY=$(value InsertBtnStart_Y)
CAX=$(value InsertBtnCancel_X); CAY=$(value InsertBtnCancel_Y)
xdotool mousemove $((WIN_X + PCX + 30)) $((WIN_Y + PCY + 10)) click 1
sleep 0.3
xdotool mousemove $((WIN_X + EVX + 30)) $((WIN_Y + EVY + 10)) click 3
sleep 0.3
# The pop-up opens at the pointer: Delete, then Insert, 20 pixels each.
xdotool mousemove $((WIN_X + EVX + 60)) $((WIN_Y + EVY + 10 + 31)) click 1
sleep 0.3
i=0
while [ $i -le 9 ]; do
  xdotool mousemove $((WIN_X + CBX + 40)) $((WIN_Y + CBY + 10)) click 1
  sleep 0.3
  xdotool key Escape
  xdotool key Home
  n=0
  while [ $n -lt $i ]; do xdotool key Down; n=$((n + 1)); done
  shot "insert-$i"
  i=$((i + 1))
done
xdotool mousemove $((WIN_X + CBX + 40)) $((WIN_Y + CBY + 10)) click 1
sleep 0.3
xdotool key Escape Home Down Down
xdotool mousemove $((WIN_X + SBX + 40)) $((WIN_Y + SBY + 12)) click 1
sleep 0.3
shot insert-recording
xdotool mousemove $((WIN_X + SBX + 40)) $((WIN_Y + SBY + 12)) click 1
sleep 0.3
xdotool mousemove $((WIN_X + CAX + 30)) $((WIN_Y + CAY + 12)) click 1
sleep 0.3

# A command pop-up of the Macro page, opened low in the device macro list:
# it lies over the navigation bar.
click_nav 11
xdotool mousemove $((WIN_X + $(value MseMacroName_X) + 40)) $((WIN_Y + 439)) click 3
shot_here "popup-device-macro"
xdotool key Escape

grep '^message' "$WORK/ui.log" | sed 's/^/screenshots: shown: /' >&2 || true
