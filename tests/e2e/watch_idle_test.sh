# tidereach --watch-idle on an X11 session without a screensaver host: an
# X server and session bus of the test's own, and logind's record of the
# session on a system bus of its own (a mock of logind, which needs systemd).
# Idle starts the island full screen, input ends it and the watcher waits
# for the next spell; a program holding org.freedesktop.ScreenSaver off, or
# a locked session, starts nothing; SIGTERM leaves nothing of ours running;
# beside XScreenSaver or mate-screensaver the watcher steps aside.
source "$(dirname "$0")/lib.sh"

IDLE_TIME=$(dirname "$XWINDOW_HELPER")/idle_time
PYTHON=/usr/bin/python3
INHIBITOR=$(dirname "$0")/screensaver_inhibitor.py
[ -x "$IDLE_TIME" ] || fail "no idle_time helper beside $XWINDOW_HELPER"
"$PYTHON" -c 'import dbus, dbusmock' 2>/dev/null ||
  fail "python3-dbus and python3-dbusmock are not installed (scripts/setup.sh --test installs them)"
AFTER=2

start_private_display 1024x768
start_session_bus
# The system bus, with logind's session c1 on it.
dbus-daemon --session --nofork --print-address=5 5>"$WORK/system-bus" 2>"$WORK/system-bus.log" &
at_exit "kill $!"
deadline=$((SECONDS + 20))
until [ -s "$WORK/system-bus" ]; do
  [ $SECONDS -ge $deadline ] && fail "dbus-daemon did not start: $(cat "$WORK/system-bus.log")"
  sleep 0.1
done
DBUS_SYSTEM_BUS_ADDRESS=$(head -1 "$WORK/system-bus")
export DBUS_SYSTEM_BUS_ADDRESS
"$PYTHON" -m dbusmock --system --template logind >"$WORK/logind.log" 2>&1 &
at_exit "kill $!"
login1() { gdbus call --system --dest org.freedesktop.login1 "$@" >/dev/null 2>&1; }
deadline=$((SECONDS + 20))
until login1 --object-path /org/freedesktop/login1 --method org.freedesktop.DBus.Mock.AddSession c1 seat0 0 \
  "$(id -un)" true; do
  [ $SECONDS -ge $deadline ] && fail "the logind mock did not start: $(cat "$WORK/logind.log")"
  sleep 0.2
done
export XDG_SESSION_ID=c1
set_locked() {
  login1 --object-path /org/freedesktop/login1/session/c1 --method org.freedesktop.login1.Session.SetLockedHint "$1" ||
    fail "logind's LockedHint could not be set"
}

"$TIDEREACH" --watch-idle --after $AFTER >"$WORK/watcher.out" 2>"$WORK/watcher.err" &
WATCHER_PID=$!
at_exit "kill -9 $WATCHER_PID"
watcher_running() { process_running "$WATCHER_PID"; }
saver_pid() { pgrep -P "$WATCHER_PID" -f -- '/s$' || true; }
idle_ms() { "$IDLE_TIME"; }

# Waits for a saver of the watcher that covers the screen with the island;
# sets SAVER_PID.
wait_island() {
  local deadline=$((SECONDS + 30))
  while :; do
    SAVER_PID=$(saver_pid)
    [ -n "$SAVER_PID" ] && screenshot "$WORK/screen.png" && shows_island "$WORK/screen.png" && return 0
    [ $SECONDS -ge $deadline ] && fail "no island on the screen $1 (saver '${SAVER_PID}'): $(cat "$WORK/watcher.err")"
    watcher_running || fail "the watcher ended: $(cat "$WORK/watcher.err")"
    sleep 0.2
  done
}

