# A screensaver is often run from the folder it was downloaded to. DLLs lying
# there under the names of system DLLs that Windows does not map itself
# (Wine told to prefer them, as Windows does for those) are loaded in no
# mode, and the saver still shows the island. Each planted DLL leaves a mark
# when it is loaded.
source "$(dirname "$0")/lib.sh"

PLANTED="ddraw mpr winmm windowscodecs uxtheme"
FOLDER="$WORK/Downloads"
mkdir "$FOLDER"
cp "$SCR" "$PLANTED_DLLS"/*.dll "$LOAD_BY_NAME" "$FOLDER/"
SCR="$FOLDER/$(basename "$SCR")"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;${PLANTED// /,}=n,b"

loaded() { find "$FOLDER" -name '*.dll.loaded' -printf '%f ' | sed 's/\.dll\.loaded//g'; }
expect_none_loaded() {
  local marks
  marks=$(loaded)
  [ -z "$marks" ] || fail "$1 loaded from the program's folder: $marks"
  pass "$1 loads none of the planted DLLs"
}

# The proof that the planted DLLs would win: a program loading by name gets
# every one of them.
wine "$FOLDER/$(basename "$LOAD_BY_NAME")" $PLANTED
for dll in $PLANTED; do
  [ -f "$FOLDER/$dll.dll.loaded" ] || fail "Wine did not prefer the planted $dll.dll; the test proves nothing"
done
rm "$FOLDER"/*.loaded
pass "a program loading by name gets all the planted DLLs"

forget_settings
start_scr /s
wait_scene
keys_to "$(wait_window Corvane)" q
wait_scr_end 20 || fail "a key did not end the saver"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE from /s"
pass "/s beside the planted DLLs shows the island"
expect_none_loaded /s

start_scr /c
keys_to "$(wait_window "Tideway Islands Setup")" Escape
wait_scr_end 20 || fail "Esc did not close the dialog"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE from /c"
expect_none_loaded /c

wine "$PREVIEW_HOST" "$(winepath -w "$SCR")" 5 >"$WORK/host.out" 2>"$WORK/host.err" ||
  fail "/p: $(tr -d '\r' <"$WORK/host.out")"
grep -q "child window covers the host" "$WORK/host.out" || fail "/p made no preview: $(cat "$WORK/host.out")"
expect_none_loaded /p

start_scr /a 0
wait_scr_end 30 || fail "/a did not end"
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE from /a"
expect_none_loaded /a
