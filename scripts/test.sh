#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: the suite; the suite under
# AddressSanitizer and UndefinedBehaviorSanitizer; the threaded tests under
# ThreadSanitizer; the end-to-end tests against the real binary under Xvfb;
# each fuzz target for a bounded time; the Windows build's tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
fuzz_seconds=${TIDEREACH_FUZZ_SECONDS:-20}
"$root/scripts/setup.sh" --test --windows

# Tests never touch the user's settings or desktop.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config"
export SDL_AUDIODRIVER=dummy

step() { printf '\n==== %s\n' "$*"; }

configure_and_build() {  # dir, extra cmake arguments...
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

# The tests of the SDL back end and of other programs' windows need an X server.
with_display() { xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"; }

step "Layout (clang-format)"
git -C "$root" ls-files -z '*.cpp' '*.h' | (cd "$root" && xargs -0 clang-format --dry-run --Werror)

step "Layers (no window-system header above platform/)"
# The build refuses SDL's and GTK's headers above platform/, since only the
# back ends see their include paths; Xlib's lie in the compiler's own path.
if git -C "$root" grep -nE '#include <(X11|SDL|gtk|gdk|glib|gio|wayland)' -- display scene settings shell solar watcher; then
  echo "window-system headers are the platform's back ends' own"
  exit 1
fi

step "Build and unit/component tests"
configure_and_build "$root/build/test"
with_display ctest --test-dir "$root/build/test" -LE e2e -j"$jobs" --output-on-failure

step "AddressSanitizer + UndefinedBehaviorSanitizer"
configure_and_build "$root/build/asan" -DTIDEREACH_SANITIZE=address,undefined -DTIDEREACH_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
LSAN_OPTIONS=suppressions="$root/tests/lsan.supp":print_suppressions=0 \
  ctest --test-dir "$root/build/asan" -LE e2e -j"$jobs" --output-on-failure

step "ThreadSanitizer (threaded tests)"
configure_and_build "$root/build/tsan" -DTIDEREACH_SANITIZE=thread -DTIDEREACH_BUILD_BENCH=OFF
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  "$root/build/tsan/tests/tidereach_tests" --gtest_filter='*Thread*:*Timer*:*Concurren*'

step "End-to-end tests under Xvfb"
with_display ctest --test-dir "$root/build/test" -L e2e --output-on-failure

step "Fuzzing (${fuzz_seconds}s per target)"
CC=clang CXX=clang++ CXXFLAGS="-fsanitize=fuzzer-no-link" \
  configure_and_build "$root/build/fuzz" -DTIDEREACH_SANITIZE=address,undefined -DTIDEREACH_BUILD_FUZZ=ON \
  -DTIDEREACH_BUILD_BENCH=OFF -DTIDEREACH_BUILD_TESTS=OFF
for target in "$root"/build/fuzz/tests/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  corpus="$scratch/corpus-$(basename "$target")"
  mkdir -p "$corpus"
  "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 "$corpus" 2>"$scratch/fuzz.log" ||
    { tail -50 "$scratch/fuzz.log"; exit 1; }
  echo "$(basename "$target"): $(tail -1 "$scratch/fuzz.log")"
done

step "Windows: tidereach.scr and its tests under Wine"
cmake -S "$root" -B "$root/build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/windows" -j"$jobs"
imports=$(x86_64-w64-mingw32-objdump -p "$root/build/windows/tidereach.scr" | awk '/DLL Name:/ { print toupper($3) }')
# What is imported at start is found before the program can limit the search
# to System32: only DLLs Windows maps itself (KnownDLLs); the others are
# delay-loaded.
for dll in $imports; do
  case "$dll" in
    KERNEL32.DLL | ADVAPI32.DLL | MSVCRT.DLL | USER32.DLL | GDI32.DLL | OLE32.DLL | OLEAUT32.DLL | \
    SHELL32.DLL | SHLWAPI.DLL | COMDLG32.DLL) ;;
    *) echo "tidereach.scr imports $dll at start, which Windows may take from the program's folder" >&2; exit 1 ;;
  esac
done
echo "tidereach.scr imports at start only DLLs Windows maps itself: $(echo $imports)"
# A prefix of its own, made once: the tests never touch the user's Wine.
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
with_display bash -c 'wineboot -i >/dev/null 2>&1 && ctest --test-dir "$1" --output-on-failure; code=$?
                      wineserver -k; exit $code' _ "$root/build/windows"

step "All tests passed"
