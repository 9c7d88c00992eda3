# The saver under Wine as a Windows user meets it: /s on a fresh profile
# writes the 26 settings, covers the screen with the island at the screen's
# own size, and a key or a pointer move ends it with exit code 0. Wine's
# Direct3D spins no thread of its own in it unless the user asked for one.
source "$(dirname "$0")/lib.sh"

# Whether the saver's own process (Wine starts a .scr through a launcher)
# has a thread named $1.
saver_has_thread() {
  local pid threads
  pid=$(pgrep -n -f -x -- "$SCR /s") || { echo "FAIL: no process of the saver" >&2; exit 1; }
  threads=$(cat /proc/"$pid"/task/*/comm)
  grep -qx "$1" <<<"$threads"
}
D3D_KEY='HKCU\Software\Wine\Direct3D'

forget_settings
start_scr /s
wait_scene
# The sky at the top is blue, the beach at the bottom sandy, all over the screen.
shows_sky_and_sand() {
  screenshot "$SHOTS/windows-saver.png"
  read -r width height < <(identify -format "%w %h\n" "$SHOTS/windows-saver.png")
  sky_blue=$(channel_mean "$SHOTS/windows-saver.png" b "${width}x$((height / 10))+0+$((height / 20))")
  sky_red=$(channel_mean "$SHOTS/windows-saver.png" r "${width}x$((height / 10))+0+$((height / 20))")
  sand_red=$(channel_mean "$SHOTS/windows-saver.png" r "$((width / 2))x$((height / 40))+$((width / 4))+$((height * 95 / 100))")
  sand_blue=$(channel_mean "$SHOTS/windows-saver.png" b "$((width / 2))x$((height / 40))+$((width / 4))+$((height * 95 / 100))")
  float_lt "$sky_red" "$sky_blue" && float_lt "$sand_blue" "$sand_red"
}
deadline=$((SECONDS + 30))
until shows_sky_and_sand; do
  [ $SECONDS -ge $deadline ] &&
    fail "no blue sky at the top (red $sky_red, blue $sky_blue) or no sand at the bottom (red $sand_red, blue $sand_blue)"
  sleep 0.5
done
pass "the island covers the ${width}x${height} screen"

[ "$(stored_values | wc -l)" -eq 26 ] || fail "the first run wrote $(stored_values | wc -l) values, not 26"
[ "$(stored_number ResHor)" -eq "$width" ] && [ "$(stored_number ResVert)" -eq "$height" ] ||
  fail "the stored mode is not the desktop's"
[ "$(stored_values | awk '$1 == "RegLat" { print $2 }')" = REG_BINARY ] || fail "RegLat is not binary"
pass "the first run wrote the 26 values with the desktop's mode"

saver_has_thread wined3d_cs && fail "Wine's command-stream thread runs in the saver"
wine reg query 'HKCU\Software\Wine\AppDefaults\tidereach.scr' >/dev/null 2>&1 &&
  fail "the saver left a setting of its own among Wine's"
pass "no command-stream thread of Wine's runs in the saver, and Wine's settings are as they were"

keys_to "$(wait_window Corvane)" q
wait_scr_end 10 || fail "a key did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after a key"
pass "a key ends the saver with exit code 0"

xdotool mousemove 400 300
start_scr /s
wait_scene
xdotool mousemove 403 303  # within 5 pixels of where the pointer rests
stays_running 2 || fail "a move of 3 pixels ended the saver"
xdotool mousemove 500 400
wait_scr_end 10 || fail "a pointer move did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE after a pointer move"
pass "small pointer moves do not end the saver, a larger one does, with exit code 0"

# The user's own choice in Wine's settings stands.
wine reg add "$D3D_KEY" /v csmt /t REG_DWORD /d 1 /f >/dev/null
start_scr /s
wait_scene
saver_has_thread wined3d_cs || fail "the user's choice of Wine's command-stream thread was overridden"
keys_to "$(wait_window Corvane)" q
wait_scr_end 10 || fail "a key did not end the saver"
wine reg delete "$D3D_KEY" /v csmt /f >/dev/null
pass "with the user's choice of Wine's command-stream thread, the thread runs"
