#!/usr/bin/env bash
# Measures tidereach.scr /s under Wine from outside, with Wine's DirectDraw on
# OpenGL (its default; without a GPU a software one), on OpenGL with the
# command-stream thread of Direct3D that the saver asks Wine to leave out
# (as a user's own csmt=1 brings it back), and on GDI ("no3d"), beside the Linux build's saver on the same screen (one Xvfb screen of
# MEASURE_SIZE, 1024x768 by default), all with first-run settings (the
# desktop's mode) and no sound device:
#   - the frames each shows a second, whole-screen updates counted with the X
#     DAMAGE extension, against the refresh rate Windows programs are told
#     (Wine reports none for Xvfb, which the saver takes as 60 Hz);
#   - the processor time of each saver's process, and of the Wine server
#     over the same window (for Wine from five seconds after the start).
# Usage: bench/saver_wine.sh [WINDOWS_BUILD_DIR] [LINUX_BUILD_DIR]
#   (defaults: build/windows and build/test; the Linux build's
#   bench/screen_watch counts the frames)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${MEASURE_SECONDS:-10}
size=${MEASURE_SIZE:-1024x768}
export SDL_AUDIODRIVER=dummy

# Processor time of a process in clock ticks (user + system).
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
cpu_percent() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.1f%%", t / hz / s * 100 }'; }

# The Wine server of $WINEPREFIX: the one working in the server folder named
# after the prefix's device and inode.
wineserver_pid() {
  local folder pid
  folder=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  for _ in $(seq 50); do
    for pid in $(pgrep -x 'wineserver(64)?'); do
      [[ "$(readlink "/proc/$pid/cwd")" == */"$folder" ]] && echo "$pid" && return
    done
    sleep 0.1
  done
  echo "saver_wine: no Wine server runs for $WINEPREFIX" >&2
  return 1
}

# Inside one X server (the script runs itself there): key=value lines.
if [ "${1:-}" = --inside ]; then
  scr=$2 linux=$3 scratch=$4
  # A first run writes the settings and brings Wine's files into memory, as
  # on a desktop where the saver ran before; then a running server.
  wine "$scr" /s >/dev/null 2>&1 &
  for _ in $(seq 600); do xdotool search --onlyvisible --name '^Corvane$' >/dev/null 2>&1 && break; sleep 0.2; done
  sleep 2
  wineserver -k
  wait || true  # the saver killed with its server
  wineserver -w
  wineserver -p
  server=$(wineserver_pid)
  # "csmt": OpenGL with Direct3D's command-stream thread, as a user's own
  # csmt=1 asks for; the saver runs without it unless told.
  for variant in gl csmt no3d; do
    renderer=${variant/csmt/gl}
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d "$renderer" /f >/dev/null 2>&1
    if [ "$variant" = csmt ]; then
      wine reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 1 /f >/dev/null 2>&1
    else
      wine reg delete 'HKCU\Software\Wine\Direct3D' /v csmt /f >/dev/null 2>&1 || true
    fi
    # The frames over a window longer than the processor time's, which
    # starts later: the saver must still run at its end.
    "$linux/bench/screen_watch" $((seconds + 10)) -- wine "$scr" /s | sed "s/^/${variant}_/" &
    # Wine starts a .scr through a launcher: the saver is a process of its own.
    for _ in $(seq 600); do saver=$(pgrep -n -f -x -- "$scr /s") && break; sleep 0.1; done
    sleep 5
    saver_before=$(cpu_ticks "$saver" 2>/dev/null || echo 0) server_before=$(cpu_ticks "$server")
    sleep "$seconds"
    if saver_after=$(cpu_ticks "$saver" 2>/dev/null); then
      echo "${variant}_saver_cpu=$(cpu_percent $((saver_after - saver_before)))"
    else
      echo "${variant}_saver_cpu=(the saver ended early)"
    fi
    echo "${variant}_server_cpu=$(cpu_percent $(($(cpu_ticks "$server") - server_before)))"
    wait || true
  done
  wineserver -k
  XDG_CONFIG_HOME=$(mktemp -d -p "$scratch") "$linux/bench/screen_watch" "$seconds" -- "$linux/tidereach" /s |
    sed 's/^/linux_/'
  exit 0
fi

windows=$(cd "${1:-$root/build/windows}" && pwd)
linux=$(cd "${2:-$root/build/test}" && pwd)
[ -f "$windows/tidereach.scr" ] || { echo "saver_wine: build tidereach.scr first" >&2; exit 1; }
for tool in tidereach bench/screen_watch; do
  [ -x "$linux/$tool" ] || { echo "saver_wine: build $tool of the Linux build first" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# No debugger waiting over a crash.
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d;winedbg.exe=d"
# The prefix is made without a display: its server must be gone before the
# savers start one that draws on the measuring X server.
wineboot -i >/dev/null 2>&1
wineserver -w || true

echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores; $(wine --version);" \
  "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
xvfb-run -a -s "-screen 0 ${size}x24 -br -noreset" "$0" --inside "$windows/tidereach.scr" "$linux" "$scratch" \
  >"$scratch/figures"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
value() { sed -n "s/^$1=//p" "$scratch/figures"; }
printf '\n%s, %s s measured\n' "$size" "$seconds"
for variant in gl csmt no3d; do
  printf 'Wine, %-4s      %6s frames/s  %6s of a core, the Wine server %s besides\n' "$variant" \
    "$(value ${variant}_fps)" "$(value ${variant}_saver_cpu)" "$(value ${variant}_server_cpu)"
done
printf 'Linux           %6s frames/s  %5s%% of a core\n' "$(value linux_fps)" "$(value linux_cpu_percent)"
percent() { value "$1_saver_cpu" | tr -d '%'; }
awk -v gl="$(percent gl)" -v csmt="$(percent csmt)" \
  'BEGIN { if (gl > 0 && csmt > 0) printf "ratio processor time without / with the command-stream thread: %.2f\n", gl / csmt }'
echo "goal  frames shown under Wine at most the refresh rate (60 Hz)"
