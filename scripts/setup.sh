#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, when any is missing:
# to build it; with --test, to test it; with --pictures, to remake the
# README's pictures; with --windows, to cross-build the Windows screensaver
# and test it under Wine. Safe to run again; needs root or sudo only when
# something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libjpeg62-turbo-dev libpng-dev libmpg123-dev libfreetype-dev libgtk-3-dev libglib2.0-dev libx11-dev libxdamage-dev
  libxtst-dev libxss-dev libxext-dev libwayland-dev libwayland-bin wayland-protocols plasma-wayland-protocols
  libgtest-dev libbenchmark-dev
)
for option in "$@"; do
  case "$option" in
    --test)
      packages+=(clang clang-format libclang-rt-14-dev xvfb xauth xdotool xclip x11-utils imagemagick
                 xscreensaver mate-screensaver weston dbus-daemon libglib2.0-bin python3-dbus python3-dbusmock sway wtype
                 mutter xwayland lintian dpkg-dev fakeroot desktop-file-utils) ;;
    --pictures)
      packages+=(xvfb xdotool x11-utils imagemagick xfwm4) ;;
    --windows)
      packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                 mingw-w64-x86-64-dev googletest wine wine64 xvfb xauth xdotool imagemagick faketime
                 xserver-xephyr x11-xserver-utils) ;;
    *) echo "setup.sh: unknown option $option (--test, --pictures, --windows)" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
