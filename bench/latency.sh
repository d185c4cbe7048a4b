#!/usr/bin/env bash
# Report-to-mouse latency, Timer1's achieved periods and CPU time of the real RA_Zazide.exe
# under Wine, in one run on one machine. Not a test: it measures and prints a table.
#
# The stand-in SIUSBXP.DLL stamps when each report becomes readable and when the driver polls;
# tools/latency_client stamps every mouse event from a low-level mouse hook; both on the
# performance counter, which every process shares. The scenario, on a board sending 1024
# reports a second: 12 s without a pen (CPU while the poll is still busy, then once it has gone
# slow), 60 taps (the latency of each press and each release), 6 s of writing (CPU while
# writing), then drags at 200 and 800 px/s (how far the cursor trails the pen: the stamps say
# where the pen was when each report became readable).
#
# Usage: bench/latency.sh [ARCH]   ARCH: x86 (default, the build users install) or x64.
# Builds are made in build/latency-ARCH-VARIANT for the variants: the exe as built (precise
# timer), Timer1 on WM_TIMER, and the precise timer with a raised priority. Each runs idle and
# with a busy machine (one busy loop per core), in both pen modes (PenResponse 0 and 1).
# RAZ_LATENCY_VARIANTS, RAZ_LATENCY_LOADS and RAZ_LATENCY_MODES limit the runs.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ARCH=${1:-x86}
PRESET=$([ "$ARCH" = x64 ] && echo win64 || echo win32)
VARIANTS=${RAZ_LATENCY_VARIANTS:-"precise wmtimer priority"}
LOADS=${RAZ_LATENCY_LOADS:-"idle busy"}
MODES=${RAZ_LATENCY_MODES:-"classic responsive"}
OUT="$ROOT/build/latency-$ARCH"
# shellcheck source=../scripts/wine_session.sh
source "$ROOT/scripts/wine_session.sh"

flags_of() {
  case "$1" in
    precise) echo "" ;;
    wmtimer) echo "-DRAZ_TIMER1_WM_TIMER=ON" ;;
    priority) echo "-DRAZ_RAISED_PRIORITY=ON" ;;
  esac
}

build_variant() {
  # RAZ_LATENCY_BUILD: one build folder for every variant, configured anew for each.
  local dir="${RAZ_LATENCY_BUILD:-$ROOT/build/latency-$ARCH-$1}"
  # shellcheck disable=SC2046
  cmake --preset "$PRESET" -B "$dir" -DRAZ_TIMER1_WM_TIMER=OFF -DRAZ_RAISED_PRIORITY=OFF \
    $(flags_of "$1") >/dev/null || return 1
  cmake --build "$dir" --target RA_Zazide siusbxp latency_client wine_client -j "$(nproc)" \
    >"$OUT/build-$1.log" 2>&1 || return 1
  echo "$dir/bin"
}

write_scenario() {
  {
    echo "screen $SCREEN_WIDTH $SCREEN_HEIGHT"
    echo "projection 73.5 73.5 147 147 0 0"
    echo "rate 1024"
    echo "wait 3s"   # the first device watch opens the board at about 2 s
    echo "lift 12s"  # no pen: the poll goes slow 5 s after the board opened
    for i in $(seq 0 59); do
      local x=$((200 + (i % 10) * 80)) y=$((200 + (i / 10) * 60))
      echo "near $x $y 40ms"
      echo "touch $x $y 100ms"
      echo "near $x $y 40ms"
      echo "lift 120ms"
    done
    echo "touch 200 600 50ms"
    for i in $(seq 0 9); do  # writing: back and forth for 6 s
      echo "stroke 200 600 1000 650 300ms"
      echo "stroke 1000 650 200 600 300ms"
    done
    echo "touch 200 600 300ms"
    echo "stroke 200 600 800 600 3s"     # 200 px/s: handwriting
    echo "touch 800 600 300ms"
    echo "stroke 800 600 200 600 750ms"  # 800 px/s
    echo "touch 200 600 300ms"
    echo "lift 1s"
  } >"$1"
}

