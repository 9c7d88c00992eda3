# tidereach --watch-idle under Debian's mutter (--headless --wayland
# --virtual-monitor) on a session bus of the test's own: mutter's
# org.gnome.Mutter.IdleMonitor tells the idle time; while
# org.gnome.SessionManager reports idle inhibited nothing starts, and once
# released the saver starts full screen with the keyboard focus, taken from
# another program's window; a key through mutter's own
# org.gnome.Mutter.RemoteDesktop ends it, the pointer the next one; SIGTERM
# leaves nothing of ours. Then the same through mutter's XWayland, where SDL
# draws in a GNOME session that has it. No gnome-session runs headless here:
# a mock of its SessionManager holds the idle inhibitor as gnome-session
# would report it. Bare mutter has no window introspection on the bus (that
# is gnome-shell's), so its focus and window-ops log tells which window it
# made full screen and focused.
source "$(dirname "$0")/lib.sh"

for program in mutter Xwayland; do
  command -v $program >/dev/null || fail "$program is not installed (scripts/setup.sh --test installs it)"
done
PYTHON=/usr/bin/python3
"$PYTHON" -c 'import dbusmock' 2>/dev/null || fail "python3-dbusmock is not installed (scripts/setup.sh --test installs it)"
AFTER=2
start_session_bus
unset DISPLAY
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
MUTTER_DEBUG=focus,window-ops mutter --headless --wayland --virtual-monitor 1024x768 \
  --wayland-display=wayland-gnome >"$WORK/mutter.log" 2>&1 &
at_exit "kill $!"
monitor() {
  gdbus call --session --dest org.gnome.Mutter.IdleMonitor --object-path /org/gnome/Mutter/IdleMonitor/Core \
    --method org.gnome.Mutter.IdleMonitor."$1" 2>/dev/null
}
xwayland_display() { sed -n 's/.*Using public X11 display \(:[0-9]*\),.*/\1/p' "$WORK/mutter.log"; }
deadline=$((SECONDS + 30))
until [ -S "$XDG_RUNTIME_DIR/wayland-gnome" ] && monitor GetIdletime >/dev/null && [ -n "$(xwayland_display)" ]; do
  [ $SECONDS -ge $deadline ] && fail "mutter did not start: $(tail -20 "$WORK/mutter.log")"
  sleep 0.2
done
# Mutter's idle time in milliseconds.
idle_ms() { monitor GetIdletime | sed 's/^(uint64 \([0-9]*\),)$/\1/'; }

coproc REMOTE { "$PYTHON" "$(dirname "$0")/remote_desktop.py" 2>"$WORK/remote.err"; }
at_exit "kill $REMOTE_PID"
# Sends a command to the remote-desktop client; fails unless mutter took it.
remote() {
  local answer=""
  [ -z "${1:-}" ] || echo "$*" >&"${REMOTE[1]}"
  read -r -t 20 answer <&"${REMOTE[0]}" || true
  [ -n "$answer" ] || fail "mutter's RemoteDesktop did not take '$*': $(cat "$WORK/remote.err")"
}
remote

# The window mutter gave the keyboard focus last, and those it made full
# screen and raised on top: Wn for a Wayland window, its id for an X11 one.
focused_window() { sed -n 's/.*FOCUS: \* Focus --> \(W[0-9]*\|0x[0-9a-f]*\)$/\1/p' "$WORK/mutter.log" | tail -1; }
fullscreen_windows() {
  sed -n 's/.*WINDOW_OPS: Fullscreening \([^ ]*\)$/\1/p' "$WORK/mutter.log" | sort -u >"$WORK/fullscreen"
  sed -n 's/.*WINDOW_OPS: Raising window \([^ ]*\),.*/\1/p' "$WORK/mutter.log" | sort -u | comm -12 - "$WORK/fullscreen"
}

