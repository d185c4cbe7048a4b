# What the Wine checks share beyond the session (scripts/wine_session.sh): their own prefix when
# run alone, waits with deadlines, readings through the test client, and the check lines.
# shellcheck source=../../scripts/wine_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine_session.sh"

# own_wine WORK: a Wine prefix and an X server of the script's own under WORK, unless it runs
# inside run.sh's (RAZ_WINE_SHARED=1). stop_own_wine ends them again.
own_wine() {
  [ "${RAZ_WINE_SHARED:-}" = 1 ] && return 0
  wine_env "$1/prefix"
  start_xvfb "$1" || return 1
  make_prefix "$1" || { echo "wineboot failed (see $1/wineboot.log)" >&2; return 1; }
}
stop_own_wine() { [ "${RAZ_WINE_SHARED:-}" = 1 ] || stop_wine; }

# check_desktop_setup NAME BUILD_DIR: check_setup for a check on a desktop of several monitors
# (scripts/desktop_session.sh), with a prefix of its own made later under its first desktop
# (Xvfb has one monitor). Returns 1 with a SKIPPED line when this machine has no such desktop.
check_desktop_setup() {
  # shellcheck source=../../scripts/desktop_session.sh
  source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/desktop_session.sh"
  if ! desktop_available; then
    echo "SKIPPED MULTI-MONITOR WINE CHECKS: $DESKTOP_SKIP_REASON"
    return 1
  fi
  RAZ_WINE_SHARED=1 check_setup "$1" "$2" || return
  wine_env "$WORK/prefix"
}

# check_setup NAME BUILD_DIR: BIN, a work folder WORK (BUILD_DIR/wine-test/NAME, made anew) with
# the program folder APP in it, CLIENT_LOG, check lines that begin "NAME: ", and a Wine prefix
# and X server of the script's own (own_wine). Returns 1 when this machine cannot run the build
# (the script then has nothing to check) and 2 when the prefix cannot be made.
# With RAZ_PEN_RESPONSE=1 the checks run with the responsive pen (pen_response_setting), in a
# work folder of their own, and their lines say so.
check_setup() {
  select_wine "$2/bin/RA_Zazide.exe" || return 1
  local name="$1"
  [ "${RAZ_PEN_RESPONSE:-0}" = 1 ] && name="$1-responsive"
  CHECK_PREFIX="$name: "
  BIN="$2/bin"
  WORK="$2/wine-test/$name"
  APP="$WORK/app"
  CLIENT_LOG="$WORK/client.log"
  PROGRAM_PID=""
  PASSED=0
  FAILED=0
  rm -rf "$WORK"
  mkdir -p "$APP"
  own_wine "$WORK" || return 2
}

# start_program [SECONDS]: RA_Zazide.exe from APP, its output in WORK/program.log, for at most
# SECONDS (300); true once its main window is there.
start_program() {
  (cd "$APP" && exec timeout "${1:-300}" "$WINE" "$APP/RA_Zazide.exe" >>"$WORK/program.log" 2>&1) &
  PROGRAM_PID=$!
  client wait-window 60
}
# stop_program: closed as the system closes it; the process ends within 10 s with exit code 0.
stop_program() { client close >/dev/null && exits_zero_within "$PROGRAM_PID" 10 && PROGRAM_PID=""; }
# kill_program: a program that a failed check left running must not spoil the checks after it.
kill_program() {
  [ -n "$PROGRAM_PID" ] || return 0
  kill "$PROGRAM_PID" 2>/dev/null
  wait "$PROGRAM_PID" 2>/dev/null
  PROGRAM_PID=""
}
# summary: the script's own count line (run.sh counts its check lines instead).
summary() {
  [ "${RAZ_WINE_SHARED:-}" = 1 ] && echo -n "# $CHECK_PREFIX"
  echo "$PASSED passed, $FAILED failed"
  [ "$FAILED" -eq 0 ]
}

# chinese_fonts: a fresh prefix has no font with Chinese glyphs under the names Windows uses:
# the menu's font and the calibration surface's Arial borrow them from WenQuanYi, as Windows
# links both to its own Chinese font, and the dialog's 宋体 (SimSun) is WenQuanYi Zen Hei.
chinese_fonts() {
  local nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
  "$WINE" reg add "$nt\FontLink\SystemLink" /v Tahoma /t REG_MULTI_SZ \
    /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f &&
    "$WINE" reg add "$nt\FontLink\SystemLink" /v Arial /t REG_MULTI_SZ \
      /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f &&
    "$WINE" reg add "$nt\FontSubstitutes" /v SimSun /d 'WenQuanYi Zen Hei' /f &&
    "$WINE" reg add "$nt\FontSubstitutes" /v '宋体' /d 'WenQuanYi Zen Hei' /f
}

