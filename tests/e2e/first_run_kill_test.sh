#!/usr/bin/env bash
# First runs killed at random moments, as a screensaver host kills its saver
# the moment the user moves, a session ends or the power goes: whatever the
# kill left, the next start starts and the store then holds all 26 values.
# Tells each kill moment and what the next start found.
# TIDEREACH_KILL_ROUNDS: how many first runs to kill (default 40).
source "$(dirname "$0")/lib.sh"

rounds=${TIDEREACH_KILL_ROUNDS:-40}
KEY='[HKEY_CURRENT_USER\SOFTWARE\Corvane\Tidereach]'

# What a kill left: no store, the key without values, some values, or all.
store_state() {
  [ -f "$STORE" ] || { echo "no store"; return; }
  grep -qF "$KEY" "$STORE" || { echo "a store without the key"; return; }
  local values
  values=$(grep -c '^"' "$STORE" || true)
  if [ "$values" -eq 26 ]; then echo "whole"; else echo "$values of 26 values"; fi
}

declare -A found
moments=()
for ((round = 1; round <= rounds; round++)); do
  rm -rf "$XDG_CONFIG_HOME"
  # Odd rounds kill the saver itself on the screen, even ones a snapshot.
  if ((round % 2)); then mode=/s; else mode=--snapshot; fi
  delay_ms=$((RANDOM % 400))
  if [ "$mode" = /s ]; then
    "$TIDEREACH" /s >/dev/null 2>&1 &
  else
    "$TIDEREACH" --snapshot "$WORK/killed.png" --ticks 1 >/dev/null 2>&1 &
  fi
  victim=$!
  sleep "$(awk -v ms="$delay_ms" 'BEGIN { printf "%.3f", ms / 1000 }')"
  kill -KILL "$victim" 2>/dev/null || true
  wait "$victim" 2>/dev/null || true
  state=$(store_state)

  set +e
  timeout -s KILL 60 "$TIDEREACH" --snapshot "$WORK/next.png" --ticks 1 >"$WORK/stdout" 2>"$WORK/stderr"
  code=$?
  set -e
  [ $code -eq 0 ] || fail "$mode killed at $delay_ms ms left \"$state\"; the next start ended with $code: $(cat "$WORK/stderr")"
  [ "$(store_state)" = whole ] || fail "$mode killed at $delay_ms ms left \"$state\"; the next start left $(store_state)"
  moments+=("$mode@${delay_ms}ms:$state")
  found[$state]=$((${found[$state]:-0} + 1))
done
echo "kill moments and what the next start found: ${moments[*]}"
summary=""
for state in "${!found[@]}"; do summary+="${summary:+, }${found[$state]} $state"; done
pass "$rounds first runs killed, every next start started and completed the store ($summary)"
