#!/usr/bin/env bash
# Measures the running saver from outside under Xvfb, with first-run settings
# (the desktop's mode, the demo day's lighting on) and no audio device:
#   1. its processor time at 1920x1080 against the bare present (SDL2's
#      software renderer drawing straight into the window), same X server,
#      same run;
#   2. the frames it shows at 3840x2160, counted with the X DAMAGE extension;
#   4. exec to the first non-black pixel at 1920x1080 (median of 5 starts);
#   5. its peak resident memory against the bytes of its surfaces;
#   and how long it takes to end after SIGTERM and after a key (median of 5).
# Usage: bench/measure_screen.sh [BUILD_DIR]   (default: build/test)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${MEASURE_SECONDS:-10}
export SDL_AUDIODRIVER=dummy

# Inside one X server (the script runs itself there): prints key=value lines
# of the bare present, the saver and, with "start", its first frames.
if [ "${1:-}" = --inside ]; then
  build=$2 mode=$3 scratch=$4
  watch() { XDG_CONFIG_HOME=$(mktemp -d -p "$scratch") "$build/bench/screen_watch" "$@"; }
  SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0 watch "$seconds" -- "$build/bench/bare_present" |
    sed 's/^/bare_/'
  watch "$seconds" -- "$build/tidereach" /s | sed 's/^/saver_/'
  if [ "$mode" = start ]; then
    for _ in 1 2 3 4 5; do watch --end-with-key 0.2 -- "$build/tidereach" /s; done >"$scratch/starts"
    median() { grep "^$1=" "$scratch/starts" | sort -t= -k2 -n | sed -n 3p; }
    median first_frame_ms | sed 's/^/start_median_/'
    median end_ms | sed 's/^/key_median_/'
  fi
  exit 0
fi

build=$(cd "${1:-$root/build/test}" && pwd)
for tool in tidereach bench/screen_watch bench/bare_present; do
  [ -x "$build/$tool" ] || { echo "measure_screen: build $tool first" >&2; exit 1; }
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The bytes of the scene's surfaces at W x H x 32: the flip chain, the three
# pictures, every frame of the strips.
surface_bytes() {
  local w=$1 h=$2
  echo $(( 4 * ( 2*w*h + w*(h*408/600) + 32*w*(h*92/600) + 32*(w*611/800)*(h*115/600)
               + w*(h*245/600) + (w*41/800)*(h*165/600) + 40*18*6 + 40*15*5
               + 28*(w*31/800)*(h*31/600) + 2*19*(w*44/800)*(h*20/600) ) ))
}

run() {  # WIDTH HEIGHT MODE
  xvfb-run -a -s "-screen 0 ${1}x${2}x24 -br -noreset" "$0" --inside "$build" "$3" "$scratch" > "$scratch/$1x$2"
}

value() { sed -n "s/^$2=//p" "$scratch/$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
run 1920 1080 start
run 3840 2160 frames
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

hd=1920x1080
uhd=3840x2160
printf '\n1920x1080: saver %s%% of a core at %s frames/s, bare present %s%% at %s frames/s\n' \
  "$(value $hd saver_cpu_percent)" "$(value $hd saver_fps)" "$(value $hd bare_cpu_percent)" "$(value $hd bare_fps)"
printf '3840x2160: saver %s%% of a core at %s frames/s, bare present %s%% at %s frames/s\n' \
  "$(value $uhd saver_cpu_percent)" "$(value $uhd saver_fps)" "$(value $uhd bare_cpu_percent)" "$(value $uhd bare_fps)"
echo
echo "goal 1  saver CPU / bare present at 1920x1080:   $(ratio "$(value $hd saver_cpu_percent)" "$(value $hd bare_cpu_percent)")  (at most 2.0)"
echo "goal 2  frames shown at 3840x2160, per second:   $(value $uhd saver_fps)  (at least 50)"
echo "goal 4  first frame at 1920x1080, median of 5:   $(value $hd start_median_first_frame_ms) ms  (at most 250;" \
  "the bare present's first: $(value $hd bare_first_frame_ms) ms)"
echo "ending     after SIGTERM at 1920x1080:        $(value $hd saver_end_ms) ms; after a key, median of 5:" \
  "$(value $hd key_median_end_ms) ms"
for size in $hd $uhd; do
  bytes=$(surface_bytes "${size%x*}" "${size#*x}")
  peak=$(value "$size" saver_peak_rss_mb)
  echo "goal 5  peak RSS / surfaces at $size:  $(ratio "$peak" "$(awk -v b="$bytes" 'BEGIN { print b / 1048576 }')")  ($peak MB for $(( bytes / 1048576 )) MB; at most 1.3)"
done
