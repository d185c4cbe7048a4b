#!/usr/bin/env bash
# Wine tests of the real RA_Zazide.exe: starts it in a fresh program folder under a fresh
# Wine prefix and a private X server, and checks it from outside with wine_client.exe.
# Usage: tests/wine/run.sh BUILD_DIR...   (build/win32, build/win64: every check runs against
# each build in turn, under the Wine loader of its architecture)
set -uo pipefail

HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"

[ $# -ge 1 ] || { echo "usage: run.sh BUILD_DIR..." >&2; exit 2; }
if [ $# -gt 1 ]; then
  status=0
  summary=()
  for build in "$@"; do
    printf '\n==== Wine checks of %s\n' "$build"
    log="$(realpath -m "$build")/wine-test.log"
    mkdir -p "$(dirname "$log")"
    "$0" "$build" 2>&1 | tee "$log"
    rc=${PIPESTATUS[0]}
    machine=$(pe_machine "$build/bin/RA_Zazide.exe")
    if [ "$rc" -eq 3 ]; then
      summary+=("$machine ($build): SKIPPED - $(grep -m1 '^SKIPPED' "$log" | sed 's/^SKIPPED[^:]*: //')")
      continue
    fi
    [ "$rc" -eq 0 ] || status=1
    counts=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -n1)
    took=$(grep -m1 '^# wine tests took' "$log" | sed 's/# wine tests took //')
    summary+=("$machine ($build): ${counts:-no result (status $rc)}${took:+, $took}")
  done
  printf '\n==== Wine run by architecture\n'
  printf '%s\n' "${summary[@]}"
  exit $status
fi

BUILD=$(realpath "$1")
if ! select_wine "$BUILD/bin/RA_Zazide.exe"; then
  # Loud, and not a failure: this machine cannot run 32-bit Windows programs at all.
  echo "SKIPPED ALL 32-BIT (x86) WINE CHECKS of $BUILD: $WINE_SKIP_REASON"
  exit 3
fi
echo "# $WINE_MACHINE build under $WINE in a $WINE_PREFIX_ARCH prefix"

BIN="$BUILD/bin"
WORK="$BUILD/wine-test"
APP="$WORK/app"
PASSED=0
FAILED=0
PROGRAM_PID=""
STARTED=$SECONDS

for f in RA_Zazide.exe wine_client.exe platform_checks.exe fake_siusbxp.dll ink_canvas.exe \
  SIUSBXP.DLL razazide-record.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f: build the preset first" >&2; exit 2; }
done


client() { timeout 30 "$WINE" "$BIN/wine_client.exe" "$@" 2>>"$WORK/client.log" | tr -d '\r'; }
processes_are() { equals "$(client count-processes RA_Zazide.exe)" "$1"; }
alive() { kill -0 "$PROGRAM_PID" 2>/dev/null; }

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
check "main window appears within 60 s" client wait-window 60
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
bits=32
[ "$WINE_MACHINE" = x64 ] && bits=64
check "RA_Zazide.exe runs as a $bits-bit process" \
  equals "$(client process-bits RA_Zazide.exe)" "$bits"

# (c) what it read from its own folder
check "Label9 shows the framing from server111.txt (1)" label_is Label9 1
check "Label12 shows the board model from server1111.txt (2)" label_is Label12 2
check "Select=1 gives the English calibration prompt" \
  label_is Label13 "Click on the first icon to the left of the upper right corner"
check "without SIUSBXP.DLL the device watch shows no" label_becomes Label2 no 20
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
# along the pen's path, on the fast link with plain reports and on the slow one with frames
# that arrive byte by byte, cut anywhere by the 2 ms polls. A fresh folder: no stored
# calibration, so the default one maps the board's whole coded area onto the screen, as the
# scenario's projection does.
SCENARIO="$HERE/../data/scenarios/wine-stroke.txt"
program_ended() {
  ends_within "$PROGRAM_PID" 10 || return 1
  PROGRAM_PID=""
}
# stroke_run NAME FRAMING: the stroke in $WORK/NAME with that framing in server111.txt.
stroke_run() {
  local name="$1" dir="$WORK/$1"
  stand_in_app "$dir/app" "$BIN" "$SCENARIO"
  le32 "$2" >"$dir/app/server111.txt"
  start_canvas "$BIN" "$dir/canvas.bmp" "$dir/canvas.log" 90
  check "$name: ink canvas window appears within 60 s" client wait-class "$CANVAS_CLASS" 60
  cd "$dir/app" || exit 2
  timeout 90 "$WINE" "$dir/app/RA_Zazide.exe" >"$dir/program.log" 2>&1 &
  PROGRAM_PID=$!
  check "$name: RA_Zazide.exe with the stand-in board starts within 60 s" client wait-window 60
  # The scenario starts at the first device-watch probe (about 2 s) and lasts about 2 s; a busy
  # machine gets 40 s for it.
  stroke_played() {
    local waited=0
    while ! log_has_release "$dir/canvas.log" && [ $waited -lt 400 ]; do
      sleep 0.1
      waited=$((waited + 1))
    done
    log_has_release "$dir/canvas.log"
  }
  check "$name: canvas receives a press and its release within 40 s" stroke_played
  sleep 0.5
  client close-class "$CANVAS_CLASS" >/dev/null
  canvas_saved() {
    ends_within "$CANVAS_PID" 10 || return 1
    CANVAS_PID=""
    equals "$(stat -c %s "$dir/canvas.bmp" 2>/dev/null)" \
      $((54 + 4 * SCREEN_WIDTH * SCREEN_HEIGHT))
  }
  check "$name: canvas closes and saves its ${SCREEN_WIDTH}x${SCREEN_HEIGHT} picture" canvas_saved
  python3 "$HERE/stroke_check.py" "$SCENARIO" "$dir/canvas.log" >"$dir/check.txt" 2>&1
  local checkerStatus=$?
  local failedBefore=$FAILED
  tally < <(sed -E "s/^(ok   - |FAIL - )/\\1$name: /" "$dir/check.txt")
  if [ "$checkerStatus" -ne 0 ] && [ "$FAILED" -eq "$failedBefore" ]; then
    check "$name: checker ends without an error (status $checkerStatus)" false
  fi
  check "$name: WM_CLOSE is accepted afterwards" client close
  check "$name: process ends within 10 s" program_ended
  cd "$WORK" || exit 2
}
stroke_run stroke 0
stroke_run "framed stroke" 1

# (f) the board is found at the first device watch, lost when its cable comes out and found
# again when it goes back in; Label2 is read from outside the process.
UNPLUG="$WORK/unplug"
stand_in_app "$UNPLUG/app" "$BIN" "$HERE/../data/scenarios/wine-unplug.txt"
cd "$UNPLUG/app" || exit 2
timeout 90 "$WINE" "$UNPLUG/app/RA_Zazide.exe" >"$UNPLUG/program.log" 2>&1 &
PROGRAM_PID=$!
check "unplug: RA_Zazide.exe starts within 60 s" client wait-window 60
check "unplug: the first device watch finds the board (ok within 5 s)" label_becomes Label2 ok 5
check "unplug: the cable coming out shows no" label_becomes Label2 no 8
check "unplug: the cable going back in shows ok again" label_becomes Label2 ok 8
check "unplug: WM_CLOSE is accepted afterwards" client close
check "unplug: process ends within 10 s" program_ended
cd "$WORK" || exit 2

# (g) the installer: interactive and silent installs, an upgrade that keeps the user's files,
# the program started from the Start menu, and the uninstall.
tally < <("$HERE/installer_check.sh" "$BUILD" "$WORK/installer")

# (h) the field capture: razazide-record beside the driver, its capture replayed by
# razazide-sim and compared with what the driver did live.
tally < <("$HERE/capture_check.sh" "$BUILD" "$WORK/capture")
cd "$WORK" || exit 2

# (i) both calibrations, the margin keys and the client protocol
tally < <("$HERE/calibration_checks.sh" "$BUILD")
cd "$WORK" || exit 2

# (j) the tray, its menu, autostart, the language switch and the settings dialog
tally < <(RAZ_WINE_SHARED=1 "$HERE/shell_checks.sh" "$BUILD" 2>>"$WORK/shell-checks.log")
cd "$WORK" || exit 2

# (k) the pen in a program nobody here wrote: a drag selects a line of Wine's notepad, and a
# right-click opens its menu under the pen
tally < <(RAZ_WINE_SHARED=1 "$HERE/notepad_check.sh" "$BUILD" 2>>"$WORK/notepad-check.log")
cd "$WORK" || exit 2

# (l) a whole lesson: the board plugged in late, both calibrations, the word, every icon, a
# hold, a right-click, the cable pulled mid-stroke, the language across a restart
tally < <(RAZ_WINE_SHARED=1 "$HERE/lesson_check.sh" "$BUILD" 2>>"$WORK/lesson-check.log")
cd "$WORK" || exit 2

# (m) messages from another program meant to hurt the driver: a creation message to the live
# window, HWND_BROADCAST as the client, WM_QUIT and WM_DESTROY while the pen is down
tally < <(RAZ_WINE_SHARED=1 "$HERE/hostile_checks.sh" "$BUILD" 2>>"$WORK/hostile-checks.log")
cd "$WORK" || exit 2

echo "# wine tests took $((SECONDS - STARTED)) s"
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
