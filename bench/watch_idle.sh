#!/usr/bin/env bash
# Measures the idle watcher (tidereach --watch-idle) under Xvfb with a
# session bus of its own and no audio device:
#   1. its processor time and wake-ups over a minute of waiting (goal: at
#      most 0.1 % of a core);
#   2. the time from the idle moment (the last input plus the watcher's
#      --after) to the island's first frame, against the saver's own time
#      from exec to its first frame (goal: at most 1 s more); medians of 5.
# Usage: bench/watch_idle.sh [BUILD_DIR]   (default: build/test)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
wait_seconds=${MEASURE_SECONDS:-60}
export SDL_AUDIODRIVER=dummy

# Inside one X server and session bus (the script runs itself there).
if [ "${1:-}" = --inside ]; then
  build=$2 scratch=$3
  export XDG_CONFIG_HOME=$scratch/config
  "$build/tidereach" /s --fps off >/dev/null 2>&1 & saver=$!  # a first run writes the settings
  sleep 2; kill $saver; wait $saver || true

  "$build/tidereach" --watch-idle --after 3600 2>"$scratch/watcher.err" & watcher=$!
  sleep 1
  ticks() { awk '{ print $14 + $15 }' "/proc/$watcher/stat"; }
  # Every thread's, GLib's workers included.
  switches() { cat /proc/$watcher/task/*/status | awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
  t0=$(ticks) s0=$(switches)
  sleep "$wait_seconds"
  t1=$(ticks) s1=$(switches)
  kill $watcher; wait $watcher || true
  echo "wait_cpu_percent=$(awk -v t=$((t1 - t0)) -v hz="$(getconf CLK_TCK)" -v s="$wait_seconds" \
    'BEGIN { printf "%.3f", 100 * t / hz / s }')"
  echo "wait_wakeups=$((s1 - s0))"

  median() { sort -n | sed -n 3p; }
  for _ in 1 2 3 4 5; do
    "$build/bench/screen_watch" 0.2 -- "$build/tidereach" /s | sed -n 's/^first_frame_ms=//p'
  done | median | sed 's/^/saver_first_frame_ms=/'
  # Input just before the watcher starts: the idle moment is a second later.
  for _ in 1 2 3 4 5; do
    "$build/bench/screen_watch" 0.2 -- bash -c \
      'xdotool mousemove_relative 1 1 && exec "$0" --watch-idle --after 1' "$build/tidereach" |
      sed -n 's/^first_frame_ms=//p' | awk '{ printf "%.1f\n", $1 - 1000 }'
  done | median | sed 's/^/idle_to_first_frame_ms=/'
  exit 0
fi

build=$(cd "${1:-$root/build/test}" && pwd)
for tool in tidereach bench/screen_watch; do
  [ -x "$build/$tool" ] || { echo "watch_idle: build $tool first" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
dbus-run-session -- xvfb-run -a -s "-screen 0 1280x720x24 -br -noreset" "$0" --inside "$build" "$scratch" >"$scratch/out"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
value() { sed -n "s/^$1=//p" "$scratch/out"; }
echo "waiting, over ${wait_seconds} s: $(value wait_cpu_percent) % of a core, $(value wait_wakeups) wake-ups (goal: at most 0.1 %)"
saver=$(value saver_first_frame_ms) idle=$(value idle_to_first_frame_ms)
echo "the saver's own exec to first frame: ${saver} ms; idle moment to the island's first frame: ${idle} ms;" \
  "the watcher adds $(awk -v a="$idle" -v b="$saver" 'BEGIN { printf "%.0f", a - b }') ms (goal: at most 1000 ms)"
