# Every ending puts back the ramp the display had when the saver started,
# before the device goes. A recording DirectDraw over Wine's own plays a
# calibrated display and notes each ramp written, through the primary's
# gamma control or through GDI, and each release: after a key, WM_CLOSE,
# WM_ENDSESSION, WM_ACTIVATEAPP and a display error mid-run, the last ramp
# written before the primary surface is released is the calibration, and a
# gamma control that refuses it leaves the writing to GDI.
source "$(dirname "$0")/lib.sh"

# The recording DirectDraw is the system's for this test only, Wine's own
# beside it under another name.
SYSTEM32="$WINEPREFIX/drive_c/windows/system32"
cp "$SYSTEM32/ddraw.dll" "$WORK/ddraw.wine"
cp "$SYSTEM32/ddraw.dll" "$SYSTEM32/ddraw_real.dll"
cp "$RECORDING_DDRAW" "$SYSTEM32/ddraw.dll"
put_back_ddraw() {
  cp "$WORK/ddraw.wine" "$SYSTEM32/ddraw.dll"
  rm -f "$SYSTEM32/ddraw_real.dll"
}
trap 'put_back_ddraw; cleanup' EXIT
export TIDEREACH_DDRAW_LOG="$WORK/ddraw.log"
RECORDED=(env WINEDLLOVERRIDES="$WINEDLLOVERRIDES;ddraw=n")

# The display's calibration as the record shows it: red at 1 and 255, green
# and blue at 255.
CALIBRATION="550 64050 61400 51100"

# The ramps written before the primary surface was released for good, "how
# red1 red255 green255 blue255" a line.
ramps_before_release() {
  awk '$1 == "release" && $2 == "primary" && $3 == 0 { exit } $1 == "gamma" || $1 == "gdi"' "$TIDEREACH_DDRAW_LOG"
}

# After the ending $1: exit code 0, the release seen, the saver's own ramps
# written, and the calibration written last, through $2 (gamma or gdi).
check_put_back() {
  wait_scr_end 20 || fail "the saver did not end on $1"
  [ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after $1"
  grep -q '^release primary 0$' "$TIDEREACH_DDRAW_LOG" || fail "the primary surface was never released after $1"
  [ "$(ramps_before_release | grep -cv " $CALIBRATION\$")" -gt 0 ] || fail "the saver wrote no ramp of its own before $1"
  local last
  last=$(ramps_before_release | tail -1)
  [ "$last" = "$2 $CALIBRATION" ] || fail "after $1 the last ramp before the release was \"$last\""
  pass "$1: the display's own ramp is written back through ${2/gdi/GDI} before the device goes"
}

start_recorded_saver() {
  rm -f "$TIDEREACH_DDRAW_LOG"
  "${RECORDED[@]}" bash -c 'exec wine "$0" /s' "$SCR" >"$WORK/stdout" 2>"$WORK/stderr" &
  SAVER_PID=$!
}

# The first run writes every setting; a darker level then makes the saver's
# ramps differ from the display's from the start.
forget_settings
start_scr /c
keys_to "$(wait_window "Tideway Islands Setup")" Escape
wait_scr_end 20 || fail "/c did not end on Esc"
store_number Gamma 128

start_recorded_saver
wait_scene
keys_to "$(wait_window Corvane)" q
check_put_back "a key" gamma

start_recorded_saver
wait_scene
wine "$END_SAVER" Corvane close || fail "no saver window to close"
check_put_back "WM_CLOSE" gamma

start_recorded_saver
wait_scene
wine "$END_SAVER" Corvane endsession || fail "no saver window for the session's end"
check_put_back "WM_ENDSESSION" gamma

start_recorded_saver
wait_scene
wine "$END_SAVER" Corvane deactivate &
check_put_back "WM_ACTIVATEAPP" gamma
wait

TIDEREACH_DDRAW_LOSE_AFTER=40 start_recorded_saver
said=$(answer_box ERROR)
[ "$said" = "Error Primary DDERR_WRONGMODE (MakeRestSurface)" ] || fail "the display error said \"$said\""
check_put_back "a display error" gamma

TIDEREACH_DDRAW_REFUSE_GAMMA=1 start_recorded_saver
wait_scene
keys_to "$(wait_window Corvane)" q
wait_scr_end 20 || fail "the saver did not end on a key"
last=$(ramps_before_release | tail -1)
[ "$last" = "gdi $CALIBRATION" ] || fail "with the gamma control refusing, the last ramp was \"$last\""
pass "a gamma control that refuses the ramp leaves it to GDI, before the device goes"
