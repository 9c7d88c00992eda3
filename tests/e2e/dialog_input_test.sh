# The settings dialog under hurried and hostile input, on a 1280x1024 desktop:
# a mouse release and OK waiting in the queue together, letters typed over
# the gull count, floods of keys into the boxes, the window destroyed by
# another program, the store overwritten while the dialog is open, and
# "Default Setting" against the first run's values.
source "$(dirname "$0")/dialog_lib.sh"

# The text of the box that has the focus, as the user would select it with
# the keys that type nothing (the clock's boxes refuse Ctrl+C): the first
# selection made of only the characters $1, once the dialog has caught up
# with the keys typed before. Prints it, or fails when none comes.
selected_text() {
  local deadline=$((SECONDS + 60)) text=""
  until [[ "$text" =~ ^[$1]+$ ]]; do
    [ $SECONDS -ge $deadline ] && fail "no text of [$1] could be selected in the box within a minute"
    xdotool key End shift+Home
    sleep 0.5
    text=$(xclip -selection primary -o 2>/dev/null || true)
  done
  echo "$text"
}

# Where the checked option of the "Video mode" group shows: the centre of
# the theme's blue within the group's column of options.
checked_video_mode() {
  screenshot_window "$WORK/modes.png"
  convert "$WORK/modes.png" -crop 60x200+20+180 +repage -fuzz 12% -fill black +opaque "rgb(67,141,230)" \
    -format "%@" info: | awk -F'[x+]' '{ print 20 + $3 + int($1 / 2), 180 + $4 + int($2 / 2) }'
}

open_dialog
first_latitude=$(stored RegLat)
[ "$(stored_number clockX)" -eq 1190 ] || fail "the first run's clock is not at 1190: $(stored clockX)"
keys Tab Tab Tab ctrl+Page_Down                  # the "Display" page, on its video mode
keys Up Up Up Up                                 # "800x600" with the keys: the clock stays
read -r x y <<<"$(checked_video_mode)"
# The program is held while the click on the option and OK wait in its
# queue, as when a busy machine lets them pile up.
kill -STOP "$SAVER_PID"
xdotool mousemove --window "$DIALOG" "$x" "$y" click 1
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space  # round to "OK"
kill -CONT "$SAVER_PID"
wait_saver_end 30 || fail "OK did not close the dialog"
expect_stored ResHor dword:00000320
[ "$(stored_number clockX)" -eq 710 ] || fail "the clock is stored at $(stored_number clockX), outside 90..710"
pass "a release on a video mode resets the clock before a queued OK stores it"

open_dialog
keys Tab Tab Tab Tab Tab Tab Tab                 # the gull count, its number selected
xdotool type --delay 120 "abc"
keys Tab Tab Tab Tab Tab Tab space               # past dolphins, yacht, the idle start's two boxes and "Default Setting" to "OK"
wait_saver_end 30 || fail "OK did not close the dialog"
expect_stored NumBirds dword:00000007
pass "letters typed over the gull count change nothing"

# Ends the open dialog the way another program may: by destroying its window.
destroy_dialog() {
  echo "destroy $DIALOG" >&"${KEEPER[1]}"
  read -r answer <&"${KEEPER[0]}"
  [ "$answer" = ok ] || fail "the window could not be destroyed"
  wait_saver_end 30 || fail "the dialog runs on without its window"
}

open_dialog
keys Tab Tab Tab ctrl+Page_Down ctrl+Page_Down Tab  # the city's box
xdotool type --delay 0 "$(printf 'Q%.0s' {1..10000})"
typed=$(selected_text Q)
[ "${#typed}" -le 51 ] || fail "the city's box took ${#typed} characters"
echo "the dialog used $(cpu_seconds) s of CPU for 10,000 keys in the city's box"
destroy_dialog

open_dialog
cp "$KEY_FILE" "$WORK/before.reg"
keys Tab Tab Tab ctrl+Page_Down ctrl+Page_Down ctrl+Page_Down Tab Tab  # the "Clock" page's X centre
xdotool type --delay 0 "$(printf '7%.0s' {1..3000})"
typed=$(selected_text 7)
[ "${#typed}" -le 5 ] || fail "the clock's box took ${#typed} characters"
echo "the dialog used $(cpu_seconds) s of CPU for 3,000 keys in a clock box"
pass "every box takes a bounded text"

# Another program destroys the dialog's window: that is Cancel.
destroy_dialog
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the window was destroyed"
cmp -s "$KEY_FILE" "$WORK/before.reg" || fail "the destroyed dialog stored: $(diff "$WORK/before.reg" "$KEY_FILE")"
pass "a window destroyed by another program ends the dialog as Cancel"

# Another program overwrites the store while the dialog is open.
open_dialog
printf '\x89PNG\x1a\x01 junk\n"NumBirds"=junk\n[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n"Kept"=dword:00000001\n' >"$WORK/junk.reg"
cp "$WORK/junk.reg" "$KEY_FILE"
keys shift+Tab shift+Tab space                   # "OK"
wait_saver_end 30 || fail "OK did not close the dialog"
[ "$(head -1 "$KEY_FILE")" = REGEDIT4 ] || fail "the store starts with \"$(head -1 "$KEY_FILE" | cat -v)\""
[ "$(grep -c '=' "$KEY_FILE")" -eq 27 ] || fail "not 26 values and the foreign one: $(cat -v "$KEY_FILE")"
grep -qx '\[HKEY_CURRENT_USER\\SOFTWARE\\Other\]' "$KEY_FILE" || fail "the foreign key is gone"
cmp -s "$WORK/junk.reg" "$KEY_FILE.damaged-1" || fail "the overwritten store is not kept whole beside it"
pass "OK over a store filled with junk writes a whole store, keeps the foreign key, and keeps the junk aside"

rm "$KEY_FILE"
open_dialog
keys shift+Tab shift+Tab shift+Tab space         # "Default Setting"
keys Tab space                                   # "OK"
wait_saver_end 30 || fail "OK did not close the dialog"
[ "$(stored RegLat)" = "$first_latitude" ] || fail "\"Default Setting\" stored $(stored RegLat), the first run $first_latitude"
pass "\"Default Setting\" stores the first run's latitude"

echo quit >&"${KEEPER[1]}"
