# The run-time keys and the keyboard-only style under Wine: the pointer and
# letters do nothing, '+' and '-' step the stored gamma level, the cursor keys
# move the clock and store its centre, and Esc ends the saver with exit code 0.
source "$(dirname "$0")/lib.sh"

# The dialog's first run writes every setting, as the saver's does.
forget_settings
start_scr /c
keys_to "$(wait_window "Tideway Islands Setup")" Escape
wait_scr_end 20 || fail "/c did not end on Esc"
[ "$(stored_values | wc -l)" -eq 26 ] || fail "the first run wrote $(stored_values | wc -l) values, not 26"

store_number TermMouse 0
store_number Gamma 200
store_number clockX 500
store_number clockY 300
xdotool mousemove 10 10
start_scr /s
wait_scene
scene=$(wait_window Corvane)
xdotool mousemove 700 600 sleep 0.2 mousemove 200 100 sleep 0.2 mousemove 900 800
keys_to "$scene" a s d Return space
stays_running 2 || fail "the keyboard-only style ended on the pointer or a letter"
pass "the pointer and letters do nothing in the keyboard-only style"

keys_to "$scene" Left Left Left Down Down
wait_stored clockX 497 && wait_stored clockY 302 ||
  fail "the clock's centre is stored as ($(stored_number clockX), $(stored_number clockY)), not (497, 302)"
pass "the cursor keys move the clock and store its centre at once"

keys_to "$scene" minus minus minus plus
wait_stored Gamma 198 || fail "the gamma level is stored as $(stored_number Gamma), not 198"
pass "'-' and '+' step the gamma level and store it at once"

keys_to "$scene" Escape
wait_scr_end 10 || fail "Esc did not end the keyboard-only style"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after Esc"
pass "Esc ends the keyboard-only style with exit code 0"
