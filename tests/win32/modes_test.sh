# The host's other switches under Wine: /p paints the preview picture into a
# child of another program's window and ends when that window goes; /a
# changes the password through MPR.DLL or says why it cannot; /c:<window>
# and no argument at all (the shell's "Configure" verb) open the settings
# dialog. Every mode ends with exit code 0.
source "$(dirname "$0")/lib.sh"

# /p: the host program keeps its window at (100, 100) for 8 seconds and
# checks the child window the saver makes in it. Wine does not show a child
# window of another process on its host's surface, so the picture itself is
# checked by the Win32 layer's tests, with a host in the same process.
wine "$PREVIEW_HOST" "$(winepath -w "$SCR")" 8 >"$WORK/host.out" 2>"$WORK/host.err" &
HOST_PID=$!
SAVER_PID=$HOST_PID wait_window "Preview host" >/dev/null
screenshot "$SHOTS/windows-preview.png"
set +e; wait "$HOST_PID"; host_code=$?; set -e
grep -q "child window covers the host" "$WORK/host.out" ||
  fail "no preview window in the host's window: $(cat "$WORK/host.out")"
pass "/p makes a child window over the whole of the host's window"
[ "$host_code" -eq 0 ] || fail "the preview did not end with its host's window: $(cat "$WORK/host.out")"
pass "/p ends with exit code 0 when the host's window goes"

# /a with the system's MPR.DLL: its provider answers for itself.
start_scr /a 0
wait_scr_end 30 || fail "/a did not end"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE from /a"
pass "/a with MPR.DLL ends with exit code 0"

# /a without MPR.DLL: the message, then exit code 0.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mpr=d" start_scr /a 0
keys_to "$(wait_window "Screen saver")" Return
wait_scr_end 20 || fail "/a did not end after its message"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE from /a without MPR.DLL"
pass "/a without MPR.DLL shows its message and ends with exit code 0"

# /c:<window> on a fresh profile: the settings are written as by any first
# run, and the dialog opens; window 0 is none, so it has its own.
forget_settings
start_scr /c:0
keys_to "$(wait_window "Tideway Islands Setup")" Escape
wait_scr_end 20 || fail "/c:0 did not end on Esc"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE from /c:0"
[ "$(stored_values | wc -l)" -eq 26 ] || fail "/c:0 wrote $(stored_values | wc -l) values, not 26"
pass "/c:0 writes the first run's settings, opens the dialog and ends with exit code 0"

# No argument: the shell's "Configure" verb, which expects the dialog.
start_scr
keys_to "$(wait_window "Tideway Islands Setup")" Escape
wait_scr_end 20 || fail "the dialog of a run without arguments did not close on Esc"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE from a run without arguments"
pass "no argument opens the settings dialog and ends with exit code 0"

# /c:<window> of another program: the dialog belongs to that window and keeps
# it from input until it closes.
wine "$OWNER_HOST" "$(winepath -w "$SCR")" 60 >"$WORK/owner.out" 2>"$WORK/owner.err" ||
  fail "/c:<window>: $(tr -d '\r' <"$WORK/owner.out")"
pass "/c:<window> is modal to that window, which takes input again when it closes"
