#!/usr/bin/env bash
# The X server going away (the session ends, the server dies) under each
# mode: the process is gone at once, with a non-zero exit code of its own
# rather than a signal, and nothing is left spinning on the dead connection.
source "$(dirname "$0")/lib.sh"

SERVER_PID=""
trap '[ -n "$SERVER_PID" ] && kill -9 "$SERVER_PID" 2>/dev/null; cleanup' EXIT

# Starts an X server of our own, to be killed, and points $DISPLAY at it.
start_server() {
  rm -f "$WORK/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
  SERVER_PID=$!
  disown  # killing it is no news
  local deadline=$((SECONDS + 10))
  until [ -s "$WORK/display" ]; do
    [ $SECONDS -ge $deadline ] && fail "no X server of our own started"
    sleep 0.1
  done
  export DISPLAY=":$(cat "$WORK/display")"
}

# Kills the server with the given signal and checks the saver is gone
# within two seconds with an exit code of 1 to 127.
kill_server_under() {
  local mode=$1 signal=$2
  saver_running || fail "$mode ended before the server went: $(cat "$WORK/stderr")"
  kill "-$signal" "$SERVER_PID"
  wait_saver_end 2 || fail "$mode still runs two seconds after the X server went"
  SERVER_PID=""
  [ "$EXIT_CODE" -ge 1 ] && [ "$EXIT_CODE" -le 127 ] ||
    fail "$mode ended with $EXIT_CODE when the X server went: $(cat "$WORK/stderr")"
  pass "$mode ends with exit code $EXIT_CODE when the X server is killed with SIG$signal"
}

# Starts the host stand-in on our server; its window's id is in $HOST_WINDOW.
start_host() {
  coproc HOST { "$XWINDOW_HELPER" 640 480; }
  read -r HOST_WINDOW <&"${HOST[0]}"
}
end_host() {
  kill "$HOST_PID" 2>/dev/null || true
  wait "$HOST_PID" 2>/dev/null || true
}

start_server
start_saver /s
wait_saver_scene
kill_server_under /s KILL

start_server
start_saver --window
wait_saver_scene
kill_server_under --window TERM

start_server
start_host
echo show >&"${HOST[1]}"; read -r _ <&"${HOST[0]}"
start_saver -window-id "$HOST_WINDOW"
sleep 2
kill_server_under "a host's window" KILL
end_host

# The preview waits for its hidden window to be shown.
start_server
start_host
start_saver /p "$HOST_WINDOW"
sleep 1
kill_server_under /p KILL
end_host

start_server
start_saver /c
wait_saver_window
kill_server_under /c KILL
