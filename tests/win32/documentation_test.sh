# The settings dialog's documentation link under Wine, with the program in a
# folder whose name the ANSI code page cannot spell: while text files have
# no viewer, the failed open is told and the dialog goes on; once they have
# one, the link opens tidereach.txt beside the program in it.
source "$(dirname "$0")/lib.sh"

DIALOG="Tideway Islands Setup"
VIEWER="tidereach.txt - Notepad"
trap 'wine taskkill /f /im notepad.exe >/dev/null 2>&1 || true; cleanup' EXIT

folder="$WINEPREFIX/drive_c/users/Zoë/屏幕保护"
mkdir -p "$folder"
cp "$SCR" "$folder/tidereach.scr"
cp "$(dirname "$SCR")/tidereach.txt" "$folder/tidereach.txt"
SCR="$folder/tidereach.scr"

wine reg delete 'HKCR\.txt' /f >/dev/null 2>&1 || true
start_scr /c
dialog=$(wait_window "$DIALOG")
# From the tabs over the three buttons, round to the documentation link.
keys_to "$dialog" Tab Tab Tab Tab Return
said=$(answer_box "Screen saver")
case "$said" in
  "Cannot open the documentation C:\\users\\"*"\\tidereach.txt") ;;
  *) fail "the failed open said \"$said\"" ;;
esac
scr_running && xdotool search --onlyvisible --name "^$DIALOG\$" >/dev/null 2>&1 ||
  fail "the dialog ended after a failed open"
pass "a failed open is told and the dialog goes on"

# Text files open in Notepad, as on every Windows.
wine reg add 'HKCR\.txt' /ve /t REG_SZ /d txtfile /f >/dev/null
keys_to "$dialog" Return
wait_window "$VIEWER" >/dev/null
pass "the link opens tidereach.txt from C:\\users\\Zoë\\屏幕保护"
# Notepad keeps the keyboard on a screen without a window manager: the
# dialog is closed as another program would, which is its close box.
wine taskkill /im "$(basename "$SCR")" >/dev/null 2>&1 || true
wait_scr_end 20 || fail "the dialog did not close"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the dialog closed"
