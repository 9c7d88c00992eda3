# Shared steps of the end-to-end tests of tidereach.scr under Wine: a Wine
# prefix, the settings key, starting and ending the program, screenshots.
# The X display is the caller's (xvfb-run); Wine's DirectDraw keeps the
# screen's own mode, so the saver runs at the screen's size.
set -euo pipefail

SCR=$(realpath "${1:?path of tidereach.scr}")
PREVIEW_HOST=$(realpath "${2:?path of preview_host.exe}")
KEY_ACCESS=$(realpath "${3:?path of key_access.exe}")
OWNER_HOST=$(realpath "${4:?path of owner_host.exe}")
MESSAGE_BOX=$(realpath "${5:?path of message_box.exe}")
POLAR_CITY=$(realpath "${6:?path of polar_city.exe}")
UNAVAILABLE_DDRAW=$(realpath "${7:?path of the ddraw.dll that makes no display object}")
END_SAVER=$(realpath "${8:?path of end_saver.exe}")
RECORDING_DDRAW=$(realpath "${9:?path of the ddraw.dll that records the gamma ramps}")
PLANTED_DLLS=$(realpath "${10:?folder of the DLLs to plant beside the program}")
LOAD_BY_NAME=$(realpath "${11:?path of load_by_name.exe}")
CONTROL_AT=$(realpath "${12:?path of control_at.exe}")
WORK=$(mktemp -d)
# Screenshots stay where the caller wants to look at them.
SHOTS=${TIDEREACH_SHOTS:-$WORK}
mkdir -p "$SHOTS"
export WINEDEBUG=-all
# No Mono or Gecko installer prompts, no sound device.
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$WORK/prefix"
  wineboot -i >/dev/null 2>&1
fi
KEY='HKCU\Software\Corvane\Tidereach'
SAVER_PID=""

SYSTEM32="$WINEPREFIX/drive_c/windows/system32"
SYSTEM_DOUBLES=()

cleanup() {
  [ -n "$SAVER_PID" ] && kill -9 "$SAVER_PID" 2>/dev/null || true
  local name
  for name in "${SYSTEM_DOUBLES[@]}"; do cp "$WORK/system32/$name" "$SYSTEM32/$name"; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

forget_settings() { wine reg delete "$KEY" /f >/dev/null 2>&1 || true; }

# The stored values of the key: "name type data" lines.
stored_values() { wine reg query "$KEY" 2>/dev/null | tr -d '\r' | awk 'NF == 3 && $2 ~ /^REG_/'; }
stored_number() {
  local value
  value=$(stored_values | awk -v name="$1" '$1 == name { print $3 }')
  [ -n "$value" ] && echo $((value))
}
# Waits up to ten seconds for a 32-bit value to be stored as $2.
wait_stored() {
  local deadline=$((SECONDS + 10))
  until [ "$(stored_number "$1")" = "$2" ]; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}
store_number() { wine reg add "$KEY" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null; }

# Puts the test double $1 of a system DLL into the prefix's System32, the one
# folder the program loads DLLs from, until the test ends; a run prefers it
# over Wine's own with WINEDLLOVERRIDES="name=n".
double_in_system32() {
  local name
  name=$(basename "$1")
  mkdir -p "$WORK/system32"
  [ -f "$WORK/system32/$name" ] || cp "$SYSTEM32/$name" "$WORK/system32/$name"
  SYSTEM_DOUBLES+=("$name")
  cp "$1" "$SYSTEM32/$name"
}

# Starts the program in the background with the given arguments.
start_scr() {
  wine "$SCR" "$@" >"$WORK/stdout" 2>"$WORK/stderr" &
  SAVER_PID=$!
}

scr_running() { [ -n "$SAVER_PID" ] && kill -0 "$SAVER_PID" 2>/dev/null; }

# Waits up to $1 seconds for the program to end; sets EXIT_CODE.
wait_scr_end() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$SAVER_PID" 2>/dev/null; do
    [ $SECONDS -ge "$deadline" ] && return 1
    sleep 0.1
  done
  set +e; wait "$SAVER_PID"; EXIT_CODE=$?; set -e
  SAVER_PID=""
}

# True when the program is still running after $1 seconds.
stays_running() { sleep "$1"; scr_running; }

screenshot() { import -window root "$1"; }

# Number of distinct colours of a picture.
colours_of() { convert "$1" -format "%k" info:; }

# Mean of a channel (r, g, b) 0..1 over a region WxH+X+Y of a picture.
channel_mean() { convert "$1" -crop "$3" +repage -format "%[fx:mean.$2]" info:; }

float_lt() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# Waits until a visible window with the title $1 exists; prints its id.
wait_window() {
  local deadline=$((SECONDS + ${2:-60})) id
  until id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ]; do
    [ $SECONDS -ge "$deadline" ] && fail "no window \"$1\" appeared"
    scr_running || fail "the program ended early: $(cat "$WORK/stderr")"
    sleep 0.3
  done
  echo "$id"
}

# Waits until the screen shows the scene, drawn for a while.
wait_scene() {
  wait_window Corvane >/dev/null
  local deadline=$((SECONDS + 60))
  until screenshot "$WORK/scene.png" && [ "$(colours_of "$WORK/scene.png")" -gt 1000 ]; do
    [ $SECONDS -ge "$deadline" ] && fail "the saver shows no scene"
    scr_running || fail "the saver ended early: $(cat "$WORK/stderr")"
    sleep 0.5
  done
}

# Answers the next message box whose caption starts with $1 with its OK
# button; prints its text.
answer_box() {
  wine "$MESSAGE_BOX" "$1" 30 | tr -d '\r' || fail "no message box \"$1\" came"
}

# Gives window $1 the keyboard and presses the keys that follow.
keys_to() {
  local window=$1; shift
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --delay 100 "$@"
}
