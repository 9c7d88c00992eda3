# The host switches and our own options, against the real binary.
source "$(dirname "$0")/lib.sh"

# /a shows a modal box; the user's Enter dismisses it.
start_saver /a 1234
press_in_box "Screen saver" Return
wait_saver_end 10 || fail "/a did not end after the box was dismissed"
[ "$EXIT_CODE" -eq 0 ] || fail "/a exit code $EXIT_CODE"
grep -q "Screen saver: MPR.DLL not found: cannot change password." "$WORK/stderr" || fail "/a message: $(cat "$WORK/stderr")"
pass "/a shows the missing-provider message and exits 0"

for argument in "" abc; do
  start_saver /p $argument
  press_in_box tidereach Return
  wait_saver_end 10 || fail "/p '$argument' did not end after its error box"
  [ "$EXIT_CODE" -eq 0 ] || fail "/p '$argument' exit code $EXIT_CODE"
  grep -q "'$argument' is not a valid integer value" "$WORK/stderr" || fail "/p '$argument' message: $(cat "$WORK/stderr")"
done
pass "/p with a missing or wrong window shows the conversion error and exits 0"

"$TIDEREACH" --help | grep -q -- "--snapshot" || fail "--help"
"$TIDEREACH" --version | grep -q "^tidereach " || fail "--version"
set +e; "$TIDEREACH" --bogus 2>"$WORK/out"; code=$?; set -e
[ $code -eq 2 ] && grep -q "unknown option --bogus" "$WORK/out" || fail "--bogus gave $code: $(cat "$WORK/out")"
pass "--help, --version, and a wrong option"

set +e; env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$TIDEREACH" /s 2>"$WORK/out"; code=$?; set -e
[ $code -eq 0 ] && grep -q "^Screen saver: Cannot open the display: ." "$WORK/out" &&
  [ "$(grep -ci "open the display" "$WORK/out")" -eq 1 ] && ! grep -qi "display: cannot open" "$WORK/out" ||
  fail "no display: $code $(cat "$WORK/out")"
pass "without a display the saver says so once and exits 0"

# Preview: the host's window is made hidden and shown a little later.
coproc HOST { "$XWINDOW_HELPER" 320 240; }
read -r window <&"${HOST[0]}"
start_saver /p "$window"
sleep 0.5
saver_running || fail "preview did not wait for the hidden window"
echo show >&"${HOST[1]}"; read -r _ <&"${HOST[0]}"
wait_saver_end 10 || fail "preview did not end after painting"
[ "$EXIT_CODE" -eq 0 ] || fail "preview exit code $EXIT_CODE"
echo "dump $WORK/preview.ppm" >&"${HOST[1]}"; read -r _ <&"${HOST[0]}"
painted=$(mean_of "$WORK/preview.ppm" 154x116+0+0)
outside=$(mean_of "$WORK/preview.ppm" 100x100+200+120)
float_gt "$painted" 0.05 || fail "nothing painted at (0,0): $painted"
float_lt "$outside" 0.01 || fail "the picture was scaled beyond 154x116: $outside"
pass "/p paints the preview picture unscaled into the host's window"
echo quit >&"${HOST[1]}"; wait "$HOST_PID" || true

start_saver /p 123456789
wait_saver_end 10 || fail "preview of a window that does not exist did not end"
[ "$EXIT_CODE" -eq 0 ] || fail "preview of a missing window: exit code $EXIT_CODE"
pass "/p of a window that does not exist ends"