# Moves the pointer (the saver records the first position) until the saver
# is gone.
end_saver_by_pointer() {
  local saver=$SAVER_PID deadline=$((SECONDS + 15)) x=300
  SAVER_PID=""
  while process_running "$saver"; do
    [ $SECONDS -ge $deadline ] && fail "moving the pointer did not end the saver"
    xdotool mousemove $x 300 mousemove $((x + 50)) 350
    x=$((x == 300 ? 500 : 300))
    sleep 0.2
  done
}

# Shows that no saver starts though input has rested well past the watcher's
# time: waits until the server's idle time says so, then looks.
no_saver_while_idle() {
  local deadline=$((SECONDS + 30))
  until [ "$(idle_ms)" -ge $(((AFTER + 3) * 1000)) ]; do
    [ $SECONDS -ge $deadline ] && fail "input did not rest"
    [ -z "$(saver_pid)" ] || fail "a saver started $1"
    sleep 0.2
  done
  [ -z "$(saver_pid)" ] || fail "a saver started $1"
  watcher_running || fail "the watcher ended: $(cat "$WORK/watcher.err")"
}

wait_island "after the first idle spell"
pass "idle: the watcher starts the saver, and the island covers the screen"

end_saver_by_pointer
watcher_running || fail "the watcher ended with the saver: $(cat "$WORK/watcher.err")"
pass "the pointer moves: the saver is gone, the watcher still runs"

wait_island "after the second idle spell"
pass "a second idle spell starts the saver again"

set_locked true
deadline=$((SECONDS + 10))
while process_running "$SAVER_PID"; do
  [ $SECONDS -ge $deadline ] && fail "the saver still covers the locked session"
  sleep 0.1
done
SAVER_PID=""
no_saver_while_idle "on a locked session"
set_locked false
no_saver_while_idle "after unlocking, before any input"
pass "the session locks: the saver ends, and none starts while locked or until input returns"

xdotool mousemove 10 10
wait_island "after input and a new idle spell following the lock"
end_saver_by_pointer

# Starts a program that holds the screensaver off, as a film player does;
# sets HOLDER_PID and HOLDER_IN, where it reads its commands, and HOLDER_OUT.
holders=0
start_holder() {
  holders=$((holders + 1))
  local to=$WORK/holder$holders.in from=$WORK/holder$holders.out cookie
  mkfifo "$to" "$from"
  "$PYTHON" "$INHIBITOR" <"$to" >"$from" 2>"$WORK/holder.err" &
  HOLDER_PID=$!
  at_exit "kill -9 $HOLDER_PID"
  exec {HOLDER_IN}>"$to" {HOLDER_OUT}<"$from"
  read -r -t 20 cookie <&$HOLDER_OUT || fail "Inhibit did not answer: $(cat "$WORK/holder.err")"
  [ "$cookie" -gt 0 ] || fail "Inhibit answered the cookie '$cookie'"
}

# The watcher offers the service once it has the name.
deadline=$((SECONDS + 20))
until gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.NameHasOwner org.freedesktop.ScreenSaver 2>/dev/null | grep -q true; do
  [ $SECONDS -ge $deadline ] && fail "the watcher does not own org.freedesktop.ScreenSaver"
  sleep 0.2
done

start_holder
no_saver_while_idle "while a program held the screensaver off"
echo release >&$HOLDER_IN
read -r -t 20 answer <&$HOLDER_OUT && [ "$answer" = released ] || fail "UnInhibit did not answer"
wait_island "after the hold was released"
pass "Inhibit holds the saver off; UnInhibit lets it start"
end_saver_by_pointer

start_holder
no_saver_while_idle "while a second program held the screensaver off"
kill -9 $HOLDER_PID
wait_island "after the program holding it off left the bus"
pass "a program that leaves the bus lets go of its hold"

terminate_watcher "$WATCHER_PID" "$SAVER_PID"
set +e; wait "$WATCHER_PID"; code=$?; set -e
[ $code -eq 0 ] || fail "the watcher ended with exit code $code on SIGTERM: $(cat "$WORK/watcher.err")"
left=$(pgrep -f "^$TIDEREACH" || true)
[ -z "$left" ] || fail "left running after SIGTERM: $(ps -o pid,args -p "$left")"
SAVER_PID=""
pass "SIGTERM ends the watcher and its saver, and nothing of ours is left"

