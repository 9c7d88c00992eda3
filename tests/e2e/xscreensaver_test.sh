# The installed hack under Debian's real XScreenSaver: activated, it covers
# the screen with the island; deactivated, the saver is gone.
# XScreenSaver refuses to run savers for root, so as root the host runs as an
# ordinary user on a display of its own.
source "$(dirname "$0")/lib.sh"

command -v xscreensaver >/dev/null || fail "xscreensaver is not installed (scripts/setup.sh --test installs it)"
BUILD_DIR=$(dirname "$TIDEREACH")
chmod 755 "$WORK"
cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >"$WORK/install.log" 2>&1 ||
  fail "cmake --install: $(tail -5 "$WORK/install.log")"
HACK=$WORK/prefix/libexec/xscreensaver/tidereach
[ -x "$HACK" ] || fail "no hack installed at $HACK"

HOST_USER=$(id -un)
[ "$(id -u)" -eq 0 ] && HOST_USER=nobody
as_host() {
  if [ "$HOST_USER" = "$(id -un)" ]; then env "$@"
  else runuser -u "$HOST_USER" -- env "$@"; fi
}

start_private_display 1024x768

HOST_HOME=$WORK/home
mkdir -p "$HOST_HOME"
cat >"$HOST_HOME/.xscreensaver" <<CONFIG
mode:		one
selected:	0
timeout:	0:30:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
programs:	"Tideway Islands"  $HACK --fps off	\n
CONFIG
chown -R "$HOST_USER" "$HOST_HOME"
HOST_ENV=(HOME="$HOST_HOME" DISPLAY="$DISPLAY" XDG_CONFIG_HOME="$HOST_HOME/.config" SDL_AUDIODRIVER=dummy)

stop_host() {
  as_host "${HOST_ENV[@]}" xscreensaver-command -exit
  pkill -u "$HOST_USER" -f "$HACK"
}
at_exit stop_host

as_host "${HOST_ENV[@]}" xscreensaver -no-splash -verbose >"$WORK/host.log" 2>&1 &
deadline=$((SECONDS + 20))
until as_host "${HOST_ENV[@]}" xscreensaver-command -time >/dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "xscreensaver did not start: $(tail -20 "$WORK/host.log")"
  sleep 0.2
done

as_host "${HOST_ENV[@]}" xscreensaver-command -activate >/dev/null
hack_pid() { pgrep -u "$HOST_USER" -f "^$HACK" | head -1 || true; }
deadline=$((SECONDS + 20))
while :; do
  pid=$(hack_pid)
  [ -n "$pid" ] && screenshot "$WORK/screen.png" && shows_island "$WORK/screen.png" && break
  [ $SECONDS -ge $deadline ] && fail "no island on the screen (hack pid '${pid:-}'): $(tail -20 "$WORK/host.log")"
  sleep 0.3
done
pass "XScreenSaver runs the installed hack and the screen shows the island"

as_host "${HOST_ENV[@]}" xscreensaver-command -deactivate >/dev/null
wait_process_end "$pid"
pass "deactivation ends the saver"
