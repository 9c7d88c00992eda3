# The settings dialog's steps shared by its end-to-end tests: the dialog on
# Xvfb, keys, and the values it stored.
source "$(dirname "$0")/lib.sh"

export GDK_BACKEND=x11
export NO_AT_BRIDGE=1  # no accessibility bus to wait for under Xvfb
KEY_FILE="$XDG_CONFIG_HOME/Corvane/Tidereach.reg"

# Xvfb resets itself whenever its last client leaves and refuses connections
# meanwhile; an idle window of our own keeps it up between two dialogs.
coproc KEEPER { "$XWINDOW_HELPER" 1 1; }
read -r _ <&"${KEEPER[0]}"

keys() { xdotool key --delay 120 "$@"; sleep 0.3; }
screenshot_window() { import -window "$DIALOG" "$1"; }

# Starts the dialog and waits for its window; sets DIALOG.
open_dialog() {
  local started=$SECONDS
  start_saver /c
  local deadline=$((SECONDS + 20))
  until DIALOG=$(xdotool search --onlyvisible --name "^Tideway Islands Setup$" 2>/dev/null | head -1) && [ -n "$DIALOG" ]; do
    [ $SECONDS -ge $deadline ] && fail "no dialog window appeared: $(cat "$WORK/stderr")"
    saver_running || fail "the dialog ended early: $(cat "$WORK/stderr")"
    sleep 0.1
  done
  echo "dialog window after about $((SECONDS - started)) s"
  xdotool windowfocus --sync "$DIALOG"
  # The window maps before its first frame, and the dialog probes the
  # display just after that frame; input it reads from then on finds the
  # video modes offered.
  until [ "$(screenshot_window "$WORK/opened.png" && colours_of "$WORK/opened.png")" -gt 100 ]; do
    [ $SECONDS -ge $deadline ] && fail "the dialog's window showed no controls"
    sleep 0.1
  done
}

stored() { grep -F "\"$1\"=" "$KEY_FILE" || echo "\"$1\" missing"; }
expect_stored() { [ "$(stored "$1")" = "\"$1\"=$2" ] || fail "$1: $(stored "$1"), expected $2"; }

