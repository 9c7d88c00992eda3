# The saver full screen under Xvfb: it covers the screen, keeps to the
# screen's pace, runs without an argument too, and ends on a key and on
# SIGTERM with exit code 0.
source "$(dirname "$0")/lib.sh"

start_saver /s
wait_saver_window
sleep 3
screenshot "$WORK/running.png"
[ "$(colours_of "$WORK/running.png")" -gt 50 ] || fail "the screen shows no scene"
pass "the saver covers the screen with the scene"

before=$(cpu_seconds)
sleep 4
after=$(cpu_seconds)
share=$(awk -v a="$before" -v b="$after" 'BEGIN { printf "%.2f", (b - a) / 4 }')
echo "CPU share of one core while running: $share"
float_lt "$share" 0.9 || fail "the saver burns a core ($share): frames are not paced"
pass "frames are paced to the screen"

kill -TERM "$SAVER_PID"
wait_saver_end 2 || fail "SIGTERM did not end the saver within 2 s"
[ "$EXIT_CODE" -eq 0 ] || fail "SIGTERM exit code $EXIT_CODE"
pass "SIGTERM ends the saver with exit code 0"

# No argument, as XScreenSaver starts a saver: the saver too.
start_saver
wait_saver_window
sleep 1
xdotool key Escape
wait_saver_end 5 || fail "a key did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after a key"
pass "without an argument the saver runs, and a key ends it"
