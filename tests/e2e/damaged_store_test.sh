#!/usr/bin/env bash
# Damaged settings stores, as hand edits, other programs and broken disks
# leave them: values missing, of the wrong type or absurd, random bytes,
# files of megabytes. Through --snapshot and the saver itself: no death by
# a signal, no hang, and a store that the run had no reason to write (one
# that has the settings key) stays byte for byte.
# TIDEREACH_SAVER_CASES: how many of the cases also run the full-screen
# saver (default 12; "all" for every one).
source "$(dirname "$0")/lib.sh"

KEY='[HKEY_CURRENT_USER\SOFTWARE\Corvane\Tidereach]'
CASES="$WORK/cases"
mkdir -p "$CASES"

# A store as a first run writes it, the base of the edits.
"$TIDEREACH" --snapshot "$WORK/first.png" --ticks 1 2>/dev/null || fail "a first run does not draw"
cp "$STORE" "$WORK/good.reg"
NAMES=$(sed -n 's/^"\([^"]*\)"=.*/\1/p' "$WORK/good.reg")

add_case() { cat >"$CASES/$1.reg"; }  # name; the text on standard input
edit_value() {  # case name, value name, new right-hand side (sed replacement)
  sed "s|^\"$2\"=.*|\"$2\"=$3|" "$WORK/good.reg" | add_case "$1"
}

for name in $NAMES; do
  grep -v "^\"$name\"=" "$WORK/good.reg" | add_case "missing-$name"
  edit_value "text-$name" "$name" '"7"'
  if grep -q "^\"$name\"=dword:" "$WORK/good.reg"; then
    edit_value "binary-$name" "$name" 'hex:01,00,00,00,00,00,00,00'
    edit_value "short-$name" "$name" 'hex(4):01,00'
    for number in 00000000 ffffffff 7fffffff 80000000; do
      edit_value "absurd-$name-$number" "$name" "dword:$number"
    done
  else
    edit_value "dword-$name" "$name" 'dword:00000001'
    edit_value "short-$name" "$name" 'hex:00,00,80,7f'
    # NaN, infinities, the largest double, a denormal, -0.
    for bits in 00,00,00,00,00,00,f8,7f 00,00,00,00,00,00,f0,7f 00,00,00,00,00,00,f0,ff \
      ff,ff,ff,ff,ff,ff,ef,7f 01,00,00,00,00,00,00,00 00,00,00,00,00,00,00,80; do
      edit_value "absurd-$name-${bits//,/}" "$name" "hex:$bits"
    done
  fi
done
for number in 00000000 ffffffff 7fffffff 80000000; do
  sed "s/=dword:[0-9a-f]*/=dword:$number/" "$WORK/good.reg" | add_case "every-number-$number"
done
{ cat "$WORK/good.reg"; sed -n 's/^"clockRad"=.*/"clockRad"=dword:80000000/p' "$WORK/good.reg"; } |
  add_case "twice-clockRad"
sed 's/\]$//' "$WORK/good.reg" | add_case "broken-section"
sed 's/=dword:\([0-9a-f]*\)$/=dword:\1zz/' "$WORK/good.reg" | add_case "bad-digits"
sed 's/"$/=/' "$WORK/good.reg" | add_case "bad-lines"
head -c 300 "$WORK/good.reg" | add_case "cut-short"
for size in 1 64 4096 65536; do
  head -c $size /dev/urandom | add_case "random-$size"
  { head -c $size /dev/urandom; printf '\n%s\n' "$KEY"; head -c $size /dev/urandom; } | add_case "random-key-$size"
  { printf 'REGEDIT4\n\n%s\n' "$KEY"; head -c $size /dev/urandom | tr -d '\000'; } | add_case "random-values-$size"
done
{ cat "$WORK/good.reg"; head -c 3000000 /dev/zero | tr '\0' ';'; } | add_case "megabytes-of-comment"
{ cat "$WORK/good.reg"; head -c 2000000 /dev/urandom; } | add_case "megabytes-of-random"
{ sed '$d' "$WORK/good.reg"; printf '"IndexCity"=hex:'; head -c 400000 /dev/zero | tr '\0' 'x' | sed 's/x/00,/g'; printf '00\n'; } |
  add_case "megabyte-value"
{ printf '\377\376'; iconv -t UTF-16LE "$WORK/good.reg"; } | add_case "utf-16"
printf 'REGEDIT4\n\n%s\n"flag_clock"=dword:00000001\n' "$KEY" | add_case "only-the-probe"

