# The saver in a window of a Wayland desktop with no X server for it: Debian's
# weston, drawing its desktop into a window of the test's X server (its
# headless back end offers no seat, which SDL 2.26 does not survive), shows
# the island in a window, and a key ends it.
source "$(dirname "$0")/lib.sh"

command -v weston >/dev/null || fail "weston is not installed (scripts/setup.sh --test installs it)"
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=tidereach-test
# Placed at the screen's top left, the desktop is what the screenshots show.
weston --no-config --backend=x11-backend.so --use-pixman --socket="$socket" --width=1280 --height=720 \
  --idle-time=0 >"$WORK/weston.log" 2>&1 &
at_exit "kill $!"
deadline=$((SECONDS + 20))
until [ -S "$XDG_RUNTIME_DIR/$socket" ]; do
  [ $SECONDS -ge $deadline ] && fail "weston did not start: $(tail -20 "$WORK/weston.log")"
  sleep 0.1
done
# The pointer rests on the desktop before the saver starts, so that the
# key goes to it and no movement ends it.
xdotool mousemove 640 700

env -u DISPLAY WAYLAND_DISPLAY="$socket" "$TIDEREACH" --window >"$WORK/stdout" 2>"$WORK/stderr" &
SAVER_PID=$!
deadline=$((SECONDS + 20))
while :; do
  screenshot "$WORK/desktop.png"
  sky=$(convert "$WORK/desktop.png" -crop 200x60+540+150 +repage -format "%[fx:mean.b-mean.r]" info:)
  scene=$(convert "$WORK/desktop.png" -crop 600x200+340+380 +repage -format "%k" info:)
  float_gt "$sky" 0.15 && [ "$scene" -gt 50 ] && break
  [ $SECONDS -ge $deadline ] && fail "no island on the desktop (sky $sky, $scene colours): $(cat "$WORK/stderr")"
  saver_running || fail "the saver ended early: $(cat "$WORK/stderr")"
  sleep 0.3
done
# Below the window, the desktop's own grey background.
border=$(convert "$WORK/desktop.png" -crop 1280x10+0+705 +repage -format "%[fx:abs(mean.b-mean.r)]" info:)
float_lt "$border" 0.05 || fail "the saver covers the whole desktop instead of a window"
pass "on Wayland the saver shows the island in a window"

xdotool key a
wait_saver_end 3 || fail "a key did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "the saver ended with exit code $EXIT_CODE: $(cat "$WORK/stderr")"
pass "a key ends it"
