#!/usr/bin/env bash
# The installer under Wine (called by run.sh inside its prefix and X server), one line per
# check: an install driven through its pages into a chosen folder, started from its finish
# page, and removed by its registered quiet uninstall; a silent install of an older build, the
# user's calibration, key layout, settings and board library, a silent upgrade with /D= that
# keeps them byte for byte, the program started from its Start-menu shortcut; and the
# uninstall, autostart shortcut included.
# Usage: installer_check.sh BUILD_DIR WORK_DIR
set -uo pipefail

BUILD=$(realpath "$1")
INS=$(realpath -m "$2")
HERE=$(dirname "$(realpath "$0")")
ROOT=$(realpath "$HERE/../..")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
CHECK_PREFIX="installer: "
select_wine "$BUILD/bin/RA_Zazide.exe" || exit 0
BIN="$BUILD/bin"
DEFAULTS="$ROOT/packaging/default"
DATA_FILES=(VaziZod.ini server.txt server11.txt server111.txt server1111.txt)
PROGRAM_FILES=(RA_Zazide.exe razazide-record.exe uninstall.exe)
VERSION=$(sed -n 's/^project(RA_Zazide .*VERSION \([0-9.]*\)).*/\1/p' "$ROOT/CMakeLists.txt")
KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\RA_Zazide'
TITLE=RA_Zazide  # in the installer's caption in every language

