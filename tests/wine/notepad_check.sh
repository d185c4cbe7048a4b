#!/usr/bin/env bash
# The pen in a program nobody here wrote: Wine's own notepad. The simulated pen drags along the
# first line of a text file, which must select exactly that line, and then right-clicks on the
# second line, which must open notepad's context menu under the pen and leave the selection.
# Usage: tests/wine/notepad_check.sh BUILD_DIR   (a win32 or win64 build)
# On its own it makes its own Wine prefix and X server; run.sh runs it inside its own with
# RAZ_WINE_SHARED=1. One line per check ("ok   - notepad: ..."), then a summary.
set -uo pipefail

BUILD=$(realpath "${1:?usage: notepad_check.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
{ check_setup notepad "$BUILD"; status=$?; } || exit $((status == 1 ? 0 : status))
OUT="$HERE/../../out/wine-notepad/$WINE_MACHINE"
NOTEPAD_PID=""
# Where notepad goes on the 1280 x 800 screen.
LEFT=200
TOP=150
# How far the menu's corner may lie from the pen: the pen's own error (within 2 px) and a pixel.
MENU_SLACK=3

cleanup() {
  local pid
  client menu-keys-of Notepad escape >/dev/null
  client close-class Notepad >/dev/null
  client close >/dev/null
  for pid in $NOTEPAD_PID $PROGRAM_PID; do
    ends_within "$pid" 5 || { kill "$pid"; wait "$pid"; }
  done
  stop_own_wine
  return 0
} 2>/dev/null
trap cleanup EXIT

rm -rf "$OUT"
mkdir -p "$OUT"

printf 'The quick brown fox jumps over the lazy dog\r\nsecond line of the text\r\nthird line\r\n' \
  >"$WORK/text.txt"
timeout 120 "$WINE" notepad "$(windows_path "$WORK/text.txt")" >"$WORK/notepad.log" 2>&1 &
NOTEPAD_PID=$!
check "notepad opens the text within 60 s" client wait-class Notepad 60
# LEFT_X TOP_Y RIGHT_X LINE_HEIGHT LENGTH of the first line on the screen, once notepad shows it.
placed() { [ -n "${length:-}" ] && [ "$length" -eq 43 ] && [ "$line" -gt 0 ]; }
place_first_line() {
  read -r x0 y0 x1 line length < <(client edit-place Notepad "$LEFT" "$TOP" 700 400)
  placed
}
check "notepad's first line is found on the screen (43 characters)" until_true 20 place_first_line
echo "# notepad's first line: x $x0..$x1, top $y0, height $line, $length characters"

# The pen: pressed just inside the first character, dragged well past the end of the line
# along its middle, lifted; then a right-click in the middle of the second line.
ym=$((y0 + line / 2))
yr=$((y0 + line + line / 2))
xr=$(((x0 + x1) / 2))
{
  echo "screen $SCREEN_WIDTH $SCREEN_HEIGHT"
  echo "projection 73.5 73.5 147 147 0 0"
  echo "wait 3s"
  echo "near $((x0 + 1)) $ym 50ms"
  echo "touch $((x0 + 1)) $ym 200ms"
  echo "stroke $((x0 + 1)) $ym $((x1 + 60)) $ym 600ms"
  echo "touch $((x1 + 60)) $ym 200ms"
  echo "near $((x1 + 60)) $ym 50ms"
  echo "lift 500ms"
  echo "hover $xr $yr 200ms"
  echo "right $xr $yr 90ms"
  echo "near $xr $yr 100ms"
  echo "lift 2s"
} >"$WORK/scenario.txt"
stand_in_app "$APP" "$BIN" "$WORK/scenario.txt"
(cd "$APP" && exec timeout 90 "$WINE" "$APP/RA_Zazide.exe") >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!
check "RA_Zazide.exe with the stand-in board starts within 60 s" client wait-window 60

# wait_selection TEXT SECONDS: the edit's selection reads TEXT within the time.
selection_is() { [ "$(client edit-selection Notepad)" = "$1" ]; }
wait_selection() { until_true "$2" selection_is "$1" || equals "$(client edit-selection Notepad)" "$1"; }
check "the drag selects exactly the first line (0 to 43, within 20 s)" wait_selection "0 $length" 20

read -r mx my _ _ < <(client wait-menu 15 Notepad)
echo "# the right-click at ($xr, $yr); the menu's corner at (${mx:-none}, ${my:-none})"
screenshot "$OUT/notepad-menu.png"
under_pen() {
  [ -n "${mx:-}" ] && [ $((mx - xr)) -le $MENU_SLACK ] && [ $((xr - mx)) -le $MENU_SLACK ] &&
    [ $((my - yr)) -le $MENU_SLACK ] && [ $((yr - my)) -le $MENU_SLACK ]
}
check "the right-click opens notepad's menu under the pen (within $MENU_SLACK px)" under_pen
check "the right-click leaves the selection as it was" equals "$(client edit-selection Notepad)" \
  "0 $length"
client menu-keys-of Notepad escape >/dev/null
check "the menu closes on Escape" client wait-no-menu 5 Notepad

client close >/dev/null
check "RA_Zazide.exe ends when closed" ends_within "$PROGRAM_PID" 10
client close-class Notepad >/dev/null
check "notepad ends when closed, nothing to save" ends_within "$NOTEPAD_PID" 10

echo "# screenshot in $(realpath "$OUT")"
summary
