# Shared steps of the end-to-end tests: a private settings folder, starting
# and ending the real binary, screenshots and their colours.
set -euo pipefail

TIDEREACH=${1:?path of the tidereach binary}
XWINDOW_HELPER=${2:?path of xwindow_helper}
WORK=$(mktemp -d)
export XDG_CONFIG_HOME="$WORK/config"
export SDL_AUDIODRIVER=dummy
SAVER_PID=""
EXIT_STEPS=()

# Runs a command as the test ends, before the ones registered earlier.
at_exit() { EXIT_STEPS=("$*" "${EXIT_STEPS[@]}"); }

cleanup() {
  [ -n "$SAVER_PID" ] && kill -9 "$SAVER_PID" 2>/dev/null || true
  local step
  for step in "${EXIT_STEPS[@]}"; do eval "$step" >/dev/null 2>&1 || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

# Starts the binary in the background with the given arguments.
start_saver() {
  "$TIDEREACH" "$@" >"$WORK/stdout" 2>"$WORK/stderr" &
  SAVER_PID=$!
}

# Microseconds since the epoch.
now_us() { echo "${EPOCHREALTIME/./}"; }

# Waits up to $1 seconds (whole) for the saver to end; sets EXIT_CODE.
wait_saver_end() {
  local deadline=$(($(now_us) + $1 * 1000000))
  while kill -0 "$SAVER_PID" 2>/dev/null; do
    [ "$(now_us)" -ge $deadline ] && return 1
    sleep 0.05
  done
  set +e; wait "$SAVER_PID"; EXIT_CODE=$?; set -e
  SAVER_PID=""
}

saver_running() { [ -n "$SAVER_PID" ] && kill -0 "$SAVER_PID" 2>/dev/null; }

# Waits until a window of the saver is mapped.
wait_saver_window() {
  local deadline=$((SECONDS + ${1:-20}))
  until xdotool search --sync --onlyvisible --pid "$SAVER_PID" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && fail "no saver window appeared"
    saver_running || fail "the saver ended early: $(cat "$WORK/stderr")"
    sleep 0.2
  done
}

screenshot() { import -window root "$1"; }

# Waits until the screen shows the scene: the saver's window is up for good
# (it may map, unmap and map again on the way to full screen) and its
# message loop runs, so input reaches it.
wait_saver_scene() {
  wait_saver_window
  local deadline=$((SECONDS + 20))
  until screenshot "$WORK/scene.png" && [ "$(colours_of "$WORK/scene.png")" -gt 50 ]; do
    [ $SECONDS -ge $deadline ] && fail "the saver shows no scene"
    saver_running || fail "the saver ended early: $(cat "$WORK/stderr")"
    sleep 0.2
  done
}

# Mean brightness 0..1 of a picture (or of a region WxH+X+Y of it).
mean_of() {
  local region=${2:-}
  if [ -n "$region" ]; then convert "$1" -crop "$region" +repage -colorspace Gray -format "%[fx:mean]" info:
  else convert "$1" -colorspace Gray -format "%[fx:mean]" info:; fi
}

# Number of distinct colours of a picture.
colours_of() { convert "$1" -format "%k" info:; }

float_lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
float_gt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Presses a key in the saver's message box, found by its caption: the box
# may come from a process of its own and map well after the saver's own
# (hidden) windows, so it is waited for, mapped and given the keyboard first.
press_in_box() {  # CAPTION KEY
  local box="" deadline=$((SECONDS + 20))
  until box=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$box" ]; do
    [ $SECONDS -ge $deadline ] && fail "no box \"$1\" appeared to press $2 in: $(cat "$WORK/stderr")"
    saver_running || fail "the saver ended before its box \"$1\" appeared: $(cat "$WORK/stderr")"
    sleep 0.1
  done
  # A box mapped a moment ago may not take keys yet: press again while it stays.
  while :; do
    xdotool windowfocus --sync "$box" 2>/dev/null || true
    xdotool key "$2"
    for _ in $(seq 20); do
      xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
      sleep 0.1
    done
    [ $SECONDS -ge $deadline ] && fail "the box \"$1\" stayed after $2"
  done
}

# Fails if a box of this caption is still on screen five seconds on.
expect_no_box() {  # CAPTION WHY
  local deadline=$((SECONDS + 5))
  while xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && fail "$2"
    sleep 0.1
  done
}

# The settings store, a text file a person can edit.
STORE="$XDG_CONFIG_HOME/Corvane/Tidereach.reg"

# A 32-bit value of the store, in decimal.
stored_number() {
  local hex
  hex=$(sed -n "s/^\"$1\"=dword:\([0-9a-f]\{8\}\)$/\1/p" "$STORE")
  [ -n "$hex" ] || fail "$1 is not in the store"
  echo $((16#$hex))
}

# Changes a 32-bit value of the store, as a person editing the file would.
store_number() {
  grep -q "^\"$1\"=dword:" "$STORE" || fail "$1 is not in the store"
  sed -i "s/^\"$1\"=dword:[0-9a-f]\{8\}$/\"$1\"=dword:$(printf %08x "$2")/" "$STORE"
}

# True when the saver is still running after $1 seconds.
stays_running() {
  local tenths
  for ((tenths = 0; tenths < $1 * 10; tenths++)); do
    saver_running || return 1
    sleep 0.1
  done
  saver_running
}

# True while a process has not exited (a zombie its parent has not reaped
# yet has exited).
process_running() { case $(ps -o stat= -p "$1") in "" | Z*) return 1 ;; esac; }

# Fails unless process $1 exits, within a bound generous for a loaded machine.
wait_process_end() {
  local deadline=$((SECONDS + 20))
  while process_running "$1"; do
    [ $SECONDS -ge $deadline ] &&
      fail "it still runs: $(ps -o pid,ppid,stat,etime,args -p "$1" | tail -1)"
    sleep 0.05
  done
}

# Sends SIGTERM to an idle watcher and waits until it and its saver are gone.
terminate_watcher() {  # WATCHER_PID SAVER_PID
  kill -TERM "$1"
  local deadline=$((SECONDS + 10))
  while process_running "$1" || process_running "$2"; do
    [ $SECONDS -ge $deadline ] && fail "the watcher or its saver still runs after SIGTERM"
    sleep 0.1
  done
}

# True when a picture of a 1024x768 screen shows the island full screen: blue
# sky at the top, sand at the bottom.
shows_island() {
  local sky sand
  sky=$(convert "$1" -crop 100x30+450+20 +repage -format "%[fx:mean.b-mean.r]" info:)
  sand=$(convert "$1" -gravity south -crop 30%x3%+0+2 +repage -format "%[fx:mean.r-mean.b]" info:)
  float_gt "$sky" 0.15 && float_gt "$sand" 0.05
}

# An X server of the test's own, without access control (so that a host
# running as another user may draw on it), at the given size; sets DISPLAY.
start_private_display() {
  Xvfb -displayfd 5 -screen 0 "$1x24" -ac -nolisten tcp 5>"$WORK/display" 2>"$WORK/xvfb.log" &
  at_exit "kill $!"
  local tenths
  for ((tenths = 0; tenths < 100; tenths++)); do [ -s "$WORK/display" ] && break; sleep 0.1; done
  [ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  DISPLAY=:$(cat "$WORK/display")
  export DISPLAY
}

# A D-Bus session bus of the test's own. The services it starts on demand
# (the settings store of gsettings, say) see the environment of this moment.
start_session_bus() {
  dbus-daemon --session --nofork --print-address=5 5>"$WORK/bus" 2>"$WORK/bus.log" &
  at_exit "kill $!"
  local tenths
  for ((tenths = 0; tenths < 100; tenths++)); do [ -s "$WORK/bus" ] && break; sleep 0.1; done
  [ -s "$WORK/bus" ] || fail "dbus-daemon did not start: $(cat "$WORK/bus.log")"
  DBUS_SESSION_BUS_ADDRESS=$(head -1 "$WORK/bus")
  export DBUS_SESSION_BUS_ADDRESS
}

# Builds the Debian package of this build; sets DEB.
build_package() {
  local build_dir
  build_dir=$(dirname "$TIDEREACH")
  [ -f "$build_dir/CPackConfig.cmake" ] || fail "no CPackConfig.cmake beside $TIDEREACH"
  cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$WORK/deb" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack: $(tail -20 "$WORK/cpack.log")"
  DEB=$(ls "$WORK"/deb/tidereach_*.deb)
}

# Installs $DEB until the test ends, when it is purged. Says why and returns
# 1 where it cannot: without root, or with a tidereach package already on the
# machine, which is left alone. The tests of every worktree on a machine take
# turns at the package, and wait for any other dpkg run to finish.
install_package() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "skip: installing the package needs root"
    return 1
  fi
  exec 8>/tmp/tidereach-package-test.lock
  flock -w 240 8 || fail "another test has held the package for four minutes"
  if dpkg-query -W tidereach >/dev/null 2>&1; then
    echo "skip: a tidereach package is already on this machine; it is left alone"
    return 1
  fi
  at_exit "dpkg --purge tidereach"
  local tries
  for ((tries = 0; tries < 60; tries++)); do
    dpkg -i "$DEB" >"$WORK/dpkg.log" 2>&1 && return 0
    grep -q "lock" "$WORK/dpkg.log" || break
    sleep 2
  done
  fail "dpkg -i: $(cat "$WORK/dpkg.log")"
}
