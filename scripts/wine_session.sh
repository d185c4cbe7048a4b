# A Wine session for RA_Zazide.exe, shared by scripts/demo, bench/latency.sh and the Wine
# checks: a private X server, a fresh Wine prefix, the program folder, the ink canvas, the
# test client and a screenshot. Source it; every function is bounded by a timeout.

WINE64=/usr/lib/wine/wine64
# Debian's wine32:i386 package; RAZ_WINE32 points elsewhere to try the run without it.
WINE32=${RAZ_WINE32:-/usr/lib/wine/wine}
WINE=$WINE64
# The loader that creates the prefix, and the prefix's architecture.
WINE_BOOT=$WINE64
WINE_PREFIX_ARCH=win64
WINESERVER=/usr/lib/wine/wineserver
XVFB_PID=""
SCREEN_WIDTH=1280
SCREEN_HEIGHT=800

# pe_machine FILE: x86 or x64 from the machine field of a Windows program's PE header.
pe_machine() {
  local header machine
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || { echo unknown; return 1; }
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo x86 ;;
    8664) echo x64 ;;
    *) echo unknown; return 1 ;;
  esac
}

# select_wine EXE: the Wine loader for the program's architecture, in WINE. 64-bit programs
# run with wine64. 32-bit ones run with the 32-bit loader inside a 64-bit prefix (WoW64, as on
# the 64-bit Windows most schools run), or in a 32-bit prefix with RAZ_WINE32_PREFIX=win32.
# Without a 32-bit Wine it returns 1 and says why in WINE_SKIP_REASON.
WINE_SKIP_REASON=""
select_wine() {
  WINE_MACHINE=$(pe_machine "$1")
  WINE=$WINE64
  WINE_BOOT=$WINE64
  WINE_PREFIX_ARCH=win64
  [ "$WINE_MACHINE" = x86 ] || return 0
  if [ ! -x "$WINE32" ]; then
    WINE_SKIP_REASON="no 32-bit Wine loader at $WINE32 (Debian package wine32:i386"
    if [[ " $(dpkg --print-foreign-architectures 2>/dev/null | tr '\n' ' ') " != *" i386 "* ]]; then
      WINE_SKIP_REASON+="; the i386 architecture is not enabled"
    elif [[ "$(apt-cache policy wine32:i386 2>/dev/null)" != *"Candidate: "[0-9]* ]]; then
      WINE_SKIP_REASON+="; the package sources do not offer it"
    else
      WINE_SKIP_REASON+=" is not installed: run scripts/setup"
    fi
    WINE_SKIP_REASON+=")"
    return 1
  fi
  # Installed is not enough: a kernel built without 32-bit support refuses the loader itself
  # ("Exec format error").
  if ! "$WINE32" --version >/dev/null 2>&1; then
    WINE_SKIP_REASON="the 32-bit Wine loader $WINE32 does not run here: this machine's kernel"
    WINE_SKIP_REASON+=" runs no 32-bit programs"
    return 1
  fi
  WINE=$WINE32
  if [ "${RAZ_WINE32_PREFIX:-wow64}" = win32 ]; then
    WINE_BOOT=$WINE32
    WINE_PREFIX_ARCH=win32
  fi
  return 0
}

# wine_env PREFIX: the environment every Wine call of a run shares.
wine_env() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  # No Mono or Gecko installer prompts while the prefix is created.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=$WINE_PREFIX_ARCH
}

# start_xvfb LOGDIR: starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
  local numberFile="$1/xvfb.display"
  rm -f "$numberFile"
  Xvfb -displayfd 3 -screen 0 ${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24 -nolisten tcp 3>"$numberFile" >"$1/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do
    if [ -s "$numberFile" ]; then
      export DISPLAY=":$(head -n1 "$numberFile")"
      return 0
    fi
    sleep 0.1
  done
  echo "Xvfb did not start (see $1/xvfb.log)" >&2
  return 1
}

# make_prefix LOGDIR: creates the prefix named by WINEPREFIX and waits until Wine is idle.
make_prefix() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  timeout 120 "$WINE_BOOT" wineboot -i >"$1/wineboot.log" 2>&1 || return 1
  timeout 60 "$WINESERVER" -w
}

# stop_wine: ends every Wine process of the prefix and the X server of this run.
stop_wine() {
  timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}

# client ARGS...: tools/wine_client against the running session; BIN is the build's bin folder,
# CLIENT_LOG takes its complaints.
client() {
  timeout 30 "$WINE" "$BIN/wine_client.exe" "$@" 2>>"${CLIENT_LOG:-/dev/null}" | tr -d '\r'
}

# screenshot FILE: the whole virtual screen as a PNG.
screenshot() {
  mkdir -p "$(dirname "$1")"
  timeout 20 import -display "$DISPLAY" -window root "$1"
}

# windows_path PATH: the same file as a Windows program sees it (Z: is the Unix root).
windows_path() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}

# plain_data_files DIR: English captions, no virtual keys, no stored calibration (the default
# one maps the whole board onto the screen), board model and framing 0.
plain_data_files() {
  printf '[PARAMETERS]\r\nvkey=0\r\n[language]\r\nSelect=1\r\n' >"$1/VaziZod.ini"
  head -c 3472 /dev/zero >"$1/server.txt"
  le32 0 >"$1/server11.txt"
  le32 0 >"$1/server111.txt"
  le32 0 >"$1/server1111.txt"
}

# start_canvas BIN PICTURE LOG SECONDS [X Y W H]: starts the ink canvas for at most SECONDS
# (over the primary screen, or that rectangle of the desktop) and sets CANVAS_PID; it logs every
# mouse message to LOG and saves PICTURE (BMP) when it closes.
CANVAS_PID=""
CANVAS_CLASS="RA_Zazide ink canvas"
start_canvas() {
  local at=()
  [ $# -ge 8 ] && at=(--at "$5" "$6" "$7" "$8")
  timeout "$4" "$WINE" "$1/ink_canvas.exe" --picture "$(windows_path "$2")" \
    --log "$(windows_path "$3")" "${at[@]}" >/dev/null 2>&1 &
  CANVAS_PID=$!
}

# le32 VALUE: the four little-endian bytes of a 32-bit integer (0..255 is enough here).
le32() {
  printf "\\x$(printf %02x "$1")\\x00\\x00\\x00"
}
