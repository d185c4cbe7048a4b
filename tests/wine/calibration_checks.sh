#!/usr/bin/env bash
# Wine checks of the calibrations and the margin keys: the real RA_Zazide.exe beside the
# stand-in SIUSBXP.DLL playing tests/data/scenarios/wine-calibration.txt. The test client gives
# the key calibration (N6) before the board is found and registers as the client (101); the
# pen then locates the margin icons, starts the screen calibration with the first icon, goes
# round the nine crosses and taps the other icons. One line per check, "ok   - " or "FAIL - ".
# Usage: calibration_checks.sh BUILD_DIR, inside a run of run.sh (its Wine prefix and display).
set -uo pipefail

BUILD=$(realpath "${1:?usage: calibration_checks.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
CHECK_PREFIX="calibration: "
BIN="$BUILD/bin"
CAL="$BUILD/wine-test/calibration"
SCENARIO="$HERE/../data/scenarios/wine-calibration.txt"
PROGRAM_PID=""
LISTEN_PID=""

client() { timeout 30 "$WINE" "$BIN/wine_client.exe" "$@" 2>>"$CAL/client.log" | tr -d '\r'; }
# window_becomes PATTERN SECONDS: window-info matches the pattern within the time.
window_becomes() {
  local waited=0 info
  while [ $waited -lt $(($2 * 10)) ]; do
    info=$(client window-info)
    [[ "$info" == $1 ]] && return 0
    sleep 0.1
    waited=$((waited + 1))
  done
  echo "       window: $info"
  return 1
}
server_calibrated() {  # a 3472-byte server.txt whose two scales (offsets 80, 84) are set
  [ "$(stat -c %s "$CAL/app/server.txt")" = 3472 ] || return 1
  [ "$(od -An -tx1 -j80 -N8 "$CAL/app/server.txt" | tr -d ' \n')" != 0000000000000000 ]
}

rm -rf "$CAL"
stand_in_app "$CAL/app" "$BIN" "$SCENARIO"
cd "$CAL/app" || exit 2
timeout 120 "$WINE" "$CAL/app/RA_Zazide.exe" >"$CAL/program.log" 2>&1 &
PROGRAM_PID=$!
check "RA_Zazide.exe starts within 60 s" client wait-window 60
# Before the first device watch (2 s) opens the board and the scenario starts.
check "N6 is taken as a menu command" client menu N6
timeout 90 "$WINE" "$BIN/wine_client.exe" listen 60 "$(windows_path "$CAL/commands.txt")" \
  2>>"$CAL/client.log" &
LISTEN_PID=$!
check "the key calibration shows the full-screen surface" \
  window_becomes "left=0 top=0 client=${SCREEN_WIDTH}x${SCREEN_HEIGHT} * visible=1" 10
check "Label13 prompts for the first corner" equals "$(client label Label13)" \
  "Click on the first icon to the left of the upper right corner"
check "the key calibration ends and hides the surface" window_becomes "* visible=0" 20
check "the key calibration wrote the points into VaziZod.ini" \
  grep -q "VKeyPoint_R_middleX=" "$CAL/app/VaziZod.ini"
# Then the first icon starts the tour; its first cross waits 5 s for the pen.
check "the first icon brings the surface back for the tour" \
  window_becomes "left=0 top=0 client=${SCREEN_WIDTH}x${SCREEN_HEIGHT} * visible=1" 20
check "the screenshot shows the red cross of the first target at (50, 50)" \
  until_true 20 eval 'screenshot "$CAL/first-target.png" &&
                      pixel_is "$CAL/first-target.png" 50 50 "255,0,0"'
check "... 20 px along its arms" pixel_is "$CAL/first-target.png" 70 50 "255,0,0"
check "... on the white surface" pixel_is "$CAL/first-target.png" 200 200 "255,255,255"
tour_done() {
  local waited=0
  while ! server_calibrated && [ $waited -lt 200 ]; do sleep 0.1; waited=$((waited + 1)); done
  server_calibrated
}
check "the tour completes: server.txt rewritten with the new record" tour_done
check "the surface hides again at the end" window_becomes "* visible=0" 20
check "server.txt holds the new record" equals "$(stat -c %s "$CAL/app/server.txt")" 3472
commands_in() {  # the nine icon taps reach the client, or 15 s pass
  local waited=0
  while [ "$(grep -c '^command' "$CAL/commands.txt" 2>/dev/null)" -lt 9 ] && [ $waited -lt 150 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
}
commands_in
client close-class "RA_Zazide test client" >/dev/null
wait "$LISTEN_PID" 2>/dev/null
check "the test client registered (101 answers 1)" grep -q "^request 101 answer 1" "$CAL/commands.txt"
check "the driver has nine keys (326 answers 9)" grep -q "^request 326 answer 9" "$CAL/commands.txt"
check "the board is there in the end (325 answers 1)" \
  equals "$(grep "^request 325" "$CAL/commands.txt" | tail -n1)" "request 325 answer 1"
check "icons 2..9 and the right margin's 4th post their commands to the client" \
  equals "$(awk '$1 == "command" { printf "%s ", $2 }' "$CAL/commands.txt")" \
  "2001 2006 2014 2004 2013 2003 2002 2000 2014 "
# Esc ends a calibration and the pen works again: the surface goes, the record stays.
client menu N1 >/dev/null
check "N1 shows the surface again" window_becomes "* visible=1" 20
check "Esc on the surface cancels the calibration" client esc
check "... and hides the surface" window_becomes "* visible=0" 20
check "WM_CLOSE is accepted afterwards" client close
ended() {
  local waited=0
  while kill -0 "$PROGRAM_PID" 2>/dev/null && [ $waited -lt 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  ! kill -0 "$PROGRAM_PID" 2>/dev/null
}
check "the process ends within 10 s" ended
