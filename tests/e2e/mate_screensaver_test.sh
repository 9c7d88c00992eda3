# The installed package under Debian's real MATE screensaver: chosen in the
# host's settings and activated, it covers the screen with the island;
# deactivated, the saver is gone. The host finds savers only
# where the package puts them, so the package is installed for the test.
source "$(dirname "$0")/lib.sh"

command -v mate-screensaver >/dev/null ||
  fail "mate-screensaver is not installed (scripts/setup.sh --test installs it)"
build_package
install_package || exit 0

# A session of the test's own: its home, display and bus, with the settings
# store and the accessibility bus left out of the way.
export HOME=$WORK/home XDG_CURRENT_DESKTOP=MATE NO_AT_BRIDGE=1 GTK_A11Y=none
mkdir -p "$HOME"
start_private_display 1024x768
start_session_bus

gsettings set org.mate.screensaver mode single
gsettings set org.mate.screensaver themes "['screensavers-tidereach']"
gsettings set org.mate.screensaver lock-enabled false
gsettings set org.mate.screensaver idle-activation-enabled false
[ "$(gsettings get org.mate.screensaver themes)" = "['screensavers-tidereach']" ] ||
  fail "the host's settings do not keep the choice: $(gsettings get org.mate.screensaver themes)"

mate-screensaver --no-daemon --debug >"$WORK/host.log" 2>&1 &
HOST_PID=$!
at_exit "kill $HOST_PID"
deadline=$((SECONDS + 20))
until mate-screensaver-command --query >/dev/null 2>&1; do
  [ $SECONDS -ge $deadline ] && fail "mate-screensaver did not start: $(tail -20 "$WORK/host.log")"
  sleep 0.2
done

mate-screensaver-command --activate >/dev/null
deadline=$((SECONDS + 20))
while :; do
  pid=$(pgrep -P "$HOST_PID" -x tidereach || true)
  [ -n "$pid" ] && screenshot "$WORK/screen.png" && shows_island "$WORK/screen.png" && break
  [ $SECONDS -ge $deadline ] &&
    fail "no island on the screen (saver pid '${pid:-}'): $(grep -v 'command output: ALSA' "$WORK/host.log" | tail -20)"
  sleep 0.3
done
pass "mate-screensaver runs the installed saver it was set to, and the screen shows the island"

mate-screensaver-command --deactivate >/dev/null
wait_process_end "$pid"
pass "deactivation ends the saver"
