# The settings dialog under Wine while the message of a polar city shows: the
# message belongs to the dialog, so a click on the dialog's OK meanwhile does
# nothing, and the city's place is stored with its own position.
source "$(dirname "$0")/lib.sh"

DIALOG="Tideway Islands Setup"
MESSAGE="Tideway Island Screensaver"

# Runs a command with the program's clock on a date (the Wine server and the
# files keep theirs).
on_date() {
  FAKETIME="@$1 12:00:00" NO_FAKE_STAT=1 DONT_FAKE_MONOTONIC=1 \
    LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 "${@:2}"
}

# The control may be on a page the keys just turned to, shown once the
# dialog has taken them.
click_on() {
  local place deadline=$((SECONDS + 20))
  until place=$(wine "$CONTROL_AT" "$DIALOG" "$1" | tr -d '\r'); do
    [ $SECONDS -ge $deadline ] && fail "no control \"$1\" in the dialog"
    sleep 0.2
  done
  xdotool mousemove ${place} click 1
}

date=2027-06-21
city=$(on_date "$date" wine "$POLAR_CITY" | tr -d '\r') || fail "no city of the table is polar on $date"
read -r position _ <<<"$city"
forget_settings
on_date "$date" start_scr /c
wait_window "$DIALOG" >/dev/null
keys_to "$(wait_window "$DIALOG")" Escape
wait_scr_end 20 || fail "Esc did not close the dialog"
store_number IndexCity $((position - 1))
stored_values >"$WORK/before"

on_date "$date" start_scr /c
wait_window "$DIALOG" >/dev/null
keys_to "$(wait_window "$DIALOG")" ctrl+Tab ctrl+Tab  # the "Time of Day" page
click_on ComboBox
xdotool key Down                                     # the next city: the polar one
deadline=$((SECONDS + 30))
until xdotool search --onlyvisible --name "^$MESSAGE" >/dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "the polar city's message did not show"
  sleep 0.2
done
click_on OK
for event in sunrise sunset; do answer_box "$MESSAGE" >/dev/null || fail "no message for the $event"; done
stored_values | diff "$WORK/before" - >&2 || fail "OK was taken while the message showed"
wait_window "$DIALOG" 20 >/dev/null
pass "OK clicked while a polar city's message shows does nothing"

click_on OK
wait_scr_end 20 || fail "OK did not close the dialog"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after OK"
[ "$(stored_number IndexCity)" -eq "$position" ] || fail "IndexCity $(stored_number IndexCity), not $position"
pass "the polar city is stored with its own position"
