# tidereach --watch-idle under Debian's sway on its headless back end, which
# offers org_kde_kwin_idle (sway 1.7) or ext-idle-notify-v1: idle puts our
# window full screen with the keyboard focus in sway's tree, and a key ends
# it while the watcher stays. sway refuses to run for root, so as root the
# compositor and the programs of its session run as an ordinary user.
source "$(dirname "$0")/lib.sh"

for tool in sway swaymsg wtype; do
  command -v $tool >/dev/null || fail "$tool is not installed (scripts/setup.sh --test installs it)"
done
SESSION_USER=$(id -un)
[ "$(id -u)" -eq 0 ] && SESSION_USER=nobody
chmod 755 "$WORK"
export XDG_RUNTIME_DIR=$WORK/runtime HOME=$WORK/home
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
printf 'xwayland disable\noutput HEADLESS-1 resolution 1024x768\n' >"$HOME/sway.config"
chown -R "$SESSION_USER" "$XDG_RUNTIME_DIR" "$HOME" "$XDG_CONFIG_HOME"
as_user() {
  if [ "$SESSION_USER" = "$(id -un)" ]; then env -u DISPLAY "$@"
  else runuser -u "$SESSION_USER" -- env -u DISPLAY XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" HOME="$HOME" \
    XDG_CONFIG_HOME="$XDG_CONFIG_HOME" SDL_AUDIODRIVER=dummy "$@"; fi
}

# Each program in a process group of its own, which the test's end ends
# whole (runuser does not pass a signal on).
as_user_group() {
  setsid bash -c 'as_user "$@"' _ "$@" &
  at_exit "kill -- -$!"
}
export -f as_user
export SESSION_USER

as_user_group WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$HOME/sway.config" >"$WORK/sway.log" 2>&1
deadline=$((SECONDS + 20))
until [ -S "$XDG_RUNTIME_DIR/wayland-1" ] && ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock >/dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "sway did not start: $(tail -20 "$WORK/sway.log")"
  sleep 0.1
done
SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -1)
in_session() { as_user WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$SWAYSOCK" "$@"; }

# The seat's keyboard, since the headless back end has none: a virtual one
# that stays (its one key would come after the test). sway 1.7 gives a new
# window no keymap once the keyboard that typed last is gone, so a fresh
# one takes over after each key typed.
KEYBOARD_GROUP=""
new_keyboard() {
  [ -z "$KEYBOARD_GROUP" ] || kill -- -"$KEYBOARD_GROUP"
  as_user_group WAYLAND_DISPLAY=wayland-1 wtype -s 600000 a
  KEYBOARD_GROUP=$!
}
new_keyboard

as_user_group WAYLAND_DISPLAY=wayland-1 dbus-run-session -- "$TIDEREACH" --watch-idle --after 2 \
  >"$WORK/watcher.out" 2>"$WORK/watcher.err"
watcher_pid() { pgrep -u "$SESSION_USER" -f -- "^$TIDEREACH --watch-idle" || true; }
deadline=$((SECONDS + 20))
until [ -n "$(watcher_pid)" ]; do
  [ $SECONDS -ge $deadline ] && fail "the watcher did not start: $(cat "$WORK/watcher.err")"
  sleep 0.1
done

# Our window in sway's tree: "fullscreen focused", "window", or nothing.
our_window() {
  in_session swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def nodes(node):
    yield node
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from nodes(child)
state = ""
for node in nodes(json.load(sys.stdin)):
    if node.get("app_id") == "tidereach":
        state = "fullscreen focused" if node.get("fullscreen_mode") == 1 and node.get("focused") else "window"
print(state)'
}

wait_window() {
  local deadline=$((SECONDS + 30)) state=""
  until [ "$state" = "$1" ]; do
    [ $SECONDS -ge $deadline ] &&
      fail "our window in sway's tree is '$state', not '$1': $(cat "$WORK/watcher.err"; ps -u "$SESSION_USER" -o pid,ppid,stat,etime,args)"
    [ -n "$(watcher_pid)" ] || fail "the watcher ended: $(cat "$WORK/watcher.err")"
    sleep 0.2
    state=$(our_window)
  done
}

wait_window "fullscreen focused"
pass "idle under sway: our window is full screen in sway's tree, with the keyboard focus"

in_session wtype -k Escape
new_keyboard
wait_window ""
[ -n "$(watcher_pid)" ] || fail "the watcher ended with the saver: $(cat "$WORK/watcher.err")"
pass "a key ends the saver; the watcher still runs"

wait_window "fullscreen focused"
pass "the next idle spell under sway starts it again"

watcher=$(watcher_pid)
kill -TERM $watcher
deadline=$((SECONDS + 10))
while pgrep -u "$SESSION_USER" -f -- "^$TIDEREACH" >/dev/null; do
  [ $SECONDS -ge $deadline ] && fail "the watcher or its saver still runs after SIGTERM"
  sleep 0.1
done
pass "SIGTERM ends the watcher and its saver"
