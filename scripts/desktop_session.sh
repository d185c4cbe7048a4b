# shellcheck shell=bash
# An extended desktop of several monitors for Wine: a private Xorg with the dummy video driver
# (Xvfb's Xinerama heads all sit at 0,0, so Wine sees one monitor there), its outputs DUMMY0,
# DUMMY1, ... laid out with xrandr as the monitors. Source it; every function is bounded by a
# timeout. Needs the Debian packages xserver-xorg-core, xserver-xorg-video-dummy and
# x11-xserver-utils (scripts/setup installs them); desktop_available says whether they are here.
#
# A desktop is given as SPEC, one WxH+X+Y[:primary] per monitor, comma-separated, in
# virtual-desktop pixels as Windows counts them (the primary at 0,0, others at negative offsets
# when they lie left of or above it): "1280x800+0+0:primary,1024x768+1280+0" (a projector right
# of the laptop), "1024x768+0+0:primary,1280x800-1280+0" (a laptop left of the primary
# projector). Monitor N is output DUMMY<N-1>; X has no negative coordinates, so the layout is
# shifted until its top-left corner is X's 0,0. Without ":primary" the first monitor is primary.
#
# What Wine 8.0 (Debian 12) makes of it, measured with tools/desktop_probe:
# - The monitors are \\.\DISPLAY1, \\.\DISPLAY2, ...: the primary is DISPLAY1, the others
#   follow in output order (list the primary first and SPEC's order is the names' order).
#   rcMonitor is SPEC's rectangle exactly: the primary at 0,0, a laptop left of the projector at
#   -1280,0 (negative X does appear). SM_X/YVIRTUALSCREEN and SM_CX/CYVIRTUALSCREEN are the
#   bounding box: 2304x800 at 0,0, or 2304x800 at -1280,0.
# - Absolute input with MOUSEEVENTF_VIRTUALDESK lands at left + (dx * width >> 16), likewise
#   for y, so dx = ceil((pixel - left) * 65536 / width) puts the cursor exactly on its pixel:
#   every one of the 2304 columns and 800 rows, in both layouts. Rounding to nearest with
#   65535 / (width - 1) missed 9 of the 2304 columns, rounding down most of them.
# - An output switched off drops out of EnumDisplayMonitors, and switched on again it is back
#   with its rectangle; a new resolution likewise. A program that is already running sees the
#   change at its next call, 0.4 to 0.8 s after set_monitor began (xrandr's own time
#   included). No WM_DISPLAYCHANGE reaches its windows.
# - Wine reads the server's current state without probing it, and an output the server has
#   not probed since it got a picture still counts as disconnected: Wine then lists only the
#   primary. So every layout ends with an xrandr query.
# - Two outputs at the same place with the same size are one monitor to Wine (a mirror).

XORG=${RAZ_XORG:-/usr/lib/xorg/Xorg}
XORG_DUMMY_DRIVER=/usr/lib/xorg/modules/drivers/dummy_drv.so
DESKTOP_PID=""
DESKTOP_DISPLAY=""
DESKTOP_LOG=""
DESKTOP_SKIP_REASON=""
# One entry per monitor: its size, its place, whether it is on, and which one is primary.
DESKTOP_SIZE=()
DESKTOP_PLACE=()
DESKTOP_ON=()
DESKTOP_PRIMARY=0

