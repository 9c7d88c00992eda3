# The saver full screen under Xvfb: it covers the screen with the scene, runs
# without an argument too, and ends on a key and on SIGTERM with exit code 0.
# How much of a processor it takes and how fast it ends are measured in
# bench/measure_screen.sh.
source "$(dirname "$0")/lib.sh"

start_saver /s
wait_saver_scene
pass "the saver covers the screen with the scene"

kill -TERM "$SAVER_PID"
wait_saver_end 20 || fail "SIGTERM did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "SIGTERM exit code $EXIT_CODE"
pass "SIGTERM ends the saver with exit code 0"

# No argument, as XScreenSaver starts a saver: the saver too.
start_saver
wait_saver_scene
xdotool key Escape
wait_saver_end 20 || fail "a key did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after a key"
pass "without an argument the saver runs, and a key ends it"
