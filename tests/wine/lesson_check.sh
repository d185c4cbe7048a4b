#!/usr/bin/env bash
# A whole lesson through the real RA_Zazide.exe under Wine: the stand-in SIUSBXP.DLL plays
# tests/data/scenarios/wine-lesson.txt, the ink canvas fills the screen and the test client
# (wine_client listen) is registered as the client and named as the hold target. From outside,
# at the moments the scenario leaves for them, the test gives the menu commands a teacher
# gives: N6 (hotkey settings) while the board is still absent, N4 (use hotkeys), English1 and
# EXIT (N3); then it starts the program again.
# Checks, one line each ("ok   - lesson: ..." / "FAIL - lesson: ..."): the board absent then
# plugged in, the key calibration, the screen calibration by both first icons (a screenshot of
# the first cross), every icon's command at the client, the hold message, the word and the
# strokes on the canvas within 2 px of the pen (ink_check.py), the right-click, the button let
# go when the cable comes out mid-stroke, the language across a restart, Esc on the surface,
# exit code 0; then, from a fresh folder with Mapping=1, the tour and a word on a strongly
# keystoned projection (wine-keystone.txt), every drag point within 2 px of the pen.
# Usage: tests/wine/lesson_check.sh BUILD_DIR   (a win32 or win64 build)
# On its own it makes its own Wine prefix and X server; run.sh runs it inside its own with
# RAZ_WINE_SHARED=1. Files stay in BUILD_DIR/wine-test/lesson/.
set -uo pipefail