# XScreenSaver on the same display: it runs the saver itself. It refuses
# to run for root, so as root it runs as an ordinary user.
command -v xscreensaver >/dev/null || fail "xscreensaver is not installed (scripts/setup.sh --test installs it)"
HOST_USER=$(id -un)
[ "$(id -u)" -eq 0 ] && HOST_USER=nobody
HOST_HOME=$WORK/home
mkdir -p "$HOST_HOME"
chmod 755 "$WORK"
printf 'mode:\t\tblank\ntimeout:\t0:30:00\nlock:\t\tFalse\nfade:\t\tFalse\nunfade:\t\tFalse\nsplash:\t\tFalse\ndpmsEnabled:\tFalse\n' \
  >"$HOST_HOME/.xscreensaver"
chown -R "$HOST_USER" "$HOST_HOME"
as_host() {
  local environment=(HOME="$HOST_HOME" XDG_CONFIG_HOME="$HOST_HOME/.config" DISPLAY="$DISPLAY")
  if [ "$HOST_USER" = "$(id -un)" ]; then env "${environment[@]}" "$@"
  else runuser -u "$HOST_USER" -- env "${environment[@]}" "$@"; fi
}
as_host xscreensaver -no-splash -verbose >"$WORK/host.log" 2>&1 &
at_exit "as_host xscreensaver-command -exit"
deadline=$((SECONDS + 20))
until as_host xscreensaver-command -time >/dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "xscreensaver did not start: $(tail -20 "$WORK/host.log")"
  sleep 0.2
done
"$TIDEREACH" --watch-idle --after $AFTER >"$WORK/watcher.out" 2>"$WORK/watcher.err" &
WATCHER_PID=$!
deadline=$((SECONDS + 20))
while process_running "$WATCHER_PID"; do
  [ $SECONDS -ge $deadline ] && fail "beside XScreenSaver the watcher still runs"
  sleep 0.1
done
set +e; wait "$WATCHER_PID"; code=$?; set -e
[ $code -eq 0 ] || fail "beside XScreenSaver the watcher ended with exit code $code: $(cat "$WORK/watcher.err")"
grep -q "XScreenSaver runs the screensavers of this session" "$WORK/watcher.err" ||
  fail "the watcher did not say why it ends: $(cat "$WORK/watcher.err")"
pass "beside XScreenSaver the watcher says so and ends with exit code 0"


# mate-screensaver, which announces itself on the session bus.
command -v mate-screensaver >/dev/null ||
  fail "mate-screensaver is not installed (scripts/setup.sh --test installs it)"
as_host xscreensaver-command -exit >/dev/null 2>&1
deadline=$((SECONDS + 20))
while as_host xscreensaver-command -time >/dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "xscreensaver did not end"
  sleep 0.2
done
XDG_CONFIG_HOME=$WORK/mate mate-screensaver --no-daemon >"$WORK/mate.log" 2>&1 &
at_exit "kill $!"
deadline=$((SECONDS + 20))
until gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.NameHasOwner org.mate.ScreenSaver 2>/dev/null | grep -q true; do
  [ $SECONDS -ge $deadline ] && fail "mate-screensaver did not start: $(tail -20 "$WORK/mate.log")"
  sleep 0.2
done
set +e; timeout 20 "$TIDEREACH" --watch-idle --after $AFTER 2>"$WORK/watcher.err"; code=$?; set -e
[ $code -eq 0 ] && grep -q "mate-screensaver runs the screensavers of this session" "$WORK/watcher.err" ||
  fail "beside mate-screensaver the watcher ended with exit code $code: $(cat "$WORK/watcher.err")"
pass "beside mate-screensaver the watcher says so and ends with exit code 0"
