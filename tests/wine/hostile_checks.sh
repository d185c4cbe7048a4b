#!/usr/bin/env bash
# Wine checks of messages another program sends the driver to hurt it: a creation message sent
# to the live window (its parameter an address in no one's memory, or 0), HWND_BROADCAST
# registered as the client, and WM_QUIT and WM_DESTROY posted while the pen holds the left
# button down. The driver must live on unchanged, or leave as its exit command leaves: the
# button let go, the tray icon removed, the single-instance mutex free for a new start.
# Usage: tests/wine/hostile_checks.sh BUILD_DIR   (a win32 or win64 build)
# On its own it makes its own Wine prefix and X server; run.sh runs it inside its own with
# RAZ_WINE_SHARED=1. One line per check ("ok   - ..." / "FAIL - ..."), then a summary.
set -uo pipefail

BUILD=$(realpath "${1:?usage: hostile_checks.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"

{ check_setup hostile "$BUILD"; status=$?; } || exit $((status == 1 ? 0 : status))
answers() { equals "$(client request "$1" "$2")" "$3"; }  # answers WPARAM LPARAM ANSWER
left_becomes() { equals "$(client wait-left "$1" "$2")" "$1"; }  # left_becomes up|down SECONDS
alive() { kill -0 "$PROGRAM_PID" 2>/dev/null; }

trap 'kill_program; stop_own_wine' EXIT

# The process has ended by itself and its tray icon went with it.
cleanly_gone() {
  ends_within "$PROGRAM_PID" 20 || return 1
  PROGRAM_PID=""
  client wait-no-tray-icon 10
}
# A second start finds the first one's mutex held and leaves at once with exit code 0.
second_start_leaves() {
  timeout 20 "$WINE" "$APP/RA_Zazide.exe" >>"$WORK/program.log" 2>&1
  equals "$?" 0 && equals "$(client count-processes RA_Zazide.exe)" 1
}

cp "$BIN/RA_Zazide.exe" "$APP/"
plain_data_files "$APP"

# --- the creation message, with no board library yet ------------------------------------
check "RA_Zazide.exe starts, no board library (Label2 no)" \
  eval 'start_program && label_becomes Label2 no 10'
for param in 0x41414140 0; do
  check "a creation message with parameter $param sent from another program is answered" \
    client hostile-create "$param"
  check "... the driver lives on" alive
  check "... its window is still found by its class and caption" client wait-window 1
  check "... and still answers a client: 326 gives 9" answers 326 0 9
done
check "HWND_BROADCAST (0xFFFF) as the client is refused: 101 gives 0" answers 101 0xFFFF 0
check "another program's control as the client is refused: 101 gives 0" answers 101 child 0
check "another program's top-level window is still taken: 101 gives 1" answers 101 top 1
check "a second start still leaves at once: the mutex is held" second_start_leaves
cp "$BIN/SIUSBXP.DLL" "$APP/"
check "the device watch still runs: the library copied in is found (ok within 10 s)" \
  label_becomes Label2 ok 10
check "WM_CLOSE then closes it cleanly" eval 'client close && cleanly_gone'
kill_program

# --- WM_QUIT and WM_DESTROY while the pen holds the left button down ---------------------
# The stand-in board plays the scenario at every start in this folder: the pen pressed in the
# middle of the screen and held there.
printf '%s\n' 'screen 1280 800' 'projection 73.5 73.5 147 147 0 0' 'wait 1s' \
  'near 640 400 50ms' 'touch 640 400 300s' >"$APP/siusbxp-scenario.txt"
for message in quit destroy; do
  check "$message: with the pen held the driver presses the left button (within 30 s)" \
    eval 'start_program && left_becomes down 30'
  check "$message: posted from another program" client post "$message"
  check "$message: the left button is up at once (within 10 s)" left_becomes up 10
  check "$message: the driver is cleanly gone: process ended, tray icon removed" cleanly_gone
done
check "the mutex is free: a new start runs" start_program
check "and closes cleanly" eval 'client close && cleanly_gone'

summary
