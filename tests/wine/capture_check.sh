#!/usr/bin/env bash
# Field capture under Wine (called by run.sh inside its prefix and X server): RA_Zazide.exe
# plays a scenario live onto the ink canvas, and while it holds the board razazide-record is
# refused with the advice to exit the driver; then razazide-record records the same scenario
# from the stand-in board, razazide-sim replays the capture, and capture_compare.py compares the
# replayed mouse events with the live ones. Also the recorder's words for a missing library, a
# library of the other architecture and an absent board. One line per check.
# Usage: capture_check.sh BUILD_DIR WORK_DIR
set -uo pipefail

BUILD=$(realpath "$1")
CAP=$(realpath -m "$2")
HERE=$(dirname "$(realpath "$0")")
ROOT=$(realpath "$HERE/../..")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
select_wine "$BUILD/bin/RA_Zazide.exe" || exit 0
BIN="$BUILD/bin"
SCENARIO="$ROOT/tests/data/scenarios/capture-taps-right-stroke.txt"
PROGRAM_PID=""

contains() { [[ "$1" == *"$2"* ]] || { echo "       '$2' not in: $1"; return 1; }; }
CLIENT_LOG="$CAP/client.log"
# record FOLDER ARGS...: runs the recorder installed in FOLDER; its words in RECORD_TEXT, its
# exit code in RECORD_STATUS.
record() {
  local folder="$1"
  shift
  (cd "$folder" && timeout 60 "$WINE" "$folder/razazide-record.exe" "$@" >"$CAP/record.out" \
    2>/dev/null)
  RECORD_STATUS=$?
  RECORD_TEXT=$(tr -d '\r' <"$CAP/record.out")
  echo "$RECORD_TEXT" | sed 's/^/       | /'
}
app_folder() {  # app_folder DIR SCENARIO_FILE: the driver, the recorder and the stand-in board
  stand_in_app "$1" "$BIN" "$2"
  cp "$BIN/razazide-record.exe" "$1/"
}

rm -rf "$CAP"
mkdir -p "$CAP"

# The recorder's words when it cannot record.
mkdir -p "$CAP/nolib"
cp "$BIN/razazide-record.exe" "$CAP/nolib/"
record "$CAP/nolib" --seconds 1 --out "$(windows_path "$CAP/nolib/out")"
check "record: without SIUSBXP.DLL it names the folder the library belongs in (status 1)" \
  eval 'equals "$RECORD_STATUS" 1 && contains "$RECORD_TEXT" "SIUSBXP.DLL is not in"'
other=$BUILD/../win64/bin/SIUSBXP.DLL
[ "$WINE_MACHINE" = x64 ] && other=$BUILD/../win32/bin/SIUSBXP.DLL
if [ -f "$other" ]; then
  cp "$other" "$CAP/nolib/SIUSBXP.DLL"
  record "$CAP/nolib" --seconds 1 --out "$(windows_path "$CAP/nolib/out")"
  check "record: a library of the other architecture is named as such" \
    eval 'equals "$RECORD_STATUS" 1 && contains "$RECORD_TEXT" "library, but this razazide-record is"'
else
  echo "skip - no build of the other architecture beside $BUILD for the wrong-library check"
fi
printf 'unplug 60s\n' >"$CAP/unplugged.txt"
app_folder "$CAP/absent" "$CAP/unplugged.txt"
record "$CAP/absent" --seconds 1 --out "$(windows_path "$CAP/absent/out")"
check "record: an unplugged board is reported as not connected" \
  eval 'equals "$RECORD_STATUS" 1 && contains "$RECORD_TEXT" "The board is not connected"'

