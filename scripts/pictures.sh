#!/usr/bin/env bash
# Remakes the README's pictures from the real program, with the settings a
# first start gives: docs/island.png, the island at 1280x720 on a morning of
# the demonstration day, and docs/settings.png, the settings dialog framed by
# a window manager on an X server of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --pictures
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
      -DTIDEREACH_BUILD_TESTS=OFF -DTIDEREACH_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build/release" -j"$(nproc)" --target tidereach
program=$root/build/release/tidereach

scratch=$(mktemp -d)
pids=()
finish() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap finish EXIT
export XDG_CONFIG_HOME=$scratch/config NO_AT_BRIDGE=1
mkdir -p "$root/docs"

# Mid-morning: the yacht near the middle, a dolphin leaping beside it.
"$program" --snapshot "$root/docs/island.png" --size 1280x720 --ticks 1542 --seed 4 --fps off
echo "docs/island.png"

Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$scratch/display")
xfwm4 --compositor=off 2>/dev/null &
pids+=($!)
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done
"$program" /c &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --name "Tideway Islands Setup" | head -1)
xdotool windowactivate --sync "$window" mousemove 0 0
sleep 1
import -frame -window "$window" "$root/docs/settings.png"
echo "docs/settings.png"