CLIENT_LOG="$INS/client.log"
# unix_path WINDOWS_PATH: where the file lies for Linux, through drive_c; nothing on failure.
unix_path() {
  local path
  path=$(timeout 30 "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r')
  [ -n "$path" ] && realpath -m "$path"
}
# reg_value NAME: a value of the uninstall entry, as reg.exe prints it; nothing when missing.
reg_value() {
  timeout 30 "$WINE" reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
no_uninstall_entry() { ! timeout 30 "$WINE" reg query "$KEY" >/dev/null 2>&1; }
gone() { ! [ -e "$1" ] && process_gone "$1"; }  # gone PATH_OR_PID
gone_within() { until_true "$2" gone "$1"; }  # gone_within PATH_OR_PID SECONDS
program_files_present() {  # DIR
  local f
  for f in "${PROGRAM_FILES[@]}" "${DATA_FILES[@]}"; do
    [ -f "$1/$f" ] || { echo "       missing $1/$f"; return 1; }
  done
  cmp -s "$BIN/RA_Zazide.exe" "$1/RA_Zazide.exe" || { echo "       RA_Zazide.exe differs"; return 1; }
}
defaults_installed() {  # DIR: the shipped settings and data files, as shipped
  local f
  for f in "${DATA_FILES[@]}"; do
    cmp -s "$DEFAULTS/$f" "$1/$f" || { echo "       $f differs from packaging/default"; return 1; }
  done
}
no_vendor_library() { [ ! -e "$1/SIUSBXP.DLL" ] || { echo "       $1/SIUSBXP.DLL installed"; return 1; }; }
# quiet_uninstall: runs the registered QuietUninstallString, as school IT would.
quiet_uninstall() {
  local command exe
  command=$(reg_value QuietUninstallString)
  [[ "$command" == '"'*'" /S' ]] || { echo "       QuietUninstallString '$command'"; return 1; }
  exe=${command#\"}
  exe=${exe%\" /S}
  timeout 60 "$WINE" "$exe" /S >>"$INS/uninstall.log" 2>&1
}
# The registered uninstaller hands over to a copy of itself and returns at once; the copy's last
# step removes the Apps & features entry.
uninstall_finished() { until_true 30 no_uninstall_entry; }
running_from() {  # running_from WINDOWS_EXE_PATH: the one RA_Zazide.exe runs from there
  client wait-window 60 || { echo "       no RA_Zazide window"; return 1; }
  equals "$(client process-path RA_Zazide.exe)" "$1"
}
none_running() { [ "$(client count-processes RA_Zazide.exe)" = 0 ]; }
close_program() {
  client close >/dev/null
  until_true 10 none_running || equals "$(client count-processes RA_Zazide.exe)" 0
}

rm -rf "$INS"
mkdir -p "$INS"
SETUP=$(ls "$BUILD"/installer/RA_Zazide-setup-*.exe 2>/dev/null | head -n1)
if [ -z "$SETUP" ]; then
  echo "FAIL - installer: no RA_Zazide-setup-*.exe in $BUILD/installer (makensis missing? scripts/setup installs nsis)"
  exit 0
fi
echo "# installer $(basename "$SETUP"): $(stat -c %s "$SETUP") bytes, version $VERSION"
check "its manifest asks for no administrator rights (asInvoker)" \
  grep -qa 'level="asInvoker"' "$SETUP"

LOCAL_WIN=$(client folder localappdata)
PROGRAMS=$(unix_path "$(client folder programs)")
PROGRAMS_WIN=$(client folder programs)
STARTUP=$(unix_path "$(client folder startup)")
DEFAULT_WIN="$LOCAL_WIN\\Programs\\RA_Zazide"
DEFAULT=$(unix_path "$DEFAULT_WIN")
MENU="$PROGRAMS/RA_Zazide"
echo "# default folder $DEFAULT_WIN"
# Every folder this check writes into or removes must lie in the prefix: a failed query must not
# send the user's files to / on the host.
in_prefix() { [[ "$1" == "$WINEPREFIX"/drive_c/?* ]]; }
for folder in "$PROGRAMS" "$STARTUP" "$DEFAULT"; do
  if ! in_prefix "$folder"; then
    echo "FAIL - installer: the shell's folders could not be found in the prefix ('$folder')"
    exit 0
  fi
done

# 1. Interactive: the pages driven by clicks, into a folder of the user's choosing.
CUSTOM_WIN='C:\Schule\RA Zazide'
CUSTOM=$(unix_path "$CUSTOM_WIN")
in_prefix "$CUSTOM" || { echo "FAIL - installer: $CUSTOM_WIN is not in the prefix"; exit 0; }
timeout 120 "$WINE" "$SETUP" >"$INS/interactive.log" 2>&1 &
SETUP_PID=$!
check "interactive: the directory page appears" client wait-titled "$TITLE" 30
check "interactive: it proposes the user's programs folder $DEFAULT_WIN" \
  equals "$(client control-text "$TITLE" 1019)" "$DEFAULT_WIN"
client controls "$TITLE" >"$INS/page-directory.txt"
client set-text "$TITLE" 1019 "$CUSTOM_WIN"
check "interactive: Install clicked on the directory page" client click-button "$TITLE" 1
check "interactive: the finish page comes (its button reads &Finish)" \
  eval 'client wait-control-text "$TITLE" 1 "&Finish" 60 >/dev/null'
client controls "$TITLE" >"$INS/page-finish.txt"
check "interactive: the finish page offers to run RA_Zazide, checked" \
  equals "$(client is-checked "$TITLE" 1203)" 1
check "interactive: Finish clicked" client click-button "$TITLE" 1
check "interactive: the installer ends" gone_within "$SETUP_PID" 20
check "interactive: the finish page started RA_Zazide from the chosen folder" \
  running_from "$CUSTOM_WIN\\RA_Zazide.exe"
check "interactive: programs, settings and data files in the chosen folder" \
  program_files_present "$CUSTOM"
check "interactive: settings and data files as shipped" defaults_installed "$CUSTOM"
check "interactive: no SIUSBXP.DLL shipped" no_vendor_library "$CUSTOM"
check "interactive: Start-menu entry present" test -f "$MENU/RA_Zazide.lnk"
check "interactive: Apps & features entry (HKCU) names the chosen folder" \
  equals "$(reg_value InstallLocation)" "$CUSTOM_WIN"
check "interactive: RA_Zazide closes" close_program

# 2. Its registered quiet uninstall, with an autostart shortcut in the Startup folder.
mkdir -p "$STARTUP"
cp "$MENU/RA_Zazide.lnk" "$STARTUP/RA_Zazide.lnk"
check "uninstall: the registered quiet uninstall runs" quiet_uninstall
check "uninstall: it finishes: its last step removes the Apps & features entry" uninstall_finished
check "uninstall: the chosen folder is gone" test ! -e "$CUSTOM"
check "uninstall: the Start-menu entries are gone" test ! -e "$MENU"
check "uninstall: the autostart shortcut is gone" test ! -e "$STARTUP/RA_Zazide.lnk"

# 3. An older build installed silently into the default folder.
OLD="$INS/RA_Zazide-setup-old.exe"
makensis -V1 -INPUTCHARSET UTF8 -DVERSION=0.0.1 -DARCH="$WINE_MACHINE" -DBIN="$BIN" \
  -DDATA="$DEFAULTS" -DOUTFILE="$OLD" -DSIZE_KB=1 "$ROOT/packaging/installer/RA_Zazide.nsi" \
  >"$INS/makensis-old.log" 2>&1
check "upgrade: the older build (0.0.1) installs silently (/S)" \
  timeout 120 "$WINE" "$OLD" /S
check "upgrade: the older build is in the default folder" program_files_present "$DEFAULT"
check "upgrade: the older build is registered as 0.0.1" equals "$(reg_value DisplayVersion)" 0.0.1
check "upgrade: no SIUSBXP.DLL shipped" no_vendor_library "$DEFAULT"

# The user calibrates, lays out the keys, chooses settings and copies the board's library in;
# the older build's program differs from the new one.
head -c 3472 /dev/urandom >"$DEFAULT/server.txt"
printf '[PARAMETERS]\r\nPen=0\r\nPenRight=0\r\nvkey=1\r\n[VKeyCali]\r\nVKeyPoint_L_TopX=812\r\nVKeyPoint_L_TopY=433\r\n[language]\r\nSelect=1\r\n' \
  >"$DEFAULT/VaziZod.ini"
le32 1 >"$DEFAULT/server11.txt"
le32 1 >"$DEFAULT/server111.txt"
le32 2 >"$DEFAULT/server1111.txt"
cp "$BIN/SIUSBXP.DLL" "$DEFAULT/SIUSBXP.DLL"
printf 'an older build' >>"$DEFAULT/RA_Zazide.exe"
(cd "$DEFAULT" && sha256sum "${DATA_FILES[@]}" SIUSBXP.DLL) >"$INS/user-files.sha256"

# 4. The new build over it, silently, with the folder given as school IT would, while the older
# driver runs (autostarted, say): the installer must close it to replace it.
start_from_menu() {
  client open "$PROGRAMS_WIN\\RA_Zazide\\RA_Zazide.lnk" && running_from "$DEFAULT_WIN\\RA_Zazide.exe"
}
check "upgrade: the older build runs, started from its Start-menu shortcut" start_from_menu
check "upgrade: the new build installs silently over it (/S /D=)" \
  timeout 120 "$WINE" "$SETUP" /S "/D=$DEFAULT_WIN"
check "upgrade: the installer closed the running driver" \
  equals "$(client count-processes RA_Zazide.exe)" 0
kept() { (cd "$DEFAULT" && sha256sum --quiet -c "$INS/user-files.sha256"); }
check "upgrade: server.txt, VaziZod.ini, the flag files and SIUSBXP.DLL kept byte for byte" kept
check "upgrade: the program is the new build" program_files_present "$DEFAULT"
check "upgrade: registered as $VERSION" equals "$(reg_value DisplayVersion)" "$VERSION"

# 5. Started again as a user starts it: the Start-menu shortcut, opened by the shell.
check "start: the Start-menu shortcut points at the installed program" \
  equals "$(client shortcut "$PROGRAMS_WIN\\RA_Zazide\\RA_Zazide.lnk" | head -n1)" \
  "target=$DEFAULT_WIN\\RA_Zazide.exe"
check "start: the shell opens the shortcut" client open "$PROGRAMS_WIN\\RA_Zazide\\RA_Zazide.lnk"
check "start: RA_Zazide runs from the installed folder" running_from "$DEFAULT_WIN\\RA_Zazide.exe"
check "start: it uses the kept framing (Label9 shows 1)" equals "$(client label Label9)" 1
check "start: it uses the kept language (English prompt)" \
  equals "$(client label Label13)" "Click on the first icon to the left of the upper right corner"
check "start: it finds the kept board library (Label2 ok)" \
  equals "$(client wait-label Label2 ok 6)" ok
check "start: RA_Zazide closes" close_program

# 6. Silent uninstall with autostart on and the driver running.
cp "$MENU/RA_Zazide.lnk" "$STARTUP/RA_Zazide.lnk"
check "uninstall: RA_Zazide runs again" start_from_menu
check "uninstall: the registered quiet uninstall runs" quiet_uninstall
check "uninstall: it finishes: its last step removes the Apps & features entry" uninstall_finished
check "uninstall: the uninstaller closed the running driver" \
  equals "$(client count-processes RA_Zazide.exe)" 0
check "uninstall: the program folder is gone, data files and library included" \
  test ! -e "$DEFAULT"
check "uninstall: the Start-menu entries are gone" test ! -e "$MENU"
check "uninstall: the autostart shortcut is gone" test ! -e "$STARTUP/RA_Zazide.lnk"
check "nothing was registered for all users (HKLM)" eval \
  '! timeout 30 "$WINE" reg query "${KEY/HKCU/HKLM}" >/dev/null 2>&1'
