# The run-time keys of the keyboard-only style, as a user meets them: "+"
# and "-" brighten and darken the screen, the cursor keys move the clock,
# and both are stored at once, so the next start shows the same.
source "$(dirname "$0")/lib.sh"

# Where the clock is: the centre "x y" of the box around the pixels of
# colour $2 (#rrggbb) in picture $1, nothing when there are none.
clock_centre() {
  local box
  box=$(convert "$1" -alpha off -fill '#010203' -opaque "$2" -fill white +opaque '#010203' -format '%@' info:)
  [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
  [ "${BASH_REMATCH[1]}" -lt 1280 ] || return 0  # the whole screen: no clock found
  echo "$((BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) $((BASH_REMATCH[4] + BASH_REMATCH[2] / 2))"
}

# The clock's colour on screen: magenta through a gamma level of $1.
clock_colour() { local level=$((255 * $1 >> 8)); printf '#%02x00%02x' "$level" "$level"; }

# Waits until the screen shows the clock centred at ($1, $2), within 2
# pixels, in the colour of gamma level $3; leaves the picture in $WORK/clock.png.
expect_clock_at() {
  local deadline=$((SECONDS + 10)) centre=""
  while :; do
    screenshot "$WORK/clock.png"
    centre=$(clock_centre "$WORK/clock.png" "$(clock_colour "$3")")
    if [ -n "$centre" ]; then
      set -- "$@" $centre
      [ $(($4 - $1)) -le 2 ] && [ $(($1 - $4)) -le 2 ] && [ $(($5 - $2)) -le 2 ] && [ $(($2 - $5)) -le 2 ] && return 0
      set -- "$1" "$2" "$3"
    fi
    [ $SECONDS -ge $deadline ] && fail "the clock is not shown at $1 $2 (found: ${centre:-none})"
    sleep 0.3
  done
}

# Waits until the store holds $2 for $1.
expect_stored_number() {
  local deadline=$((SECONDS + 10))
  until [ "$(stored_number "$1")" -eq "$2" ]; do
    [ $SECONDS -ge $deadline ] && fail "$1 is $(stored_number "$1") in the store, expected $2"
    sleep 0.1
  done
}

# A first run stores the defaults; the keyboard-only style, a magenta clock
# in the middle of the screen and no time-of-day lighting (it would rewrite
# the ramp on every tick) are then set in the store.
start_saver /s
wait_saver_window
kill -TERM "$SAVER_PID"
wait_saver_end 5 || fail "the first run did not end on SIGTERM"
store_number TermMouse 0
store_number FlagDemoDaytime 0
store_number Gamma 200
store_number clockX 640
store_number clockY 512
store_number ColorClock $((0xff00ff))

start_saver /s
wait_saver_scene
expect_clock_at 640 512 200
brightness_before=$(mean_of "$WORK/clock.png")
pass "the clock is drawn where the store puts it"

xdotool key --repeat 103 --delay 15 minus
xdotool key --repeat 3 --delay 15 plus
expect_stored_number Gamma 100
expect_clock_at 640 512 100
brightness_after=$(mean_of "$WORK/clock.png")
ratio=$(awk -v a="$brightness_before" -v b="$brightness_after" 'BEGIN { printf "%.3f", b / a }')
echo "brightness $brightness_before at level 200, $brightness_after at level 100: ratio $ratio"
float_gt "$ratio" 0.45 && float_lt "$ratio" 0.55 || fail "level 100 after 200 does not halve the brightness ($ratio)"
pass "'-' and '+' step the gamma level by one each, stored and shown at once"

xdotool key --repeat 30 --delay 15 Left
xdotool key --repeat 3 --delay 15 Right
xdotool key --repeat 5 --delay 15 Up
xdotool key --repeat 25 --delay 15 Down
expect_stored_number clockX 613
expect_stored_number clockY 532
expect_clock_at 613 532 100
pass "the cursor keys move the clock a pixel a press, stored and shown at once"

xdotool key Escape
wait_saver_end 3 || fail "Esc did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after Esc"

start_saver /s
wait_saver_scene
expect_clock_at 613 532 100
brightness_again=$(mean_of "$WORK/clock.png")
ratio=$(awk -v a="$brightness_after" -v b="$brightness_again" 'BEGIN { printf "%.3f", b / a }')
float_gt "$ratio" 0.95 && float_lt "$ratio" 1.05 || fail "the next start is not as dark ($ratio)"
xdotool key Escape
wait_saver_end 3 || fail "Esc did not end the second run"
[ "$(stored_number Gamma)" -eq 100 ] && [ "$(stored_number clockX)" -eq 613 ] &&
  [ "$(stored_number clockY)" -eq 532 ] || fail "a run without keys changed the stored values"
pass "the next start shows the stored level and clock place, and keeps them"
