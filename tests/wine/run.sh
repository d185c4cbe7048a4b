#!/usr/bin/env bash
# Wine tests of the real RA_Zazide.exe: starts it in a fresh program folder under a fresh
# Wine prefix and a private X server, and checks it from outside with wine_client.exe.
# Usage: tests/wine/run.sh BUILD_DIR   (a win64 build, e.g. build/win64)
set -uo pipefail

BUILD=$(realpath "${1:?usage: run.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"

BIN="$BUILD/bin"
WORK="$BUILD/wine-test"
APP="$WORK/app"
PASSED=0
FAILED=0
PROGRAM_PID=""
STARTED=$SECONDS

for f in RA_Zazide.exe wine_client.exe platform_checks.exe fake_siusbxp.dll ink_canvas.exe \
  SIUSBXP.DLL; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f: build the win64 preset first" >&2; exit 2; }
done

tally() {  # tally < LINES: echoes check lines of another program and counts them
  local line
  while IFS= read -r line; do
    line=${line%$'\r'}
    echo "$line"
    case "$line" in
      "ok   - "*) PASSED=$((PASSED + 1)) ;;
      "FAIL - "*) FAILED=$((FAILED + 1)) ;;
    esac
  done
}

check() {  # check DESCRIPTION COMMAND...: one line per check
  local description="$1"
  shift
  if "$@"; then
    echo "ok   - $description"
    PASSED=$((PASSED + 1))
  else
    echo "FAIL - $description"
    FAILED=$((FAILED + 1))
  fi
}

