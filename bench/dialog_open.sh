#!/usr/bin/env bash
# Measures how long tidereach.scr /c takes under Wine on Xvfb to show
# "Tideway Islands Setup", from exec to the visible window (median of 9),
# against Wine's own Notepad started the same way in the same run: the floor
# of starting a Wine program and showing a window. Both with Wine's
# DirectDraw on OpenGL (its default) and on GDI ("no3d"): without a GPU the
# OpenGL one costs a software GL context for each DirectDraw object.
# Usage: bench/dialog_open.sh [WINDOWS_BUILD_DIR]   (default: build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --inside ]; then
  scr=$2 scratch=$3
  # Prints the seconds from exec to a visible window titled $1, then ends
  # the program.
  open_time() {
    local title=$1 start end pid; shift
    start=$(date +%s.%N)
    wine "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.01; done
    end=$(date +%s.%N)
    kill "$pid"; wait "$pid" 2>/dev/null || true
    while xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.05; done
    echo "$end - $start" | bc
  }
  runs=9
  median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }
  # A running server, as on a desktop where Wine programs were started before.
  wineserver -p
  for renderer in gl no3d; do
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d "$renderer" /f >/dev/null 2>&1
    # Taken in turns, so that a slow spell of the machine falls on both.
    : >"$scratch/notepad" >"$scratch/dialog"
    for _ in $(seq "$runs"); do
      open_time "Untitled - Notepad" notepad >>"$scratch/notepad"
      open_time "Tideway Islands Setup" "$scr" /c >>"$scratch/dialog"
    done
    notepad=$(median <"$scratch/notepad") dialog=$(median <"$scratch/dialog")
    printf '%-5s dialog %.3f s   notepad %.3f s   dialog/notepad %.2f\n' "$renderer" "$dialog" "$notepad" \
      "$(echo "$dialog / $notepad" | bc -l)"
  done
  wineserver -k
  exit 0
fi

build=$(cd "${1:-$root/build/windows}" && pwd)
[ -f "$build/tidereach.scr" ] || { echo "dialog_open: build tidereach.scr first" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
wineboot -i >/dev/null 2>&1
echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores; $(wine --version)"
# The settings exist before the runs: no first run in the figures.
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c 'wine "$1" /c >/dev/null 2>&1 & sleep 8; wineserver -k' _ \
  "$build/tidereach.scr" || true
xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inside "$build/tidereach.scr" "$scratch"
