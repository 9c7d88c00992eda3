# The host switches and our own options, against the real binary.
source "$(dirname "$0")/lib.sh"

"$TIDEREACH" /a 1234 >"$WORK/out" 2>&1 || fail "/a exit code $?"
grep -q "Screen saver: MPR.DLL not found: cannot change password." "$WORK/out" || fail "/a message: $(cat "$WORK/out")"
pass "/a shows the missing-provider message and exits 0"

"$TIDEREACH" /p >"$WORK/out" 2>&1 || fail "/p exit code $?"
grep -q "'' is not a valid integer value" "$WORK/out" || fail "/p message: $(cat "$WORK/out")"
"$TIDEREACH" /p abc >"$WORK/out" 2>&1 || fail "/p abc exit code $?"
grep -q "'abc' is not a valid integer value" "$WORK/out" || fail "/p abc message: $(cat "$WORK/out")"
pass "/p with a missing or wrong window shows the conversion error and exits 0"

"$TIDEREACH" --help | grep -q -- "--snapshot" || fail "--help"
"$TIDEREACH" --version | grep -q "^tidereach " || fail "--version"
set +e; "$TIDEREACH" --bogus 2>"$WORK/out"; code=$?; set -e
[ $code -eq 2 ] && grep -q "unknown option --bogus" "$WORK/out" || fail "--bogus gave $code: $(cat "$WORK/out")"
pass "--help, --version, and a wrong option"

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
