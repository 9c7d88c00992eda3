# Every ending of the saver under Wine is the one closing of a key: a key,
# Task Manager's End task (WM_CLOSE), the session ending (WM_ENDSESSION), the
# screen given to another program (WM_ACTIVATEAPP), and a display error each
# end the program with exit code 0 and the system told that no saver runs any
# more (Wine's trace of SystemParametersInfo). Only the display error shows a
# box: every other ending ends by itself, which a box would hold up.
source "$(dirname "$0")/lib.sh"

# The screensaver-running flag as the program set it, in order: 1 and 0.
running_flags() {
  tr -d '\r' <"$WORK/stderr" | sed -n 's/.*:SystemParametersInfoA (97, \([01]\),.*/\1/p' | tr '\n' ' '
}

# Starts the saver with the system calls traced and waits for the island.
start_traced_saver() {
  WINEDEBUG=-all,+system start_scr /s
  wait_scene
}

# After the ending $1: exit code 0 and the flag cleared after it was set.
check_ended() {
  wait_scr_end 20 || fail "the saver did not end on $1"
  [ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after $1"
  [ "$(running_flags)" = "1 0 " ] || fail "after $1 the running flag went: $(running_flags)"
  pass "$1 ends the saver by itself with exit code 0 and the running flag cleared"
}

forget_settings
start_traced_saver
keys_to "$(wait_window Corvane)" q
check_ended "a key"

start_traced_saver
wine "$END_SAVER" Corvane close || fail "no saver window to close"
check_ended "WM_CLOSE"

start_traced_saver
wine "$END_SAVER" Corvane endsession || fail "no saver window for the session's end"
check_ended "WM_ENDSESSION"

start_traced_saver
wine "$END_SAVER" Corvane deactivate &
check_ended "WM_ACTIVATEAPP"
wait

# A display mode that no display has: the device's error, told in one box.
store_number flag_defres 0
store_number ResHor 1001
store_number ResVert 701
WINEDEBUG=-all,+system start_scr /s
said=$(answer_box ERROR)
[ "$said" = "Error SetDisplayMode" ] || fail "the display error said \"$said\""
wait_scr_end 20 || fail "the saver did not end after its display error"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after the display error"
[ "$(running_flags)" = "0 " ] || fail "after the display error the running flag went: $(running_flags)"
pass "a mode no display has is told in one ERROR box, then exit code 0 with the running flag cleared"