count=$(find "$CASES" -name '*.reg' | wc -l)
saver_cases=${TIDEREACH_SAVER_CASES:-12}
[ "$saver_cases" = all ] && saver_cases=$count
stride=$(((count + saver_cases - 1) / saver_cases))

# A store with the settings key is never written without input, unless a
# first run cut short left the key without its marker: the run adds the
# values the key lacks and keeps every line it had. One without the key is
# a first run's, which may add the key but keeps every byte it had: at the
# start of the store, or, when they are no part of a store, whole in one copy
# beside a store written well-formed.
check_store() {  # case file, mode
  if grep -qF "$KEY" "$1" && ! grep -qa '^"flag_clock"=' "$1" && ! cmp -s "$1" "$STORE"; then
    completed=$((completed + 1))
    ! diff -a "$1" "$STORE" | grep -q '^<' || fail "$2 lost lines of $(basename "$1")"
    grep -q '^"flag_clock"=dword:00000001' "$STORE" || fail "$2 left $(basename "$1") without its marker"
  elif grep -qF "$KEY" "$1" || [ "$(stat -c %s "$1")" -gt 1048576 ]; then
    cmp -s "$1" "$STORE" || fail "$2 changed the store of $(basename "$1")"
  elif ! cmp -s "$1" "$STORE"; then
    first_runs=$((first_runs + 1))
    cmp -s -n "$(stat -c %s "$1")" "$1" "$STORE" && return
    copies=("$STORE".damaged-*)
    [ ${#copies[@]} -eq 1 ] && cmp -s "$1" "${copies[0]}" || fail "$2 lost bytes of the keyless $(basename "$1")"
    [ "$(head -1 "$STORE" | tr -d '\r')" = REGEDIT4 ] && grep -qF "$KEY" "$STORE" ||
      fail "$2 wrote the keyless $(basename "$1") as $(head -c 200 "$STORE" | cat -v)"
    kept_aside=$((kept_aside + 1))
  fi
}

n=0 snapshots_drawn=0 savers=0 first_runs=0 kept_aside=0 completed=0
for file in "$CASES"/*.reg; do
  n=$((n + 1))
  rm -rf "$XDG_CONFIG_HOME"
  mkdir -p "$(dirname "$STORE")"
  cp "$file" "$STORE"
  set +e
  timeout -s KILL 60 "$TIDEREACH" --snapshot "$WORK/out.png" --ticks 40 --size 800x600 \
    >"$WORK/stdout" 2>"$WORK/stderr"
  code=$?
  set -e
  [ $code -le 1 ] || fail "--snapshot on $(basename "$file") ended with $code: $(tail -3 "$WORK/stderr")"
  # One error, one message.
  [ $code -eq 0 ] || [ "$(wc -l <"$WORK/stderr")" -eq 1 ] ||
    fail "--snapshot on $(basename "$file") said more than one line: $(cat "$WORK/stderr")"
  [ $code -eq 1 ] || snapshots_drawn=$((snapshots_drawn + 1))
  check_store "$file" --snapshot

  [ $((n % stride)) -eq 0 ] || continue
  rm -f "$STORE".damaged-*
  cp "$file" "$STORE"
  start_saver /s
  sleep 1.5
  kill -TERM "$SAVER_PID" 2>/dev/null || true
  wait_saver_end 10 || fail "/s on $(basename "$file") still runs ten seconds after SIGTERM"
  [ "$EXIT_CODE" -eq 0 ] || fail "/s on $(basename "$file") ended with $EXIT_CODE: $(tail -3 "$WORK/stderr")"
  expect_no_box tidereach "the box of /s on $(basename "$file") stayed on screen after the saver ended"
  check_store "$file" /s
  savers=$((savers + 1))
done
pass "$count damaged stores through --snapshot ($snapshots_drawn drawn, the rest refused; $first_runs keyless ones" \
  "given the key, $kept_aside of them with their bytes kept aside, $completed cut-short keys completed)," \
  "$savers through /s"