# Another program's window has the focus when the session goes idle. It
# ends on Esc alone (settings of its own), so that a key or move meant for
# the saver, still held or in flight as the saver ends and the focus comes
# back, cannot end it; the saver ends on any input, and is sent "q".
OTHER_CONFIG=$WORK/other-config
XDG_CONFIG_HOME=$OTHER_CONFIG "$TIDEREACH" --snapshot "$WORK/other.png" 2>/dev/null
sed -i 's/^"TermMouse"=dword:.*/"TermMouse"=dword:00000000/' "$OTHER_CONFIG/Corvane/Tidereach.reg"
XDG_CONFIG_HOME=$OTHER_CONFIG WAYLAND_DISPLAY=wayland-gnome "$TIDEREACH" --window >"$WORK/other.out" 2>&1 &
OTHER_PID=$!
at_exit "kill $OTHER_PID"
deadline=$((SECONDS + 30))
until [ -n "$(focused_window)" ]; do
  [ $SECONDS -ge $deadline ] && fail "the other program's window got no focus: $(cat "$WORK/other.out")"
  sleep 0.2
done
OTHER_WINDOW=$(focused_window)

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
pass "released, the idle session starts the saver under mutter"

# Waits until a new saver runs with its window, one mutter had not seen
# before, full screen with the keyboard focus.
SEEN_WINDOWS=$OTHER_WINDOW
wait_saver_focused() {
  local deadline=$((SECONDS + 30)) window=""
  until [ -n "$(saver_pid)" ]; do
    [ $SECONDS -ge $deadline ] && fail "no saver started: $(cat "$WORK/watcher.err")"
    process_running "$WATCHER_PID" || fail "the watcher ended: $(cat "$WORK/watcher.err")"
    sleep 0.2
  done
  SAVER_PID=$(saver_pid)
  until [ -n "$window" ] && [[ " $SEEN_WINDOWS " != *" $window "* ]] && fullscreen_windows | grep -qx "$window"; do
    [ $SECONDS -ge $deadline ] &&
      fail "no new full-screen window got the focus (focus on '$window'): $(cat "$WORK/watcher.err")"
    saver_running || fail "the saver ended early: $(cat "$WORK/watcher.err")"
    sleep 0.2
    window=$(focused_window)
  done
  SEEN_WINDOWS+=" $window"
}

# Waits until the saver is gone while the watcher and the other program's
# window stay.
wait_saver_gone() {
  wait_process_end "$SAVER_PID"
  SAVER_PID=""
  process_running "$WATCHER_PID" || fail "the watcher ended with the saver: $(cat "$WORK/watcher.err")"
  process_running "$OTHER_PID" || fail "the other program's window ended instead"
}

wait_saver_focused
pass "our window is full screen with the keyboard focus, taken from the focused window"

LETTER_Q=0x71
remote key $LETTER_Q
wait_saver_gone
pass "a key through mutter's RemoteDesktop reaches and ends the saver; the watcher still runs"

wait_saver_focused
# The saver takes the pointer's place from a first move (mutter may tell it
# only with the move that follows its window's mapping), so it moves to and
# fro until the saver ends.
deadline=$((SECONDS + 20)) step=40
while saver_running; do
  [ $SECONDS -ge $deadline ] && fail "the pointer through RemoteDesktop did not end the saver"
  remote move $step $step
  step=$((-step))
  sleep 0.3
done
wait_saver_gone
pass "the next idle spell starts it again, and the pointer through RemoteDesktop ends it"

wait_saver_focused

terminate_watcher "$WATCHER_PID" "$SAVER_PID"
SAVER_PID=""
pass "SIGTERM ends the watcher and its saver"

# Through XWayland: the watcher hands its session's DISPLAY on to the saver.
XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* | head -1) DISPLAY=$(xwayland_display) \
  WAYLAND_DISPLAY=wayland-gnome "$TIDEREACH" --watch-idle --after $AFTER >"$WORK/watcher.out" 2>"$WORK/watcher.err" &
WATCHER_PID=$!
at_exit "kill -9 $WATCHER_PID"
wait_saver_focused
[[ $(focused_window) == 0x* ]] || fail "the saver's window is no X11 window: $(focused_window)"
pass "through XWayland, too, our window is full screen with the keyboard focus"

remote key $LETTER_Q
wait_saver_gone
deadline=$((SECONDS + 30))
until [ -n "$(saver_pid)" ]; do
  [ $SECONDS -ge $deadline ] && fail "no saver started on the next idle spell: $(cat "$WORK/watcher.err")"
  sleep 0.2
done
terminate_watcher "$WATCHER_PID" "$(saver_pid)"
pass "a key through RemoteDesktop ends the XWayland saver; SIGTERM ends the watcher and the next one"
