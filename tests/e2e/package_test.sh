# The desktop files against the program they describe, then the Debian
# package: built from this build, checked with lintian and, as root on a
# machine without it, installed and purged.
source "$(dirname "$0")/lib.sh"

PACKAGING=$(cd "$(dirname "$0")/../../packaging" && pwd)
XML=$PACKAGING/tidereach.xml
SAVER_ENTRY=$PACKAGING/tidereach-screensaver.desktop

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
desktop-file-validate "$PACKAGING/tidereach-settings.desktop" || fail "desktop-file-validate"
pass "the desktop entry opens the settings dialog"

# MATE's and Xfce's savers list the entries of their category shown on their
# desktop, and run a command only when they find it in a hack folder.
desktop-file-validate "$SAVER_ENTRY" | grep -v 'hint: ' && fail "desktop-file-validate $SAVER_ENTRY"
entry_key() { sed -n "s/^$1=//p" "$SAVER_ENTRY"; }
[ "$(entry_key Exec)" = tidereach ] || fail "the saver's entry does not run the bare program name: $(entry_key Exec)"
[[ ";$(entry_key Categories)" == *";Screensaver;"* ]] || fail "the saver's entry is not in the Screensaver category"
for desktop in MATE XFCE; do
  [[ ";$(entry_key OnlyShowIn)" == *";$desktop;"* ]] || fail "the saver's entry is not shown on $desktop"
done
pass "the saver's entry is one MATE's and Xfce's savers list and can run"

build_package
lintian --fail-on error,warning "$DEB" >"$WORK/lintian.log" 2>&1 || fail "lintian: $(cat "$WORK/lintian.log")"
suggests=$(dpkg-deb -f "$DEB" Suggests)
for host in xscreensaver mate-screensaver xfce4-screensaver; do
  [[ ", $suggests," == *", $host,"* ]] || fail "the package does not suggest $host: $suggests"
done
pass "cpack builds $(basename "$DEB"), which suggests its hosts, and lintian finds no error or warning"

# What the package would put on the machine, and which of it is there before.
dpkg-deb --fsys-tarfile "$DEB" | tar -t | sed 's|^\.||; s|/$||' | grep . >"$WORK/contents"
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done <"$WORK/contents" >"$WORK/before"
install_package || exit 0
[ "$(command -v tidereach)" = /usr/bin/tidereach ] || fail "tidereach is not on PATH in /usr/bin"
[ "$(tidereach --version)" = "$("$TIDEREACH" --version)" ] || fail "the installed program has another version"
[ "$(/usr/libexec/xscreensaver/tidereach --version)" = "$("$TIDEREACH" --version)" ] ||
  fail "XScreenSaver's hack folder does not run the program"
cmp -s /usr/share/xscreensaver/config/tidereach.xml "$XML" || fail "XScreenSaver's page is not installed"
cmp -s /usr/share/applications/screensavers/tidereach.desktop "$SAVER_ENTRY" || fail "the saver's entry is not installed"
[ -f /usr/share/man/man6/tidereach.6.gz ] && [ -f /usr/share/doc/tidereach/copyright ] &&
  [ -f /usr/share/applications/tidereach-settings.desktop ] || fail "manual, copyright or desktop entry missing"
dpkg --purge tidereach >"$WORK/dpkg.log" 2>&1 || fail "dpkg --purge: $(cat "$WORK/dpkg.log")"
left=""
while read -r path; do
  if { [ -e "$path" ] || [ -L "$path" ]; } && ! grep -qxF "$path" "$WORK/before"; then left+=" $path"; fi
done <"$WORK/contents"
[ -z "$left" ] || fail "purging left: $left"
pass "the package installs tidereach on PATH, in XScreenSaver's hack folder and as MATE's and Xfce's saver, and purges without a trace"
