# tidereach --watch-idle under Debian's mutter (--headless --wayland
# --virtual-monitor) on a session bus of the test's own: mutter's
# org.gnome.Mutter.IdleMonitor tells the idle time; while
# org.gnome.SessionManager reports idle inhibited nothing starts, and once
# released the saver starts; SIGTERM leaves nothing of ours. No
# gnome-session runs headless here: a mock of its SessionManager holds the
# idle inhibitor as gnome-session would report it.
source "$(dirname "$0")/lib.sh"

command -v mutter >/dev/null || fail "mutter is not installed (scripts/setup.sh --test installs it)"
PYTHON=/usr/bin/python3
"$PYTHON" -c 'import dbusmock' 2>/dev/null || fail "python3-dbusmock is not installed (scripts/setup.sh --test installs it)"
AFTER=2
start_session_bus
unset DISPLAY
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
mutter --headless --wayland --no-x11 --virtual-monitor 1024x768 --wayland-display=wayland-gnome \
  >"$WORK/mutter.log" 2>&1 &
at_exit "kill $!"
monitor() {
  gdbus call --session --dest org.gnome.Mutter.IdleMonitor --object-path /org/gnome/Mutter/IdleMonitor/Core \
    --method org.gnome.Mutter.IdleMonitor."$1" 2>/dev/null
}
deadline=$((SECONDS + 30))
until [ -S "$XDG_RUNTIME_DIR/wayland-gnome" ] && monitor GetIdletime >/dev/null; do
  [ $SECONDS -ge $deadline ] && fail "mutter did not start: $(tail -20 "$WORK/mutter.log")"
  sleep 0.2
done
idle_ms() { monitor GetIdletime | tr -dc '0-9'; }

# gnome-session's SessionManager, as far as holding idle off goes.
"$PYTHON" -m dbusmock org.gnome.SessionManager /org/gnome/SessionManager org.gnome.SessionManager \
  >"$WORK/session-manager.log" 2>&1 &
at_exit "kill $!"
manager() { gdbus call --session --dest org.gnome.SessionManager --object-path /org/gnome/SessionManager "$@"; }
deadline=$((SECONDS + 20))
until manager --method org.freedesktop.DBus.Mock.AddMethod org.gnome.SessionManager IsInhibited u b \
  'ret = getattr(self, "holds", 0) > 0 and (args[0] & 8) != 0' >/dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "the SessionManager mock did not start: $(cat "$WORK/session-manager.log")"
  sleep 0.2
done
manager --method org.freedesktop.DBus.Mock.AddMethod org.gnome.SessionManager Inhibit susu u \
  'self.holds = getattr(self, "holds", 0) + 1; self.EmitSignal("org.gnome.SessionManager", "InhibitorAdded", "o", ["/org/gnome/SessionManager/Inhibitor1"]); ret = dbus.UInt32(1)' >/dev/null
manager --method org.freedesktop.DBus.Mock.AddMethod org.gnome.SessionManager Uninhibit u '' \
  'self.holds -= 1; self.EmitSignal("org.gnome.SessionManager", "InhibitorRemoved", "o", ["/org/gnome/SessionManager/Inhibitor1"])' >/dev/null
# A film plays: its player holds the session's idle off (flag 8).
manager --method org.gnome.SessionManager.Inhibit "Film player" 0 "Playing a film" 8 >/dev/null

WAYLAND_DISPLAY=wayland-gnome "$TIDEREACH" --watch-idle --after $AFTER >"$WORK/watcher.out" 2>"$WORK/watcher.err" &
WATCHER_PID=$!
at_exit "kill -9 $WATCHER_PID"
saver_pid() { pgrep -P "$WATCHER_PID" -f -- '/s$' || true; }

deadline=$((SECONDS + 30))
until [ "$(idle_ms)" -ge $(((AFTER + 3) * 1000)) ]; do
  [ $SECONDS -ge $deadline ] && fail "mutter's idle time did not grow"
  process_running "$WATCHER_PID" || fail "the watcher ended: $(cat "$WORK/watcher.err")"
  [ -z "$(saver_pid)" ] || fail "a saver started while the session's idle was inhibited"
  sleep 0.2
done
[ -z "$(saver_pid)" ] || fail "a saver started while the session's idle was inhibited"
pass "under mutter, nothing starts while org.gnome.SessionManager reports idle inhibited"

manager --method org.gnome.SessionManager.Uninhibit 1 >/dev/null
deadline=$((SECONDS + 30))
until [ -n "$(saver_pid)" ]; do
  [ $SECONDS -ge $deadline ] && fail "no saver started once the hold was released: $(cat "$WORK/watcher.err")"
  sleep 0.2
done
SAVER_PID=$(saver_pid)
stays_running 2 || fail "the saver did not stay: $(cat "$WORK/watcher.err")"
pass "released, the idle session starts the saver under mutter"

terminate_watcher "$WATCHER_PID" "$SAVER_PID"
SAVER_PID=""
pass "SIGTERM ends the watcher and its saver"