# Live: the driver plays the scenario onto the canvas.
LIVE="$CAP/live"
app_folder "$LIVE" "$SCENARIO"
start_canvas "$BIN" "$CAP/canvas.bmp" "$CAP/canvas.log" 90
check "capture: ink canvas window appears within 60 s" client wait-class "$CANVAS_CLASS" 60
(cd "$LIVE" && exec timeout 90 "$WINE" "$LIVE/RA_Zazide.exe" >"$CAP/program.log" 2>&1) &
PROGRAM_PID=$!
check "capture: RA_Zazide.exe with the stand-in board starts within 60 s" client wait-window 60
# Done when the third press (the stroke) has been released; 40 s at most on a busy machine.
stroke_released() {
  awk '$2 == "down" { downs++ } downs >= 3 && $2 == "up" { done = 1 } END { exit !done }' \
    "$CAP/canvas.log" 2>/dev/null
}
check "capture: the canvas receives the live taps, right-click and stroke within 40 s" \
  until_true 40 stroke_released

# The driver still runs and holds the board: the recorder must not get it.
record "$LIVE" --seconds 1 --out "$(windows_path "$CAP/busy")"
check "record: while RA_Zazide.exe holds the board it is refused and told to exit RA_Zazide" \
  eval 'equals "$RECORD_STATUS" 1 && contains "$RECORD_TEXT" "in use by RA_Zazide" &&
    contains "$RECORD_TEXT" "Exit RA_Zazide first (click its tray icon"'
check "record: the refused recording leaves no capture behind" test ! -e "$CAP/busy/board.capture"

client close-class "$CANVAS_CLASS" >/dev/null
ends_within "$CANVAS_PID" 10
client close >/dev/null
check "capture: the driver ends when closed, releasing the board" ends_within "$PROGRAM_PID" 10

# Recorded: the same scenario from the start, the board to the recorder alone.
record "$LIVE" --seconds 4 --out "$(windows_path "$CAP/record")"
check "record: 4 s recorded (status 0)" \
  eval 'equals "$RECORD_STATUS" 0 && contains "$RECORD_TEXT" "Recorded 4 s from the board"'
copied() {
  local f
  for f in board.capture VaziZod.ini server.txt server11.txt server111.txt server1111.txt; do
    [ -f "$CAP/record/$f" ] || { echo "       missing $f"; return 1; }
  done
}
check "record: the capture folder holds board.capture and the five settings files" copied
polls=$(grep -vc '^#' "$CAP/record/board.capture")
with_data=$(grep -v '^#' "$CAP/record/board.capture" | grep -vc '^-$')
echo "# capture: $polls polls, $with_data with data ($(grep -m1 '^# framing' "$CAP/record/board.capture" |
  cut -c3-); $(tail -n1 "$CAP/record/board.capture" | sed 's/.*; //'))"
# 2000 at the full 2 ms; a busy machine drops some ticks, but a poll per 5 ms report must stay.
check "record: at most one poll per 2 ms and at least one per report (800-2000 in 4 s, got $polls)" \
  test "$polls" -ge 800 -a "$polls" -le 2000

# Replayed by razazide-sim with a copy of the recorded folder as the program folder.
SIM="$ROOT/build/native/tools/razazide_sim/razazide-sim"
cp -r "$CAP/record" "$CAP/replay-folder"
if [ -x "$SIM" ]; then
  "$SIM" --capture "$CAP/record/board.capture" --folder "$CAP/replay-folder" \
    --screen "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" --out "$CAP/replay.jsonl" 2>"$CAP/replay.err"
else
  echo "# no native razazide-sim: replaying with the Windows build under Wine"
  timeout 60 "$WINE" "$BUILD/tools/razazide_sim/razazide-sim.exe" \
    --capture "$(windows_path "$CAP/record/board.capture")" \
    --folder "$(windows_path "$CAP/replay-folder")" --screen "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" \
    --out "$(windows_path "$CAP/replay.jsonl")" 2>"$CAP/replay.err"
fi
check "replay: razazide-sim replays the capture (status 0)" equals "$?" 0
python3 "$HERE/capture_compare.py" "$CAP/canvas.log" "$CAP/replay.jsonl" >"$CAP/compare.txt" 2>&1
cat "$CAP/compare.txt"
# A comparison that broke off (a Python error) gives fewer than its three verdicts.
check "capture: the comparison gives its three verdicts" \
  equals "$(grep -cE '^(ok   -|FAIL -) ' "$CAP/compare.txt")" 3
