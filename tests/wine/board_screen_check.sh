#!/usr/bin/env bash
# The board on the projector's monitor of an extended desktop, through the real RA_Zazide.exe
# under Wine on two monitors of different sizes (scripts/desktop_session.sh). In each
# arrangement the stand-in SIUSBXP.DLL plays tests/data/scenarios/wine-board-screen.txt with
# that arrangement's monitor lines; the ink canvas covers the projector's monitor. Checks: the
# board's monitor chosen (from the board-screen menu, or kept in VaziZod.ini), both calibration
# surfaces over that monitor, a screenshot of the first cross 50 px inside it, the word HE within
# 2 px of the pen in the monitor's own pixels (ink_check.py), the right-click, an icon's command.
# Then, projector right of the laptop: its output switched off, the surface falls back on the
# primary; on again, it comes back; after a restart the choice holds.
# Usage: tests/wine/board_screen_check.sh BUILD_DIR. Its own prefix and X server (a private
# Xorg); without Xorg's dummy driver it says SKIPPED and why.
set -uo pipefail

BUILD=$(realpath "${1:?usage: board_screen_check.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
{ check_desktop_setup board-screen "$BUILD"; status=$?; } || exit $((status == 1 ? 0 : status))
SCENARIO="$HERE/../data/scenarios/wine-board-screen.txt"
INK_CHECK="$HERE/../../tools/ink_canvas/ink_check.py"
LISTEN_PID=""
cleanup() {
  kill $LISTEN_PID $CANVAS_PID 2>/dev/null
  kill_program
  stop_wine
  stop_desktop
  wait 2>/dev/null
  return 0
}
trap cleanup EXIT

surface_on() {  # surface_on X Y W H: the main window visible, laid over that rectangle
  [[ "$(client window-info)" == "left=$1 top=$2 client=$3x$4 "*" visible=1" ]]
}
visible_is() { [[ "$(client window-info)" == *" visible=$1" ]]; }
server_calibrated() {
  [ "$(od -An -tx1 -j80 -N8 "$APP/server.txt" 2>/dev/null | tr -d ' \n')" != 0000000000000000 ]
}
log_has() { grep -q "$1" "$WORK/commands.txt" 2>/dev/null; }
canvas_has() { [ "$(grep -c " $1 " "$CANVAS_LOG" 2>/dev/null)" -ge "$2" ]; }

# name | desktop | the projector's monitor (N X Y W H) | how it is chosen | X's offset of 0,0
mapfile -t ARRANGEMENTS <<'EOF'
projector right of the laptop|1280x800+0+0:primary,1024x768+1280+0|2 1280 0 1024 768|menu|0
projector primary, laptop left|1024x768+0+0:primary,1280x800-1280+0|1 0 0 1024 768|ini|1280
EOF
for row in "${ARRANGEMENTS[@]}"; do
  IFS='|' read -r name spec projector chosen shift <<<"$row"
  read -r N X Y W H <<<"$projector"
  CHECK_PREFIX="board-screen, $name: "
  start_desktop "$WORK/$name" "$spec"
  check "Xorg starts with $spec" equals "$?" 0
  [ -n "$DESKTOP_PID" ] || continue
  if [ ! -d "$WINEPREFIX" ]; then
    make_prefix "$WORK" || { echo "wineboot failed" >&2; exit 2; }
    chinese_fonts >"$WORK/registry.log" 2>&1  # the surface's prompt in the screenshots
  fi
  rm -rf "$APP"
  stand_in_app "$APP" "$BIN" "$SCENARIO"
  # The scenario's desktop becomes this arrangement's.
  sed -i '/^monitor /d; /^projector /d' "$APP/siusbxp-scenario.txt"
  {
    IFS=, read -ra monitors <<<"$spec"
    for m in "${monitors[@]}"; do
      [[ "$m" =~ ^([0-9]+)x([0-9]+)([+-][0-9]+)([+-][0-9]+) ]] &&
        echo "monitor $((BASH_REMATCH[3])) $((BASH_REMATCH[4])) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
    done
    echo "projector $N"
  } >"$WORK/desktop.txt"
  cat "$WORK/desktop.txt" "$APP/siusbxp-scenario.txt" >"$WORK/scenario.txt"
  cp "$WORK/scenario.txt" "$APP/siusbxp-scenario.txt"
  printf '[PARAMETERS]\r\nvkey=0\r\n' >"$APP/VaziZod.ini"
  [ "$chosen" = ini ] && printf 'BoardMonitor=\\\\.\\DISPLAY%s\r\n' "$N" >>"$APP/VaziZod.ini"
  CANVAS_LOG="$WORK/$name/canvas.log"
  start_canvas "$BIN" "$WORK/$name/canvas.bmp" "$CANVAS_LOG" 200 "$X" "$Y" "$W" "$H"
  check "the ink canvas covers the projector's monitor" client wait-class "$CANVAS_CLASS" 60
  check "RA_Zazide.exe starts" start_program
  timeout 150 "$WINE" "$BIN/wine_client.exe" listen 140 "$(windows_path "$WORK/commands.txt")" \
    2>>"$WORK/client.log" &
  LISTEN_PID=$!
  check "the board is absent at the first device watch" label_becomes Label2 no 10
  if [ "$chosen" = menu ]; then
    check "the board-screen menu's item $N is stored as BoardMonitor" \
      eval "client menu Screen$N && until_true 10 grep -q 'BoardMonitor=.*DISPLAY$N' '$APP/VaziZod.ini'"
  fi
  check "the key calibration's surface covers the projector's monitor" \
    eval "client menu N6 && until_true 10 surface_on $X $Y $W $H"
  check "the key calibration ends (within 40 s)" until_true 40 visible_is 0
  client menu N4 >/dev/null
  check "the first icon starts the calibration over the projector's monitor" \
    until_true 20 surface_on "$X" "$Y" "$W" "$H"
  shot="$WORK/$name/first-cross.png"
  check "the screenshot shows the first red cross 50 px inside the projector's monitor" \
    until_true 20 eval 'screenshot "$shot" && pixel_is "$shot" $((shift + X + 50)) 50 "255,0,0" &&
                        pixel_is "$shot" $((shift + X + 50)) 70 "255,0,0"'
  check "the tour ends, server.txt written (within 30 s)" until_true 30 server_calibrated
  check "the word's presses reach the canvas, the last released (within 30 s)" \
    until_true 30 eval 'canvas_has down 5 && log_has_release "$CANVAS_LOG"'
  check "the right-click lands on the canvas (within 15 s)" until_true 15 canvas_has rup 1
  check "the second icon posts its command 2001 (within 15 s)" until_true 15 log_has "^command 2001"
  python3 "$INK_CHECK" --calibrated "$WORK/scenario.txt" "$CANVAS_LOG" >"$WORK/$name/ink.txt" 2>&1
  tally "canvas: " <"$WORK/$name/ink.txt"
  kill $LISTEN_PID 2>/dev/null
  client close-class "$CANVAS_CLASS" >/dev/null
  if [ "$chosen" = menu ]; then
    check "monitor $N off: the calibration surface falls back on the primary" \
      eval "set_monitor $N off && client menu N1 && until_true 30 surface_on 0 0 1280 800"
    check "monitor $N on again: the surface returns to it" \
      eval "set_monitor $N on && until_true 30 surface_on $X $Y $W $H"
    client esc >/dev/null
    check "EXIT, started again: the surface comes up on the chosen monitor" \
      eval 'client menu N3 && exits_zero_within "$PROGRAM_PID" 10 && rm "$APP/siusbxp-scenario.txt" &&
            start_program && client menu N1 && until_true 20 surface_on $X $Y $W $H'
  fi
  check "EXIT ends the program with exit code 0" stop_program
  stop_wine
  stop_desktop
done

summary
