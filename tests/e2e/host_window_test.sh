#!/usr/bin/env bash
# The saver inside a screensaver host's window: -window-id, $XSCREENSAVER_WINDOW
# and -root; following a resize; ending by signal and when the window goes.
source "$(dirname "$0")/lib.sh"

coproc HOST { "$XWINDOW_HELPER" 800 600; }
read -r window <&"${HOST[0]}"
host() { echo "$*" >&"${HOST[1]}"; read -r _ <&"${HOST[0]}"; }
host show

# Waits until the host's window holds the island: blue sky above, sand below
# and, where a region WxH+X+Y is given, a black bar there.
wait_island_in_window() {
  local deadline=$((SECONDS + 20)) sky sand bar=0
  while :; do
    host "dump $WORK/window.ppm"
    sky=$(convert "$WORK/window.ppm" -crop 60x20+"$1"+20 +repage -format "%[fx:mean.b-mean.r]" info:)
    sand=$(convert "$WORK/window.ppm" -gravity south -crop 30%x3%+0+2 +repage -format "%[fx:mean.r-mean.b]" info:)
    [ -z "${2:-}" ] || bar=$(mean_of "$WORK/window.ppm" "$2")
    float_gt "$sky" 0.15 && float_gt "$sand" 0.05 && float_lt "$bar" 0.01 && return 0
    [ $SECONDS -ge $deadline ] && fail "no island in the host's window (sky $sky, sand $sand, bar $bar)"
    saver_running || fail "the saver ended early: $(cat "$WORK/stderr")"
    sleep 0.3
  done
}

# Ends the saver the way hosts do and checks it is gone.
end_by_signal() {
  kill -TERM "$SAVER_PID"
  wait_saver_end 20 || fail "SIGTERM did not end the saver"
  [ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
}

start_saver -window-id "$window" --fps off
wait_island_in_window 300
[ "$(xdotool search --pid "$SAVER_PID" 2>/dev/null | wc -l)" -eq 0 ] || fail "the saver opened a window of its own"
pass "-window-id draws the island into the host's window"

# A wider window: the picture keeps its aspect, centred between black bars.
host resize 1000 400
wait_island_in_window 500 150x400+0+0
# A host's settings dialog shows a small preview.
host resize 320 240
wait_island_in_window 160
pass "the picture follows the window when it is resized"
end_by_signal
pass "SIGTERM ends the saver with exit code 0"

host resize 800 600
XSCREENSAVER_WINDOW=$window start_saver
wait_island_in_window 300
end_by_signal
XSCREENSAVER_WINDOW=$window start_saver -root --birds 0
wait_island_in_window 300
pass "\$XSCREENSAVER_WINDOW names the window, with or without -root"

# The host destroys its window without a signal: nothing is left behind.
echo quit >&"${HOST[1]}"
wait_saver_end 5 || fail "the saver outlived the host's window"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE when the window went: $(cat "$WORK/stderr")"
pass "the saver ends when the host's window goes"

set +e; "$TIDEREACH" -window-id 0x7ffffff0 2>"$WORK/out"; code=$?; set -e
[ $code -eq 0 ] && grep -q "no X window 0x7ffffff0" "$WORK/out" || fail "missing window: $code $(cat "$WORK/out")"
set +e; "$TIDEREACH" -window-id 12ab 2>"$WORK/out"; code=$?; set -e
[ $code -eq 2 ] && grep -q "window id" "$WORK/out" || fail "malformed window id: $code $(cat "$WORK/out")"
pass "a window that does not exist or a malformed id is reported"
