# What ends the running saver, as a user meets it: in the keyboard-and-mouse
# style a key or a pointer move of more than 5 pixels, in the keyboard-only
# style Esc alone; a key held down as it starts ends nothing. Every ending
# leaves with exit code 0. How fast it ends is measured in
# bench/measure_screen.sh.
source "$(dirname "$0")/lib.sh"

# Gives the saver the input, then expects it gone.
expect_end_on() {
  "$@"
  wait_saver_end 20 || fail "$* did not end the saver"
  [ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after $*"
}

# Pointer moves of exactly 5 pixels, diagonally, from (x, y): $3 of them.
small_moves() {
  local x=$1 y=$2 moves=()
  for ((step = 1; step <= $3; step++)); do moves+=(mousemove $((x + 5 * step)) $((y + 5 * step))); done
  xdotool "${moves[@]}"
}

xdotool mousemove 400 300
start_saver /s
wait_saver_scene
[ "$(stored_number TermMouse)" -eq 1 ] || fail "the first run is not in the keyboard-and-mouse style"
xdotool mousemove 401 300  # the first position is only recorded
small_moves 401 300 40
stays_running 2 || fail "pointer moves of 5 pixels ended the saver"
pass "pointer moves of 5 pixels each, 200 in all, do not end the saver"
expect_end_on xdotool mousemove 607 500
pass "a pointer move of 6 pixels ends the saver"

start_saver /s
wait_saver_scene
expect_end_on xdotool key q
pass "a letter ends the keyboard-and-mouse style"

store_number TermMouse 0
start_saver /s
wait_saver_scene
xdotool mousemove 700 600 mousemove 200 100 mousemove 900 800
xdotool key --delay 50 a s d Return space
stays_running 2 || fail "the keyboard-only style ended on the pointer or a letter"
pass "the pointer and letters do nothing in the keyboard-only style"
expect_end_on xdotool key Escape
pass "Esc ends the keyboard-only style"

# A key still down from before the start (a host's hot key, say) repeats
# into the new window; the pointer rests away from where the window opens.
store_number TermMouse 1
xdotool mousemove 100 100
xdotool keydown a
start_saver /s
wait_saver_scene
sleep 1.5  # held on long enough to repeat into the window
xdotool keyup a
stays_running 3 || fail "a key held down as the saver started ended it: $(cat "$WORK/stderr")"
pass "a key held down at the start does not end the saver"
expect_end_on xdotool key q
pass "a key pressed after it was let go ends the saver"