# desktop_available: 0 when this machine can start a desktop of several monitors; 1 with the
# reason in DESKTOP_SKIP_REASON when it cannot.
desktop_available() {
  local missing=()
  [ -x "$XORG" ] || missing+=(xserver-xorg-core)
  [ -f "$XORG_DUMMY_DRIVER" ] || missing+=(xserver-xorg-video-dummy)
  command -v xrandr >/dev/null || missing+=(x11-xserver-utils)
  DESKTOP_SKIP_REASON=""
  [ ${#missing[@]} -eq 0 ] && return 0
  DESKTOP_SKIP_REASON="no multi-monitor X server: missing Debian packages ${missing[*]}"
  DESKTOP_SKIP_REASON+=" (run scripts/setup)"
  return 1
}

# desktop_parse SPEC: the monitors of SPEC into DESKTOP_SIZE, DESKTOP_PLACE, DESKTOP_ON and
# DESKTOP_PRIMARY (0-based). Returns 1 on a malformed SPEC.
desktop_parse() {
  local monitor monitors i=0
  local pattern='^([0-9]+x[0-9]+)([+-][0-9]+)([+-][0-9]+)(:primary)?$'
  DESKTOP_SIZE=()
  DESKTOP_PLACE=()
  DESKTOP_ON=()
  DESKTOP_PRIMARY=0
  IFS=, read -ra monitors <<<"$1"
  for monitor in "${monitors[@]}"; do
    [[ "$monitor" =~ $pattern ]] || { echo "desktop: '$monitor' is not WxH+X+Y[:primary]" >&2; return 1; }
    DESKTOP_SIZE+=("${BASH_REMATCH[1]}")
    DESKTOP_PLACE+=("$((BASH_REMATCH[2])) $((BASH_REMATCH[3]))")
    DESKTOP_ON+=(1)
    [ -n "${BASH_REMATCH[4]}" ] && DESKTOP_PRIMARY=$i
    i=$((i + 1))
  done
  if [ "$i" -lt 1 ] || [ "$i" -gt 16 ]; then
    echo "desktop: 1 to 16 monitors, not $i" >&2
    return 1
  fi
}

# desktop_config FILE: an Xorg configuration of one dummy screen that any layout fits in, with
# no input devices (no VT, no udev: the server works the same as root, as a user and in CI).
desktop_config() {
  cat >"$1" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "AllowEmptyInput" "true"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 131072
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 8192 4096
  EndSubSection
EndSection
EOF
}

# desktop_mode OUTPUT WxH: the mode "razWxH" (60 Hz, any timings the dummy accepts) on OUTPUT.
desktop_mode() {
  local w=${2%x*} h=${2#*x}
  local clock=$(((w + 160) * (h + 30) * 60 / 10000))
  timeout 10 xrandr --newmode "raz$2" "$((clock / 100)).$((clock % 100))" \
    "$w" $((w + 48)) $((w + 80)) $((w + 160)) "$h" $((h + 3)) $((h + 6)) $((h + 30)) 2>/dev/null
  timeout 10 xrandr --addmode "$1" "raz$2" 2>>"$DESKTOP_LOG"
}

# desktop_apply: lays the outputs out as DESKTOP_* say, in one xrandr call; the monitors that
# are on are shifted together so that their top-left corner is X's 0,0.
desktop_apply() {
  local i x y minX=0 minY=0 args=() first=1
  for i in "${!DESKTOP_SIZE[@]}"; do
    [ "${DESKTOP_ON[i]}" = 1 ] || continue
    read -r x y <<<"${DESKTOP_PLACE[i]}"
    if [ $first = 1 ] || [ "$x" -lt "$minX" ]; then minX=$x; fi
    if [ $first = 1 ] || [ "$y" -lt "$minY" ]; then minY=$y; fi
    first=0
  done
  for i in "${!DESKTOP_SIZE[@]}"; do
    if [ "${DESKTOP_ON[i]}" != 1 ]; then
      args+=(--output "DUMMY$i" --off)
      continue
    fi
    desktop_mode "DUMMY$i" "${DESKTOP_SIZE[i]}"
    read -r x y <<<"${DESKTOP_PLACE[i]}"
    args+=(--output "DUMMY$i" --mode "raz${DESKTOP_SIZE[i]}" --pos "$((x - minX))x$((y - minY))")
    [ "$i" = "$DESKTOP_PRIMARY" ] && args+=(--primary)
  done
  timeout 20 xrandr "${args[@]}" 2>>"$DESKTOP_LOG" ||
    { echo "desktop: xrandr refused the layout (see $DESKTOP_LOG)" >&2; return 1; }
  # Outputs that got their first picture count as connected only from the next probe.
  timeout 10 xrandr --query >/dev/null
}

# start_desktop LOGDIR SPEC [SECONDS]: a private Xorg on a free display with the monitors of
# SPEC, for at most SECONDS (1800: it ends even when the script that started it is killed);
# exports DISPLAY. Its configuration and logs stay in LOGDIR.
start_desktop() {
  local numberFile="$1/xorg.display"
  desktop_available || { echo "start_desktop: $DESKTOP_SKIP_REASON" >&2; return 1; }
  desktop_parse "$2" || return 1
  mkdir -p "$1/xorg.conf.d"
  rm -f "$numberFile"
  DESKTOP_LOG="$1/xrandr.log"
  desktop_config "$1/xorg.conf"
  timeout -k 5 "${3:-1800}" "$XORG" -config "$1/xorg.conf" -configdir "$1/xorg.conf.d" -logfile "$1/xorg.log" \
    -noreset -nolisten tcp +extension RANDR -novtswitch -displayfd 3 \
    3>"$numberFile" >"$1/xorg.out" 2>&1 &
  DESKTOP_PID=$!
  local end=$((SECONDS + 30))
  until [ -s "$numberFile" ]; do
    if ! kill -0 "$DESKTOP_PID" 2>/dev/null || [ $SECONDS -ge $end ]; then
      echo "start_desktop: Xorg did not start (see $1/xorg.log and $1/xorg.out)" >&2
      stop_desktop
      return 1
    fi
    sleep 0.1
  done
  DESKTOP_DISPLAY=":$(head -n1 "$numberFile")"
  export DISPLAY=$DESKTOP_DISPLAY
  desktop_apply || { stop_desktop; return 1; }
}

# set_monitor N WxH|off|on: monitor N (1-based) gets another resolution, or its output is
# switched off (the projector unplugged) or on again. A monitor left of or above the origin
# keeps its right or bottom edge where it was, any other its top-left corner.
set_monitor() {
  local i=$(($1 - 1)) x y w h
  [ -n "${DESKTOP_SIZE[i]:-}" ] || { echo "set_monitor: no monitor $1" >&2; return 1; }
  case "$2" in
    off) DESKTOP_ON[i]=0 ;;
    on) DESKTOP_ON[i]=1 ;;
    *x*)
      read -r x y <<<"${DESKTOP_PLACE[i]}"
      w=${DESKTOP_SIZE[i]%x*} h=${DESKTOP_SIZE[i]#*x}
      [ "$x" -lt 0 ] && x=$((x + w - ${2%x*}))
      [ "$y" -lt 0 ] && y=$((y + h - ${2#*x}))
      DESKTOP_PLACE[i]="$x $y"
      DESKTOP_SIZE[i]=$2
      ;;
    *) echo "set_monitor: WxH, off or on, not '$2'" >&2; return 1 ;;
  esac
  desktop_apply
}

# stop_desktop: ends the X server (asked first, killed 5 s later) and removes what a killed
# server leaves behind.
stop_desktop() {
  [ -n "$DESKTOP_PID" ] || return 0
  kill "$DESKTOP_PID" 2>/dev/null
  local end=$((SECONDS + 15)) n=${DESKTOP_DISPLAY#:}
  while kill -0 "$DESKTOP_PID" 2>/dev/null && [ $SECONDS -lt $end ]; do sleep 0.1; done
  kill -KILL "$DESKTOP_PID" 2>/dev/null
  wait "$DESKTOP_PID" 2>/dev/null
  # timeout's status: 124 or more when it had to kill the server.
  [ $? -ge 124 ] && [ -n "$n" ] && rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  DESKTOP_PID=""
  DESKTOP_DISPLAY=""
}