# cpu_ticks PID: user + system clock ticks of a process so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

BUSY=()
busy_start() {
  BUSY=()
  for _ in $(seq 1 "$(nproc)"); do
    ( while :; do :; done ) &
    BUSY+=($!)
  done
}
busy_stop() { [ ${#BUSY[@]} -gt 0 ] && kill "${BUSY[@]}" 2>/dev/null; BUSY=(); }

# run_once BIN NAME LOAD MODE: one run; leaves stamps, events and CPU samples in $OUT/NAME/.
run_once() {
  local bin="$1" dir="$OUT/$2" load="$3" mode="$4"
  rm -rf "$dir"
  mkdir -p "$dir/app"
  cp "$bin/RA_Zazide.exe" "$bin/SIUSBXP.DLL" "$dir/app/"
  plain_data_files "$dir/app"
  [ "$mode" = responsive ] &&
    printf '[PARAMETERS]\r\nvkey=0\r\nPenResponse=1\r\n[language]\r\nSelect=1\r\n' >"$dir/app/VaziZod.ini"
  write_scenario "$dir/app/siusbxp-scenario.txt"
  : >"$dir/app/siusbxp-stamps.log"
  [ "$load" = busy ] && busy_start
  "$WINE" "$bin/latency_client.exe" 56 "$(windows_path "$dir/events.log")" >"$dir/client.out" 2>&1 &
  local client=$!
  sleep 1
  (cd "$dir/app" && exec "$WINE" "$dir/app/RA_Zazide.exe") >"$dir/program.log" 2>&1 &
  local pid=""
  for _ in $(seq 1 50); do
    pid=$(pgrep -n -f 'RA_Zazide.exe' | head -n1)
    [ -n "$pid" ] && break
    sleep 0.1
  done
  # Scenario time 0 is when the program loads the library, a moment after it starts.
  # No pen with the poll still busy (2.5-6.5 s), then slow (8.5-14.5 s); writing (33.5-38.5 s).
  sleep 2.5; local busy0; busy0=$(cpu_ticks "$pid")
  sleep 4;   local busy1; busy1=$(cpu_ticks "$pid")
  sleep 2;   local idle0; idle0=$(cpu_ticks "$pid")
  sleep 6;   local idle1; idle1=$(cpu_ticks "$pid")
  sleep 19;  local write0; write0=$(cpu_ticks "$pid")
  sleep 5;   local write1; write1=$(cpu_ticks "$pid")
  sleep 10
  echo "nopen $((busy1 - busy0)) 4" >"$dir/cpu.txt"
  echo "idle $((idle1 - idle0)) 6" >>"$dir/cpu.txt"
  echo "writing $((write1 - write0)) 5" >>"$dir/cpu.txt"
  timeout 20 "$WINE" "$bin/wine_client.exe" close >/dev/null 2>&1
  wait "$client" 2>/dev/null
  busy_stop
  for _ in $(seq 1 50); do pgrep -f 'RA_Zazide.exe' >/dev/null || break; sleep 0.1; done
}

mkdir -p "$OUT"
declare -A BINS
for variant in $VARIANTS; do
  BINS[$variant]=$(build_variant "$variant") || { echo "build of $variant failed (see $OUT)" >&2; exit 1; }
done
first=${VARIANTS%% *}
if ! select_wine "${BINS[$first]}/RA_Zazide.exe"; then
  echo "SKIPPED: $WINE_SKIP_REASON" >&2
  exit 1
fi
trap 'busy_stop; stop_wine' EXIT
wine_env "$OUT/prefix"
start_xvfb "$OUT" || exit 1
make_prefix "$OUT" || { echo "wineboot failed" >&2; exit 1; }

for variant in $VARIANTS; do
  for mode in $MODES; do
    for load in $LOADS; do
      echo "-- $variant, $mode pen, $load machine"
      run_once "${BINS[$variant]}" "$variant-$mode-$load" "$load" "$mode"
    done
  done
done

python3 "$ROOT/bench/latency_report.py" "$OUT" $VARIANTS
