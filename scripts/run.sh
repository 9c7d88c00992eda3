#!/usr/bin/env bash
# Sets everything up and starts the screensaver full screen.
# Arguments are passed to the program (for example --window, or /c for the settings).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
      -DTIDEREACH_BUILD_TESTS=OFF -DTIDEREACH_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build/release" -j"$(nproc)" --target tidereach
exec "$root/build/release/tidereach" "${@:-/s}"
