# The settings dialog's messages under Wine: a display that offers no
# DirectDraw object is told once for each of the two probes, which run once
# the dialog is on the screen; a city in polar day or night is told once for
# its sunrise and once for its sunset before the dialog opens, in polar day
# and in polar night.
source "$(dirname "$0")/lib.sh"

DIALOG="Tideway Islands Setup"

# Waits for the dialog, closes it with Esc and expects exit code 0.
close_dialog() {
  keys_to "$(wait_window "$DIALOG")" Escape
  wait_scr_end 20 || fail "Esc did not close the dialog"
  [ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after Esc"
}

forget_settings
start_scr /c
close_dialog

# A system whose DirectDraw makes no display object.
double_in_system32 "$UNAVAILABLE_DDRAW"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;ddraw=n" start_scr /c
# The probes' messages would keep a dialog that waited for them off the screen.
wait_window "$DIALOG" >/dev/null
for probe in modes gamma; do
  said=$(answer_box "Screen saver")
  [ "$said" = "DirectDraw Init FAILED" ] || fail "the $probe probe said \"$said\""
done
close_dialog
pass "a display without DirectDraw is told twice, over the dialog already open"

# Polar day and polar night, on dates of their seasons: the program's clock
# is moved there (only the program's; the Wine server and the files keep
# theirs), and the city is one the table's own calculation finds polar then.
on_date() {
  FAKETIME="@$1 12:00:00" NO_FAKE_STAT=1 DONT_FAKE_MONOTONIC=1 \
    LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 "${@:2}"
}
for date in 2027-06-21 2027-12-21; do
  city=$(on_date "$date" wine "$POLAR_CITY" | tr -d '\r') || fail "no city of the table is polar on $date"
  read -r position never <<<"$city"
  store_number IndexCity "$position"
  on_date "$date" start_scr /c
  for event in sunrise sunset; do
    said=$(answer_box "Tideway Island Screensaver")
    [ "$said" = "the sun never $never on this location (on the specified date)" ] ||
      fail "the $event of city $position on $date said \"$said\""
  done
  close_dialog
  pass "on $date city $position is told twice: the sun never $never"
done
