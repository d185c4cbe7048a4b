#!/usr/bin/env bash
# Wine checks of an extended desktop (scripts/desktop_session.sh): in each arrangement of two
# monitors Wine lists them with their names, rectangles and primary flag; absolute input across
# the virtual desktop puts the cursor exactly on the corners, edge middles and centre of each;
# monitor 2 switched off, on again and given another resolution is seen within a deadline.
# Usage: tests/wine/desktop_checks.sh BUILD_DIR. It always makes its own prefix and X server (a
# private Xorg: Xvfb has one monitor); without Xorg's dummy driver it says SKIPPED and why.
set -uo pipefail

BUILD=$(realpath "${1:?usage: desktop_checks.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
{ check_desktop_setup desktop "$BUILD"; status=$?; } || exit $((status == 1 ? 0 : status))
trap 'stop_wine; stop_desktop' EXIT

# The probe's listing as one line: its monitor lines, then the virtual screen, ';' between.
listing() { timeout 30 "$WINE" "$BIN/desktop_probe.exe" 2>>"$WORK/probe.log" | tr -d '\r' | paste -sd';'; }
lists() { [ "$(listing)" = "$1" ]; }
becomes() { until_true 30 lists "$1" || equals "$(listing)" "$1"; }
after() { set_monitor 2 "$1" && becomes "$2"; }  # after WxH|off|on LISTING

# pixels_of LISTING: the corners, edge middles and centre of every monitor listed.
pixels_of() {
  local re='^([0-9]+)x([0-9]+)([+-][0-9]+)([+-][0-9]+)$' line x y dx dy
  while read -r line; do
    [[ "$line" == monitor* && "$(cut -d' ' -f3 <<<"$line")" =~ $re ]] || continue
    x=$((BASH_REMATCH[3])) y=$((BASH_REMATCH[4]))
    for dx in 0 $((BASH_REMATCH[1] / 2)) $((BASH_REMATCH[1] - 1)); do
      for dy in 0 $((BASH_REMATCH[2] / 2)) $((BASH_REMATCH[2] - 1)); do
        echo "$((x + dx)) $((y + dy))"
      done
    done
  done <<<"${1//;/$'\n'}"
}
# lands_exactly LISTING: aimed at each of those pixels, the cursor is on it.
lands_exactly() {
  local pixels
  pixels=$(pixels_of "$1")
  # shellcheck disable=SC2086
  timeout 60 "$WINE" "$BIN/desktop_probe.exe" move $pixels 2>>"$WORK/probe.log" | tr -d '\r' |
    awk -v want="$(wc -l <<<"$pixels")" '{ n++ } $1 != $4 || $2 != $5 { print "       missed: " $0; bad = 1 }
      END { if (n != want) print "       " n + 0 " of " want " pixels answered"; exit bad || n != want }'
}

# name | SPEC | what Wine lists | monitor 2's other resolution | what Wine lists then
mapfile -t ARRANGEMENTS <<'EOF'
projector right|1280x800+0+0:primary,1024x768+1280+0|monitor \\.\DISPLAY1 1280x800+0+0 primary;monitor \\.\DISPLAY2 1024x768+1280+0;virtual 2304x800+0+0|1600x900|monitor \\.\DISPLAY1 1280x800+0+0 primary;monitor \\.\DISPLAY2 1600x900+1280+0;virtual 2880x900+0+0
laptop left|1024x768+0+0:primary,1280x800-1280+0|monitor \\.\DISPLAY1 1024x768+0+0 primary;monitor \\.\DISPLAY2 1280x800-1280+0;virtual 2304x800-1280+0|1600x900|monitor \\.\DISPLAY1 1024x768+0+0 primary;monitor \\.\DISPLAY2 1600x900-1600+0;virtual 2624x900-1600+0
EOF
for row in "${ARRANGEMENTS[@]}"; do
  IFS='|' read -r name spec listed size resized <<<"$row"
  CHECK_PREFIX="desktop, $name: "
  primary=${listed%%;*}
  start_desktop "$WORK/$name" "$spec"
  check "Xorg starts with $spec" equals "$?" 0
  [ -n "$DESKTOP_PID" ] || continue
  [ -d "$WINEPREFIX" ] || make_prefix "$WORK" || { echo "wineboot failed (see $WORK/wineboot.log)" >&2; exit 2; }
  check "Wine lists both monitors: names, rectangles, primary, virtual screen" becomes "$listed"
  check "the cursor lands exactly on corners, edge middles and centres" lands_exactly "$listed"
  check "monitor 2 switched off: the primary alone (within 30 s)" \
    after off "$primary;virtual $(cut -d' ' -f3 <<<"$primary")"
  check "switched on again: both where they were (within 30 s)" after on "$listed"
  check "monitor 2 at $size: seen at its new size (within 30 s)" after "$size" "$resized"
  check "and the cursor still lands exactly on both" lands_exactly "$resized"
  stop_wine  # Wine's desktop process goes before its X server
  stop_desktop
done

CHECK_PREFIX="desktop: "
summary
