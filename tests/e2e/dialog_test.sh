# The settings dialog under Xvfb, driven from the keyboard: "OK" stores what
# was changed, "Cancel" stores nothing.
source "$(dirname "$0")/dialog_lib.sh"

open_dialog
[ -f "$KEY_FILE" ] || fail "the first run wrote no settings"
screenshot_window "$WORK/settings.png"
[ "$(colours_of "$WORK/settings.png")" -gt 500 ] || fail "the dialog shows no picture"
pass "the dialog opens on a first run with its defaults stored"

# Focus starts on the first link; the page's controls follow the tabs.
keys Tab Tab Tab space                           # "Play Sound" off
keys Tab Tab Down                                # "Keybord only (ESC key)"
keys ctrl+Page_Down ctrl+Page_Down ctrl+Page_Down  # the "Clock" page, on "Show clock"
keys Tab Tab                                     # "X center"
xdotool type --delay 120 "5x00"                  # the letter is not taken
keys Tab                                         # leaving it checks it
keys ctrl+Page_Up ctrl+Page_Up                   # the "Display" page, on its video mode
keys Up Up                                       # "1152x864" with the keys: the clock stays
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab  # back round to "OK"
keys space
wait_saver_end 15 || fail "OK did not close the dialog"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after OK"
expect_stored flag_PlaySound dword:00000000
expect_stored TermMouse dword:00000000
expect_stored clockX dword:000001f4
expect_stored clockY dword:0000005a
expect_stored flag_defres dword:00000000
expect_stored ResHor dword:00000480
expect_stored ResVert dword:00000360
expect_stored NumBirds dword:00000007
[ "$(grep -c '=' "$KEY_FILE")" -eq 26 ] || fail "not 26 values: $(cat "$KEY_FILE")"
pass "changes made with the keyboard are stored on OK"

cp "$KEY_FILE" "$WORK/before.reg"
open_dialog
keys Tab Tab Tab space                           # "Play Sound" on again
keys shift+Tab shift+Tab shift+Tab shift+Tab     # back round to "Cancel"
keys space
wait_saver_end 15 || fail "Cancel did not close the dialog"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after Cancel"
cmp -s "$KEY_FILE" "$WORK/before.reg" || fail "Cancel changed the settings: $(diff "$WORK/before.reg" "$KEY_FILE")"
pass "Cancel stores nothing"

# A store that refuses the values: the error is shown and the dialog stays.
chmod 400 "$KEY_FILE"
open_dialog
keys shift+Tab shift+Tab                         # back round to "OK"
keys space
deadline=$((SECONDS + 10))
until grep -q "Failed to set data for 'flag_clock'" "$WORK/stderr"; do
  [ $SECONDS -ge $deadline ] && fail "no error for the refused write: $(cat "$WORK/stderr")"
  sleep 0.1
done
saver_running || fail "the dialog closed although nothing was stored"
keys Return                                      # the error box
keys Tab space                                   # "Cancel"
wait_saver_end 15 || fail "Cancel did not close the dialog after the error"
cmp -s "$KEY_FILE" "$WORK/before.reg" || fail "the refused write changed the settings"
pass "a refused write is reported and keeps the dialog open"

echo quit >&"${KEEPER[1]}"