client() { timeout 30 "$WINE" "$BIN/wine_client.exe" "$@" 2>>"$WORK/client.log" | tr -d '\r'; }
equals() { [ "$1" = "$2" ] || { echo "       got '$1', expected '$2'"; return 1; }; }
label_is() { equals "$(client label "$1")" "$2"; }
label_becomes() { equals "$(client wait-label "$1" "$2" "$3")" "$2"; }
processes_are() { equals "$(client count-processes RA_Zazide.exe)" "$1"; }
alive() { kill -0 "$PROGRAM_PID" 2>/dev/null; }
# ends_within PID SECONDS: the process has ended by then (and is reaped).
ends_within() {
  local waited=0
  while kill -0 "$1" 2>/dev/null && [ $waited -lt $(($2 * 10)) ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  kill -0 "$1" 2>/dev/null && return 1
  wait "$1" 2>/dev/null
  return 0
}

cleanup() {
  stop_wine
  [ -n "$PROGRAM_PID" ] && wait "$PROGRAM_PID" 2>/dev/null
  [ -n "$CANVAS_PID" ] && wait "$CANVAS_PID" 2>/dev/null
  return 0
}
trap cleanup EXIT

rm -rf "$WORK"
mkdir -p "$APP"
wine_env "$WORK/prefix"
start_xvfb "$WORK" || exit 2
make_prefix "$WORK" || { echo "wineboot failed (see $WORK/wineboot.log)" >&2; exit 2; }
echo "# prefix ready after $((SECONDS - STARTED)) s"

# The program folder: the settings file (English captions), the data files, a left-over
# shortcut to be removed and a read-only calibration file to be made writable again.
cp "$BIN/RA_Zazide.exe" "$APP/"
printf '[language]\r\nSelect=1\r\n' >"$APP/VaziZod.ini"
head -c 3472 /dev/zero >"$APP/server.txt"
le32 0 >"$APP/server11.txt"
le32 1 >"$APP/server111.txt"
le32 2 >"$APP/server1111.txt"
echo stale >"$APP/RA_Zazide.lnk"
chmod a-w "$APP/server.txt"
# Decoys in the working directory: the program must read its own folder, not this one.
le32 0 >"$WORK/server111.txt"
le32 0 >"$WORK/server1111.txt"

# The platform layer on its own, against the system: one line per check.
mkdir -p "$WORK/checks"
cp "$BIN/platform_checks.exe" "$BIN"/fake_siusbxp*.dll "$WORK/checks/"
tally < <(timeout 60 "$WINE" "$WORK/checks/platform_checks.exe" "$SCREEN_WIDTH" "$SCREEN_HEIGHT" 2>>"$WORK/checks.log")

cd "$WORK" || exit 2
timeout 120 "$WINE" "$APP/RA_Zazide.exe" >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!

# (a) starts and stays resident
check "main window appears within 20 s" client wait-window 20
sleep 3
check "process still alive 3 s later" alive
check "main window is borderless, topmost, a tool window, off-screen at 32000,23, 1014x670" \
  equals "$(client window-info | sed 's/ visible=.*//')" \
  "left=32000 top=23 client=1014x670 caption_bar=0 topmost=1 toolwindow=1"

# (b) a second instance leaves at once
second_start() {
  timeout 5 "$WINE" "$APP/RA_Zazide.exe" >>"$WORK/program.log" 2>&1
  equals "$?" 0
}
check "second start exits with code 0 within 5 s" second_start
check "exactly one RA_Zazide.exe runs" processes_are 1

# (c) what it read from its own folder
check "Label9 shows the framing from server111.txt (1)" label_is Label9 1
check "Label12 shows the board model from server1111.txt (2)" label_is Label12 2
check "Select=1 gives the English calibration prompt" \
  label_is Label13 "Click on the first icon to the left of the upper right corner"
check "without SIUSBXP.DLL the device watch shows no" label_becomes Label2 no 5
check "start-up deleted the left-over RA_Zazide.lnk" test ! -e "$APP/RA_Zazide.lnk"
check "start-up made server.txt writable again" equals "$(stat -c %A "$APP/server.txt" | cut -c3)" w

# A vendor library copied in while the program runs is found at the next probe.
DLL=$(find "$BUILD" -path "$WORK" -prune -o -iname SIUSBXP.DLL -print 2>/dev/null | head -n1)
if [ -n "$DLL" ]; then
  cp "$DLL" "$APP/SIUSBXP.DLL"
  check "SIUSBXP.DLL copied in later is loaded: Label2 shows ok" label_becomes Label2 ok 6
else
  echo "skip - no SIUSBXP.DLL stand-in in $BUILD"
fi

# (d) an ordinary close runs the exit command and the process ends with 0
check "WM_CLOSE is accepted" client close
closed_with_zero() {
  local waited=0
  while alive && [ $waited -lt 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  alive && return 1
  wait "$PROGRAM_PID"
  local rc=$?
  PROGRAM_PID=""
  equals "$rc" 0
}
check "process ends within 10 s with exit code 0" closed_with_zero
check "no RA_Zazide.exe left" processes_are 0

# (e) a pen stroke on the simulated board reaches a window as a press, a drag and a release
# along the pen's path. A fresh folder: no stored calibration, so the default one maps the
# board's whole coded area onto the screen, as the scenario's projection does.
STROKE="$WORK/stroke"
SCENARIO="$HERE/../data/scenarios/wine-stroke.txt"
mkdir -p "$STROKE/app"
cp "$BIN/RA_Zazide.exe" "$BIN/SIUSBXP.DLL" "$STROKE/app/"
cp "$SCENARIO" "$STROKE/app/siusbxp-scenario.txt"
plain_data_files "$STROKE/app"
start_canvas "$BIN" "$STROKE/canvas.bmp" "$STROKE/canvas.log" 90
check "stroke: ink canvas window appears within 20 s" client wait-class "$CANVAS_CLASS" 20
cd "$STROKE/app" || exit 2
timeout 90 "$WINE" "$STROKE/app/RA_Zazide.exe" >"$STROKE/program.log" 2>&1 &
PROGRAM_PID=$!
check "stroke: RA_Zazide.exe with the stand-in board starts within 20 s" client wait-window 20
# The scenario starts at the first device-watch probe (about 2 s) and lasts about 2 s; a busy
# machine gets 40 s for it.
stroke_played() {
  local waited=0
  while ! log_has_release "$STROKE/canvas.log" && [ $waited -lt 400 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  log_has_release "$STROKE/canvas.log"
}
check "stroke: canvas receives a press and its release within 40 s" stroke_played
sleep 0.5
client close-class "$CANVAS_CLASS" >/dev/null
canvas_saved() {
  ends_within "$CANVAS_PID" 10 || return 1
  CANVAS_PID=""
  equals "$(stat -c %s "$STROKE/canvas.bmp" 2>/dev/null)" \
    $((54 + 4 * SCREEN_WIDTH * SCREEN_HEIGHT))
}
check "stroke: canvas closes and saves its ${SCREEN_WIDTH}x${SCREEN_HEIGHT} picture" canvas_saved
python3 "$HERE/stroke_check.py" "$SCENARIO" "$STROKE/canvas.log" >"$STROKE/check.txt" 2>&1
checkerStatus=$?
failedBefore=$FAILED
tally <"$STROKE/check.txt"
if [ "$checkerStatus" -ne 0 ] && [ "$FAILED" -eq "$failedBefore" ]; then
  check "stroke: checker ends without an error (status $checkerStatus)" false
fi
check "stroke: WM_CLOSE is accepted afterwards" client close
program_ended() {
  ends_within "$PROGRAM_PID" 10 || return 1
  PROGRAM_PID=""
}
check "stroke: process ends within 10 s" program_ended
cd "$WORK" || exit 2

# (f) the board is found at the first device watch, lost when its cable comes out and found
# again when it goes back in; Label2 is read from outside the process.
UNPLUG="$WORK/unplug"
mkdir -p "$UNPLUG/app"
cp "$BIN/RA_Zazide.exe" "$BIN/SIUSBXP.DLL" "$UNPLUG/app/"
cp "$HERE/../data/scenarios/wine-unplug.txt" "$UNPLUG/app/siusbxp-scenario.txt"
plain_data_files "$UNPLUG/app"
cd "$UNPLUG/app" || exit 2
timeout 90 "$WINE" "$UNPLUG/app/RA_Zazide.exe" >"$UNPLUG/program.log" 2>&1 &
PROGRAM_PID=$!
check "unplug: RA_Zazide.exe starts within 20 s" client wait-window 20
check "unplug: the first device watch finds the board (ok within 5 s)" label_becomes Label2 ok 5
check "unplug: the cable coming out shows no" label_becomes Label2 no 8
check "unplug: the cable going back in shows ok again" label_becomes Label2 ok 8
check "unplug: WM_CLOSE is accepted afterwards" client close
check "unplug: process ends within 10 s" program_ended
cd "$WORK" || exit 2

tally < <("$HERE/calibration_checks.sh" "$BUILD")

echo "# wine tests took $((SECONDS - STARTED)) s"
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
