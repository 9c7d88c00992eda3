# The installed hack under Debian's real XScreenSaver: activated, it covers
# the screen with the island; deactivated, the saver is gone within a second.
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

# A display without access control, so that the host's user may use it.
Xvfb -displayfd 5 -screen 0 1024x768x24 -ac -nolisten tcp 5>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
DISPLAY=:$(cat "$WORK/display")
export DISPLAY

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
  as_host "${HOST_ENV[@]}" xscreensaver-command -exit >/dev/null 2>&1 || true
  kill "$XVFB_PID" 2>/dev/null || true
  pkill -u "$HOST_USER" -f "$HACK" 2>/dev/null || true
}
trap 'stop_host; cleanup' EXIT

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
  if [ -n "$pid" ]; then
    screenshot "$WORK/screen.png"
    sky=$(convert "$WORK/screen.png" -crop 100x30+450+20 +repage -format "%[fx:mean.b-mean.r]" info:)
    sand=$(convert "$WORK/screen.png" -gravity south -crop 30%x3%+0+2 +repage -format "%[fx:mean.r-mean.b]" info:)
    float_gt "$sky" 0.15 && float_gt "$sand" 0.05 && break
  fi
  [ $SECONDS -ge $deadline ] &&
    fail "no island on the screen (hack pid '${pid:-}', sky ${sky:-}, sand ${sand:-}): $(tail -20 "$WORK/host.log")"
  sleep 0.3
done
pass "XScreenSaver runs the installed hack and the screen shows the island"

as_host "${HOST_ENV[@]}" xscreensaver-command -deactivate >/dev/null
# Ended means exited: the host may not have reaped it yet.
running() { case $(ps -o stat= -p "$1") in "" | Z*) return 1 ;; esac; }
deadline=$(($(now_us) + 1000000))
while running "$pid"; do
  [ "$(now_us)" -ge $deadline ] && fail "the hack still runs a second after deactivation: $(ps -o pid,ppid,stat,etime,args -p "$pid" | tail -1)"
  sleep 0.05
done
pass "deactivation ends the saver within a second"