BUILD=$(realpath "${1:?usage: lesson_check.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
STARTED=$SECONDS
{ check_setup lesson "$BUILD"; status=$?; } || exit $((status == 1 ? 0 : status))
[ "${RAZ_WINE_SHARED:-}" = 1 ] || echo "# prefix ready after $((SECONDS - STARTED)) s"
SCENARIO="$HERE/../data/scenarios/wine-lesson.txt"
INK_CHECK="$HERE/../../tools/ink_canvas/ink_check.py"
CLIENT_CLASS="RA_Zazide test client"
LISTEN_PID=""
visible_is() { [[ "$(client window-info)" == *" visible=$1" ]]; }
surface_shown() {  # the main window laid over the whole screen
  [[ "$(client window-info)" == "left=0 top=0 client=${SCREEN_WIDTH}x${SCREEN_HEIGHT} "*" visible=1" ]]
}
# colour_in PNG X Y W H R,G,B: at least 50 pixels of that colour in the rectangle.
colour_in() {
  local n
  n=$(convert "$1" -crop "$4x$5+$2+$3" +repage txt:- 2>/dev/null | grep -c "($6)")
  [ "$n" -ge 50 ]
}
server_calibrated() {  # a 3472-byte server.txt whose two scales (offsets 80, 84) are set
  [ "$(stat -c %s "$APP/server.txt" 2>/dev/null)" = 3472 ] &&
    [ "$(od -An -tx1 -j80 -N8 "$APP/server.txt" | tr -d ' \n')" != 0000000000000000 ]
}
zero_server() { head -c 3472 /dev/zero >"$APP/server.txt"; }
count_of() { grep -c "$1" "$2" 2>/dev/null; }
canvas_has() { [ "$(count_of " $1 " "$WORK/canvas.log")" -ge "$2" ]; }
log_has() { grep -q "$1" "$WORK/commands.txt" 2>/dev/null; }
ended_with_zero() { exits_zero_within "$PROGRAM_PID" "$1" && PROGRAM_PID=""; }
cleanup() {
  kill $LISTEN_PID $CANVAS_PID 2>/dev/null
  kill_program
  stop_own_wine
  wait 2>/dev/null
  return 0
}
trap cleanup EXIT

chinese_fonts >"$WORK/registry.log" 2>&1  # the surface's buttons in the first screenshot

# The program folder as the installer leaves it, in Chinese (no language yet), hotkeys off, and
# the test client named as the window that takes the hold messages.
stand_in_app "$APP" "$BIN" "$SCENARIO"
printf '[PARAMETERS]\r\nvkey=0\r\nAPPClassName=%s\r\nAPPCaption=%s\r\n' \
  "$CLIENT_CLASS" "$CLIENT_CLASS" >"$APP/VaziZod.ini"
pen_response_setting "$APP/VaziZod.ini"

start_canvas "$BIN" "$WORK/canvas.bmp" "$WORK/canvas.log" 240
check "the ink canvas starts within 60 s" client wait-class "$CANVAS_CLASS" 60
LESSON_STARTED=$SECONDS
check "RA_Zazide.exe starts within 60 s" start_program
check "it starts in Chinese" label_is Label13 "请点击左侧第一个图标的右上角"
timeout 200 "$WINE" "$BIN/wine_client.exe" listen 180 "$(windows_path "$WORK/commands.txt")" \
  2>>"$WORK/client.log" &
LISTEN_PID=$!

# --- plug
check "the board is absent at the first device watch (Label2 no within 10 s)" \
  label_becomes Label2 no 10
check "N6 (hotkey settings) shows the full-screen surface" \
  eval 'client menu N6 && until_true 10 surface_shown'
check "the first prompt stands in bold blue on white in its place" \
  until_true 10 eval 'screenshot "$WORK/key-prompt.png" &&
                      colour_in "$WORK/key-prompt.png" 32 152 820 34 "0,0,255"'
check "the board plugged in is found (Label2 ok within 12 s)" label_becomes Label2 ok 12
check "the key calibration ends and hides the surface (within 25 s)" until_true 25 visible_is 0
check "the three corners are stored in VaziZod.ini" \
  equals "$(grep -c '^VKeyPoint_' "$APP/VaziZod.ini")" 6
check "N4 switches the hotkeys on (vkey=1)" \
  eval 'client menu N4 && until_true 20 grep -q "^vkey=1" "$APP/VaziZod.ini"'
check "the test client registered (101 answers 1)" until_true 10 log_has "^request 101 answer 1"

# --- calibrate
check "the first icon of the left margin starts the calibration (within 15 s)" \
  until_true 15 surface_shown
check "the screenshot shows the red cross of the first target at (50, 50)" \
  until_true 20 eval 'screenshot "$WORK/first-target.png" &&
                      pixel_is "$WORK/first-target.png" 50 50 "255,0,0"'
check "... 20 px along its arms" pixel_is "$WORK/first-target.png" 50 70 "255,0,0"
check "... on the white surface" pixel_is "$WORK/first-target.png" 200 200 "255,255,255"
check "the surface says which cross is due" \
  label_is Label1 "请用笔点击红色十字的中心（第 1 个，共 9 个）。按 Esc 键取消。"
check "the pen goes round the nine crosses: server.txt rewritten (within 25 s)" \
  until_true 25 server_calibrated
check "the surface hides at the end" until_true 20 visible_is 0
cp "$APP/server.txt" "$WORK/server-first-tour.txt"
zero_server
check "the first icon of the right margin starts it again (within 10 s)" \
  until_true 10 surface_shown
check "the second round rewrites server.txt (within 25 s)" until_true 25 server_calibrated
check "the surface hides again" until_true 20 visible_is 0

# --- keys, word, hold, right-click
check "the third icon held posts the hold message (within 60 s)" \
  until_true 60 log_has "^hold 2 "
check "the canvas gets the right-click (within 15 s)" until_true 15 canvas_has rup 1

# --- unplug
check "the cable pulled out shows no (within 15 s)" label_becomes Label2 no 15
check "plugged back in shows ok (within 10 s)" label_becomes Label2 ok 10
CONTACTS=$(python3 "$INK_CHECK" --count "$SCENARIO" 2>/dev/null)
last_press_released() {
  awk '$2 == "down" { up = 0 } $2 == "up" { up = 1 } END { exit !up }' "$WORK/canvas.log"
}
check "the pen writes again: $CONTACTS presses on the canvas, the last released (within 20 s)" \
  until_true 20 eval 'canvas_has down "$CONTACTS" && last_press_released'
sleep 1

# The client's log: the requests' answers, then the commands of icons 2 to 9 of each margin,
# the press of the held third icon and its hold message. The first icon's tap arms a hold on
# the timer that has run since the start; should that timer fall due under the tap, one hold
# message for the first icon (0) comes before them.
only_the_held_icon_holds() {
  local holds
  holds=$(grep '^hold' "$WORK/commands.txt" | tr '\n' ' ')
  [[ "$holds" =~ ^(hold\ 0\ 5000\ )?hold\ 2\ 5000\ $ ]] || { echo "       holds: $holds"; return 1; }
}
client close-class "$CLIENT_CLASS" >/dev/null
wait "$LISTEN_PID" 2>/dev/null
LISTEN_PID=""
check "the driver has nine keys (326 answers 9)" log_has "^request 326 answer 9"
check "icons 2 to 9 of both margins and the held third icon post their commands in order" \
  equals "$(awk '$1 == "command" { printf "%s ", $2 }' "$WORK/commands.txt")" \
  "2001 2006 2014 2004 2013 2003 2002 2000 2001 2006 2014 2004 2013 2003 2002 2000 2006 "
check "the hold posts wParam 2, lParam 5000 after the held icon's command" \
  equals "$(grep -E '^(command|hold [12])' "$WORK/commands.txt" | tail -n2 | tr '\n' ' ')" \
  "command 2006 0 hold 2 5000 "
check "no other hold message (at most the first icon's)" only_the_held_icon_holds

client close-class "$CANVAS_CLASS" >/dev/null
check "the canvas closes and saves its picture" \
  ends_within "$CANVAS_PID" 10
CANVAS_PID=""
convert "$WORK/canvas.bmp" "$WORK/canvas.png" 2>/dev/null
ink_tally "canvas: " "$WORK/ink.txt" --calibrated "$SCENARIO" "$WORK/canvas.log"

# --- language
check "English1 switches the captions to English" \
  eval 'client menu English1 &&
        label_becomes Label13 "Click on the first icon to the left of the upper right corner" 20'
check "the switch is stored: Select=1" grep -q '^Select=1' "$APP/VaziZod.ini"
check "EXIT (N3) ends the program with exit code 0 (within 10 s)" \
  eval 'client menu N3 && ended_with_zero 10'
LESSON_TOOK=$((SECONDS - LESSON_STARTED))

# Started again with the board plugged in and no pen (no scenario).
rm "$APP/siusbxp-scenario.txt"
check "RA_Zazide.exe starts again" start_program
check "after the restart the captions are English at once" \
  label_is Label13 "Click on the first icon to the left of the upper right corner"
check "the board is found again (Label2 ok within 8 s)" label_becomes Label2 ok 8
check "N1 shows the calibration surface again" eval 'client menu N1 && until_true 20 surface_shown'
check "Esc on the surface cancels the calibration and hides it" \
  eval 'client esc && until_true 20 visible_is 0'
check "the hotkeys stay on (vkey=1) and server.txt holds the calibration" \
  eval 'grep -q "^vkey=1" "$APP/VaziZod.ini" && server_calibrated'
check "EXIT ends it with exit code 0 again" eval 'client menu N3 && ended_with_zero 10'

# --- keystone: from a fresh folder with Mapping=1 (keystone-exact), on a projector tilted to a
# strong keystone (tests/data/scenarios/wine-keystone.txt): the tour, then a word across the
# middle row and column of crosses, every drag point within 2 px of the pen.
KEYSTONE="$HERE/../data/scenarios/wine-keystone.txt"
KEYSTONE_LOG="$WORK/keystone-canvas.log"
APP="$WORK/keystone-app"
stand_in_app "$APP" "$BIN" "$KEYSTONE"
printf '[PARAMETERS]\r\nMapping=1\r\n' >"$APP/VaziZod.ini"
start_canvas "$BIN" "$WORK/keystone-canvas.bmp" "$KEYSTONE_LOG" 120
check "keystone: the ink canvas starts within 60 s" client wait-class "$CANVAS_CLASS" 60
check "keystone: RA_Zazide.exe with Mapping=1 starts within 60 s" start_program
check "keystone: the board is found (Label2 ok within 10 s)" label_becomes Label2 ok 10
check "keystone: N1 shows the calibration surface" eval 'client menu N1 && until_true 10 surface_shown'
check "keystone: the pen goes round the nine crosses (surface hidden within 25 s)" \
  until_true 25 visible_is 0
KEYSTONE_CONTACTS=$(python3 "$INK_CHECK" --count "$KEYSTONE" 2>/dev/null)
check "keystone: the word's $KEYSTONE_CONTACTS presses are released on the canvas (within 30 s)" \
  until_true 30 eval '[ "$(count_of " up " "$KEYSTONE_LOG")" -ge "$KEYSTONE_CONTACTS" ]'
close_canvas "keystone: the canvas closes"
ink_tally "keystone: " "$WORK/keystone-ink.txt" --calibrated "$KEYSTONE" "$KEYSTONE_LOG"
check "keystone: EXIT ends it with exit code 0" eval 'client menu N3 && ended_with_zero 10'

echo "# the lesson took $LESSON_TOOK s, the whole check $((SECONDS - STARTED)) s"
summary
