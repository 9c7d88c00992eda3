# The desktop files against the program they describe, then the Debian
# package: built from this build, checked with lintian and, as root on a
# machine without it, installed and purged.
source "$(dirname "$0")/lib.sh"

PACKAGING=$(cd "$(dirname "$0")/../../packaging" && pwd)
BUILD_DIR=$(dirname "$TIDEREACH")
XML=$PACKAGING/tidereach.xml
[ -f "$BUILD_DIR/CPackConfig.cmake" ] || fail "no CPackConfig.cmake beside $TIDEREACH"

# The one-run options of --help (name and its values), and XScreenSaver's
# settings page: every menu starts with the stored setting and passes nothing
# for it, every choice is a command line the program takes, and every one-run
# option and value has its choice.
"$TIDEREACH" --help | awk '/^Settings for this run only/ { on = 1; next } on && /^  --/ { print $1, $2 }' \
  >"$WORK/one-run"
[ -s "$WORK/one-run" ] || fail "--help lists no settings for one run"
xmllint --noout "$XML" || fail "tidereach.xml is not well-formed"
selects=$(xmllint --xpath 'count(//select)' "$XML")
for ((i = 1; i <= selects; i++)); do
  [ "$(xmllint --xpath "count((//select)[$i]/option[not(@arg-set)])" "$XML")" = 1 ] &&
    [ "$(xmllint --xpath "count((//select)[$i]/option[1][not(@arg-set)])" "$XML")" = 1 ] ||
    fail "menu $i does not start with the one choice that passes nothing"
done
xmllint --xpath '//option/@arg-set' "$XML" | sed 's/^ *arg-set="\(.*\)"$/\1/' >"$WORK/choices"
while read -r choice; do
  # shellcheck disable=SC2086  # a choice is an option and its value
  "$TIDEREACH" $choice --snapshot "$WORK/choice.png" --size 64x48 >/dev/null 2>"$WORK/err" ||
    fail "the program refuses the choice '$choice': $(cat "$WORK/err")"
done <"$WORK/choices"
while read -r option values; do
  case $values in
    *"|"*) for value in ${values//|/ }; do
             grep -qx -- "$option $value" "$WORK/choices" || fail "no choice for $option $value"
           done ;;
    *) grep -q -- "^$option " "$WORK/choices" || fail "no menu for $option" ;;
  esac
done <"$WORK/one-run"
pass "XScreenSaver's page: $selects menus that start with the stored setting, $(wc -l <"$WORK/choices") choices the program takes"

# The manual renders cleanly and names every switch and option of --help.
MANWIDTH=200 man --warnings -E UTF-8 -l "$PACKAGING/tidereach.6" >"$WORK/manual" 2>"$WORK/err"
[ ! -s "$WORK/err" ] || fail "the manual has warnings: $(cat "$WORK/err")"
for option in $("$TIDEREACH" --help | grep -oE '(^|[ [])(--?[a-z][a-z-]*|/[a-z])' | tr -d ' [' | sort -u); do
  grep -qF -- "$option" "$WORK/manual" || fail "the manual does not describe $option"
done
pass "the manual renders without warnings and describes every option of --help"

grep -qx 'Exec=tidereach /c' "$PACKAGING/tidereach-settings.desktop" || fail "the desktop entry does not open the settings"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$PACKAGING/tidereach-settings.desktop" || fail "desktop-file-validate"
fi
pass "the desktop entry opens the settings dialog"

# Runs of this test on one machine take turns at the build folder and at
# dpkg (the lock is on this script, so none is left behind).
exec 9<"$0"
flock -w 120 9 || fail "another run of this test holds the package"
cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/deb" >"$WORK/cpack.log" 2>&1 ||
  fail "cpack: $(tail -20 "$WORK/cpack.log")"
deb=$(ls "$WORK"/deb/tidereach_*.deb)
lintian --fail-on error,warning "$deb" >"$WORK/lintian.log" 2>&1 || fail "lintian: $(cat "$WORK/lintian.log")"
pass "cpack builds $(basename "$deb") and lintian finds no error or warning"

if [ "$(id -u)" -ne 0 ]; then
  echo "skip: installing the package needs root"
  exit 0
fi
if dpkg-query -W tidereach >/dev/null 2>&1; then
  echo "skip: a tidereach package is already on this machine; it is left alone"
  exit 0
fi
purge() { dpkg --purge tidereach >/dev/null 2>&1 || true; cleanup; }
trap purge EXIT
dpkg -i "$deb" >"$WORK/dpkg.log" 2>&1 || fail "dpkg -i: $(cat "$WORK/dpkg.log")"
[ "$(command -v tidereach)" = /usr/bin/tidereach ] || fail "tidereach is not on PATH in /usr/bin"
[ "$(tidereach --version)" = "$("$TIDEREACH" --version)" ] || fail "the installed program has another version"
[ "$(/usr/libexec/xscreensaver/tidereach --version)" = "$("$TIDEREACH" --version)" ] ||
  fail "XScreenSaver's hack folder does not run the program"
cmp -s /usr/share/xscreensaver/config/tidereach.xml "$XML" || fail "XScreenSaver's page is not installed"
[ -f /usr/share/man/man6/tidereach.6.gz ] && [ -f /usr/share/doc/tidereach/copyright ] &&
  [ -f /usr/share/applications/tidereach-settings.desktop ] || fail "manual, copyright or desktop entry missing"
dpkg-query -L tidereach | sort >"$WORK/files"
dpkg --purge tidereach >"$WORK/dpkg.log" 2>&1 || fail "dpkg --purge: $(cat "$WORK/dpkg.log")"
left=""
while read -r path; do
  case $path in */tidereach*) if [ -e "$path" ] || [ -L "$path" ]; then left+=" $path"; fi ;; esac
done <"$WORK/files"
[ -z "$left" ] || fail "purging left: $left"
pass "the package installs tidereach on PATH and in XScreenSaver's hack folder, and purges without a trace"
