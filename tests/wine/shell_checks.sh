#!/usr/bin/env bash
# Wine checks of what the user reaches from the tray: the icon in both states, the menu opened
# by a real click on the icon, a click elsewhere closing it, the settings dialog, autostart
# (the shortcut read back through the shell) and the language switch across a restart.
# Screenshots of the menu, the dialog (both languages) and the icon (both states) go to
# out/wine-shell/ at the top of the checkout.
# Usage: tests/wine/shell_checks.sh BUILD_DIR   (a win32 or win64 build)
# On its own it makes its own Wine prefix and X server; run.sh runs it inside its own with
# RAZ_WINE_SHARED=1. One line per check ("ok   - ..." / "FAIL - ..."), then a summary.
set -uo pipefail

BUILD=$(realpath "${1:?usage: shell_checks.sh BUILD_DIR}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=lib.sh
source "$HERE/lib.sh"

{ check_setup shell "$BUILD"; status=$?; } || exit $((status == 1 ? 0 : status))
OUT="$HERE/../../out/wine-shell/$WINE_MACHINE"
bytes_of() { od -An -tx1 "$1" 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
bytes_are() { [ "$(bytes_of "$1")" = "$2" ]; }
file_becomes() {  # file_becomes FILE "HEX BYTES" SECONDS
  until_true "$3" bytes_are "$1" "$2" || equals "$(bytes_of "$1")" "$2"
}

trap 'kill_program; stop_own_wine' EXIT
rm -rf "$OUT"
mkdir -p "$OUT"

# Chinese glyphs for the menu and the dialog; Wine draws the window frames itself, so that the
# dialog's caption shows.
{
  chinese_fonts
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f
} >"$WORK/registry.log" 2>&1

# Chinese (no Select), autostart off, framing 0, model KX, and the stand-in board: data flows
# from the first device watch until the cable comes out 25 s later.
printf 'wait 25s\nunplug 600s\n' >"$WORK/scenario.txt"
stand_in_app "$APP" "$BIN" "$WORK/scenario.txt"
printf '[PARAMETERS]\r\nvkey=1\r\n' >"$APP/VaziZod.ini"

# The tray icon, cut out of the screen and enlarged: Wine shows it 16 pixels wide.
tray_shot() {  # tray_shot NAME
  screenshot "$OUT/$1-screen.png" || return 1
  read -r _ x y w h <<<"$(client tray-info)"
  convert "$OUT/$1-screen.png" -crop "${w}x${h}+${x}+${y}" +repage -scale 800% "$OUT/$1.png"
}
# Pixels of the pen (blue) in the icon: the board with the pen has some, the grey board none.
pen_pixels() {
  convert "$OUT/$1-screen.png" -crop "$(client tray-info | awk '{print $4"x"$5"+"$2"+"$3}')" \
    +repage -depth 8 txt:- |
    sed -n 's/.*: (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
    awk '$3 > $1 + 60 && $3 > $2 + 30 { n++ } END { print n + 0 }'
}
has_pen() { [ "$(pen_pixels "$1")" -gt 0 ]; }
has_no_pen() { equals "$(pen_pixels "$1")" 0; }

MENU=""  # LEFT TOP WIDTH HEIGHT of the open menu
menu_opens() {  # a real left click on the icon
  client tray-click || return 1
  MENU=$(client wait-menu 20) || return 1
  sleep 0.5  # drawn
}
menu_shot() {  # menu_shot NAME: the menu and the icon above it
  local x y w h
  read -r x y w h <<<"$MENU"
  screenshot "$OUT/$1-screen.png" || return 1
  # The language sub-menu may be open to the right of the menu.
  convert "$OUT/$1-screen.png" -crop "$((w + 130))x$((h + y))+0+0" +repage -scale 300% "$OUT/$1.png"
}
choose() {  # choose KEY...: the keys that pick a command in the open menu; the menu closes
  client menu-keys "$@" && client wait-no-menu 5
}
# Items from the top: N1 N6 N2 langer1 N4 N9 (the board-screen sub-menu) N8, separator, N3.
# The first Down selects N1.
N2_KEYS=(down down down return)
N8_KEYS=(down down down down down down down return)
ENGLISH_KEYS=(down down down down right down return)

dialog_opens() { choose "${N8_KEYS[@]}" && client wait-dialog 20 && sleep 0.5; }
dialog_line() { client dialog-info | grep "^$1 " | sed 's/.*: //'; }
dialog_fits() {
  local info
  info=$(client dialog-info) || return 1
  equals "$(head -n1 <<<"$info")" "client=505x438 visible=1" &&
    equals "$(grep -c 'inside=1' <<<"$info")" 15
}

# --- first run: Chinese ---------------------------------------------------------------
check "RA_Zazide.exe starts within 60 s" start_program
check "the stand-in board is found (Label2 ok within 8 s)" label_becomes Label2 ok 8
check "tray icon shows the board with the pen while data arrives" \
  until_true 20 eval 'tray_shot tray-board-with-pen && has_pen tray-board-with-pen'

check "the first left click on the tray icon opens the menu" menu_opens
check "screenshot of the Chinese menu" menu_shot menu-chinese
check "a click elsewhere closes the menu" eval 'client click 900 700 && client wait-no-menu 5'
no_menu_on_right_click() { client tray-click right && ! client wait-menu 2 >/dev/null; }
check "a right click on the icon opens no menu" no_menu_on_right_click

check "the menu's Board Settings item opens the dialog" eval 'menu_opens && dialog_opens'
screenshot "$OUT/dialog-chinese.png"
check "the dialog is 505x438 with every control inside, models, mappings and pen response included" dialog_fits
check "the dialog's captions are its Chinese design ones" equals "$(dialog_line Button1)" "确定"
check "the dialog starts with the stored framing and model" \
  equals "$(client dialog-info | grep -E '^(RadioButton1|KX) ' | grep -c 'checked=1')" 2
check "choosing the second radio, VI100, keystone-exact and OK closes the dialog" \
  eval 'client dialog-click RadioButton2 && client dialog-click VI100 &&
        client dialog-click KeystoneExact && client dialog-click Button1 && client wait-no-dialog 5'
check "the mapping is stored at once (Mapping=1)" grep -q '^Mapping=1' "$APP/VaziZod.ini"
check "the device watch stores the framing (server111.txt 01 00 00 00 within 4 s)" \
  file_becomes "$APP/server111.txt" "01 00 00 00" 20
check "the device watch stores the model (server1111.txt 02 00 00 00)" \
  file_becomes "$APP/server1111.txt" "02 00 00 00" 20

EXE_PATH=$(windows_path "$APP/RA_Zazide.exe")
APP_PATH=$(windows_path "$APP")
check "AUTORUN on: server11.txt reads 01 00 00 00" \
  eval 'menu_opens && choose "${N2_KEYS[@]}" && file_becomes "$APP/server11.txt" "01 00 00 00" 20'
check "AUTORUN on: the Startup folder holds RA_Zazide.lnk to the program, in its folder" \
  equals "$(client startup-shortcut)" "target=$EXE_PATH workdir=$APP_PATH"
check "AUTORUN off: server11.txt reads 00 00 00 00" \
  eval 'menu_opens && choose "${N2_KEYS[@]}" && file_becomes "$APP/server11.txt" "00 00 00 00" 20'
check "AUTORUN off: the shortcut is gone" equals "$(client startup-shortcut)" missing

check "the board's cable coming out shows no (within 40 s)" label_becomes Label2 no 40
check "tray icon shows the grey board once no data arrives" \
  until_true 20 eval 'tray_shot tray-board-grey && has_no_pen tray-board-grey'

check "English from the language sub-menu switches the captions" \
  eval 'menu_opens && choose "${ENGLISH_KEYS[@]}" &&
        label_becomes Label13 "Click on the first icon to the left of the upper right corner" 20'
check "the switch is stored: Select=1" grep -q '^Select=1' "$APP/VaziZod.ini"
check "screenshot of the English menu" eval 'menu_opens && menu_shot menu-english'
client menu-keys escape >/dev/null
client wait-no-menu 3
check "the dialog follows the language" \
  eval 'menu_opens && dialog_opens && equals "$(dialog_line Button2)" Cancel'
screenshot "$OUT/dialog-english.png"
check "Cancel closes the dialog" eval 'client dialog-click Button2 && client wait-no-dialog 5'

# The notification area loses the icon (as when Explorer restarts): the device watch finds
# its modify refused and adds the icon again; TaskbarCreated brings it back at once.
# tray-remove itself looks that the icon is gone: the device watch may put it back within 2 s.
icon_gone() { client tray-remove; }
check "the icon taken out of the notification area is gone" icon_gone
check "the device watch adds it again by itself (within 6 s)" client wait-tray-icon 6
check "taken out again, TaskbarCreated brings it back within 1 s" \
  eval 'icon_gone && client taskbar-created && client wait-tray-icon 1'
check "the exit closes the program" stop_program

# --- second run: the language survives a restart ----------------------------------------
check "RA_Zazide.exe starts again" start_program
check "after the restart the captions are English at once" \
  label_is Label13 "Click on the first icon to the left of the upper right corner"
check "after the restart the menu is English" eval 'menu_opens && menu_shot menu-english-restarted'
client menu-keys escape >/dev/null
check "and the program closes again" stop_program

echo "# screenshots in $(realpath "$OUT")"
summary
