# The settings dialog under Wine: /c opens it; Esc closes it and leaves the
# stored settings as they were; changes made with the keyboard are stored by
# Return; a write the registry refuses is reported and the dialog stays open.
source "$(dirname "$0")/lib.sh"

DIALOG="Tideway Islands Setup"
SETTINGS_KEY='SOFTWARE\Corvane\Tidereach'
trap 'wine "$KEY_ACCESS" "$SETTINGS_KEY" write >/dev/null 2>&1 || true; cleanup' EXIT

# The application's error box, titled with the application's title.
ERROR_BOX="Tideway Island Screensaver *"
dialog_is_open() { xdotool search --onlyvisible --name "^$DIALOG\$" >/dev/null 2>&1; }
error_box_is_open() { xdotool search --onlyvisible --name "^$ERROR_BOX\$" >/dev/null 2>&1; }

forget_settings
start_scr /c
dialog=$(wait_window "$DIALOG")
pass "/c opens \"$DIALOG\""
stored_values >"$WORK/first-run"
[ "$(wc -l <"$WORK/first-run")" -eq 26 ] || fail "the dialog's first run stored $(wc -l <"$WORK/first-run") values, not 26"

# Alt+P: "Play Sound"; three pages on, Alt+X: the clock's X centre.
keys_to "$dialog" alt+p ctrl+Tab ctrl+Tab ctrl+Tab alt+x 4 0 0 Escape
wait_scr_end 20 || fail "Esc did not close the dialog"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after Esc"
stored_values | diff "$WORK/first-run" - >&2 || fail "Esc changed the stored settings"
pass "Esc closes the dialog with exit code 0 and stores nothing"

sound=$(stored_number flag_PlaySound)
start_scr /c
dialog=$(wait_window "$DIALOG")
# Alt+U: the number of seagulls. Return leaves the X centre's box first.
keys_to "$dialog" alt+p alt+u 3 ctrl+Tab ctrl+Tab ctrl+Tab alt+x 4 0 0 Return
wait_scr_end 20 || fail "Return did not close the dialog"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after Return"
[ "$(stored_number flag_PlaySound)" -eq $((1 - sound)) ] || fail "\"Play Sound\" was not stored"
[ "$(stored_number NumBirds)" -eq 3 ] || fail "the number of seagulls is stored as $(stored_number NumBirds), not 3"
[ "$(stored_number clockX)" -eq 400 ] || fail "the clock's X centre is stored as $(stored_number clockX), not 400"
pass "changes made with the keyboard are stored by Return"

start_scr /c
dialog=$(wait_window "$DIALOG")
# The key turns read-only while the dialog is open: its OK is refused.
wine "$KEY_ACCESS" "$SETTINGS_KEY" read || fail "cannot make the settings key read-only"
keys_to "$dialog" alt+p Return
wait_window "$ERROR_BOX" 20 >/dev/null
screenshot "$SHOTS/refused-write.png"
answer_box "Tideway Island Screensaver" >/dev/null
deadline=$((SECONDS + 20))
while error_box_is_open; do
  [ $SECONDS -ge "$deadline" ] && fail "the error box does not close"
  sleep 0.2
done
stays_running 2 || fail "the dialog ended after a refused write"
dialog_is_open || fail "the dialog closed after a refused write"
[ "$(stored_number flag_PlaySound)" -eq $((1 - sound)) ] || fail "a refused write changed the stored settings"
pass "a refused write is reported and the dialog stays open"

wine "$KEY_ACCESS" "$SETTINGS_KEY" write || fail "cannot make the settings key writable again"
keys_to "$dialog" Return
wait_scr_end 20 || fail "OK did not close the dialog once the key was writable"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after OK"
[ "$(stored_number flag_PlaySound)" -eq "$sound" ] || fail "\"Play Sound\" was not stored by the second OK"
pass "OK stores the settings once the key takes them"
