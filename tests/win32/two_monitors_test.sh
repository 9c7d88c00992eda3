# Two monitors side by side: the island covers the primary, the other one is
# black for the saver's life, and the desktop shows on both again after a key
# and after an ending from outside. The monitors are the heads of a nested X
# server's Xinerama; its RandR, which would tell Wine of a single output, is
# left out.
source "$(dirname "$0")/lib.sh"

MONITOR=640x480
# The Wine server of the prefix answers for one X display: it goes now and
# when the test ends, so that the test's programs and the next test's start
# one on their own display.
wineserver -k 2>/dev/null || true
wineserver -w
Xephyr -displayfd 3 -screen "$MONITOR" -origin 640,0 -screen "$MONITOR" +xinerama -extension RANDR \
  -ac -noreset 3>"$WORK/display" >"$WORK/xephyr.log" 2>&1 &
XEPHYR_PID=$!
trap 'wineserver -k 2>/dev/null || true; kill "$XEPHYR_PID" 2>/dev/null || true; cleanup' EXIT
deadline=$((SECONDS + 20))
until [ -s "$WORK/display" ]; do
  [ $SECONDS -ge $deadline ] && fail "the nested X server did not start: $(cat "$WORK/xephyr.log")"
  sleep 0.1
done
export DISPLAY=":$(head -1 "$WORK/display")"
# The desktop in a colour of its own, to tell it from the cover's black.
xsetroot -solid '#c04040'

PRIMARY=640x480+0+0 OTHER=640x480+640+0
# Mean of each channel of a region of a picture: "r g b".
region_rgb() {
  local channel
  for channel in r g b; do printf '%s ' "$(channel_mean "$1" "$channel" "$2")"; done
}
is_desktop() { local r g b; read -r r g b < <(region_rgb "$1" "$2"); float_lt 0.6 "$r" && float_lt "$g" 0.4 && float_lt "$b" 0.4; }
is_black() { local r g b; read -r r g b < <(region_rgb "$1" "$2"); float_lt "$r" 0.02 && float_lt "$g" 0.02 && float_lt "$b" 0.02; }

# Waits up to ten seconds for both monitors to show the desktop.
wait_desktop_on_both() {
  local deadline=$((SECONDS + 10))
  until screenshot "$SHOTS/two-monitors-after.png" && is_desktop "$SHOTS/two-monitors-after.png" "$PRIMARY" &&
    is_desktop "$SHOTS/two-monitors-after.png" "$OTHER"; do
    [ $SECONDS -ge $deadline ] && fail "after $1 the desktop does not show on both monitors"
    sleep 0.3
  done
}

covers_the_two() {
  start_scr /s
  wait_scene
  local deadline=$((SECONDS + 20))
  until screenshot "$SHOTS/two-monitors.png" && is_black "$SHOTS/two-monitors.png" "$OTHER" &&
    [ "$(convert "$SHOTS/two-monitors.png" -crop "$PRIMARY" +repage -format %k info:)" -gt 1000 ]; do
    [ $SECONDS -ge $deadline ] &&
      fail "the island is not on the primary monitor with the other one black (other: $(region_rgb "$SHOTS/two-monitors.png" "$OTHER"))"
    sleep 0.5
  done
}

screenshot "$WORK/desktop.png"
is_desktop "$WORK/desktop.png" "$OTHER" || fail "the nested desktop does not show its colour"

forget_settings
covers_the_two
pass "the island covers the primary monitor and the other one is black"
keys_to "$(wait_window Corvane)" q
wait_scr_end 10 || fail "a key did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after a key"
wait_desktop_on_both "a key"
pass "after a key the desktop shows on both monitors again"

covers_the_two
wine "$END_SAVER" Corvane close || fail "no saver window to close"
wait_scr_end 10 || fail "WM_CLOSE did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after WM_CLOSE"
wait_desktop_on_both "WM_CLOSE"
pass "after WM_CLOSE the desktop shows on both monitors again"