# until_true SECONDS COMMAND...: polls the command every 0.2 s until it succeeds or the deadline
# passes. Deadlines are generous: the checks must hold on a machine busy with other work.
until_true() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.2
  done
}

# The checks' readings through wine_client.
label_is() { equals "$(client label "$1")" "$2"; }
label_becomes() { equals "$(client wait-label "$1" "$2" "$3")" "$2"; }
# pixel_is PNG X Y R,G,B: the screenshot's pixel.
pixel_is() {
  local f="%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]"
  equals "$(convert "$1" -format "$f" info: 2>/dev/null)" "$4"
}

# stand_in_app DIR BIN SCENARIO: a program folder as an installer leaves it (plain data files),
# with RA_Zazide.exe from BIN and the stand-in SIUSBXP.DLL beside it playing SCENARIO.
stand_in_app() {
  mkdir -p "$1"
  cp "$2/RA_Zazide.exe" "$2/SIUSBXP.DLL" "$1/"
  cp "$3" "$1/siusbxp-scenario.txt"
  plain_data_files "$1"
  pen_response_setting "$1/VaziZod.ini"
}

# pen_response_setting INI: PenResponse=1 in section PARAMETERS when RAZ_PEN_RESPONSE=1.
pen_response_setting() {
  [ "${RAZ_PEN_RESPONSE:-0}" = 1 ] || return 0
  sed -i 's/^\[PARAMETERS\]\r$/[PARAMETERS]\r\nPenResponse=1\r/' "$1"
}

# log_has_release LOG: the canvas log holds a left press followed by its release.
log_has_release() {
  [ -f "$1" ] && awk '$2 == "down" { down = 1 } down && $2 == "up" { up = 1 } END { exit !up }' "$1"
}

# The check lines every Wine check prints: "ok   - " or "FAIL - ", CHECK_PREFIX, the
# description. PASSED and FAILED count them.
CHECK_PREFIX=""
PASSED=0
FAILED=0

# check DESCRIPTION COMMAND...: runs the command, one check line for its outcome.
check() {
  local description="$1"
  shift
  if "$@"; then
    echo "ok   - $CHECK_PREFIX$description"
    PASSED=$((PASSED + 1))
  else
    echo "FAIL - $CHECK_PREFIX$description"
    FAILED=$((FAILED + 1))
  fi
}

# tally [PREFIX] < LINES: the check lines of another program, counted and printed behind
# CHECK_PREFIX and PREFIX; other lines pass through.
tally() {
  local line
  while IFS= read -r line; do
    line=${line%$'\r'}
    case "$line" in
      "ok   - "*) echo "ok   - $CHECK_PREFIX${1:-}${line#ok   - }"; PASSED=$((PASSED + 1)) ;;
      "FAIL - "*) echo "FAIL - $CHECK_PREFIX${1:-}${line#FAIL - }"; FAILED=$((FAILED + 1)) ;;
      *) echo "$line" ;;
    esac
  done
}

# ink_tally PREFIX OUT ARGS...: tools/ink_canvas/ink_check.py ARGS, its lines counted as checks
# named after PREFIX and kept in OUT; a checker that fails without a failing line fails too.
ink_tally() {
  local prefix=$1 out=$2 status before
  shift 2
  python3 "$(dirname "${BASH_SOURCE[0]}")/../../tools/ink_canvas/ink_check.py" "$@" >"$out" 2>&1
  status=$?
  before=$FAILED
  tally "$prefix" <"$out"
  if [ "$status" -ne 0 ] && [ "$FAILED" -eq "$before" ]; then
    check "${prefix}the canvas checker ends without an error (status $status)" false
  fi
}

# close_canvas NAME: the test closes the ink canvas, which ends within 10 s.
close_canvas() {
  sleep 0.5
  client close-class "$CANVAS_CLASS" >/dev/null
  check "$1" ends_within "$CANVAS_PID" 10
  CANVAS_PID=""
}

# equals GOT EXPECTED: true when they are the same text; says what it got when not.
equals() { [ "$1" = "$2" ] || { echo "       got '$1', expected '$2'"; return 1; }; }

# process_gone PID: no such process any more (an empty PID names none).
process_gone() { ! kill -0 "$1" 2>/dev/null; }

# ends_within PID SECONDS: the process has ended by then (and is reaped).
ends_within() {
  until_true "$2" process_gone "$1" || return 1
  wait "$1" 2>/dev/null
  return 0
}

# exits_zero_within PID SECONDS: the process has ended by then, with exit code 0.
exits_zero_within() {
  until_true "$2" process_gone "$1" || return 1
  wait "$1"
  equals "$?" 0
}
