#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Velmora need, when any is
# missing. Safe to run again: with everything present it changes nothing.
# Usage: install-deps.sh [--test | --windows | --package]
set -euo pipefail

packages=(
    cmake ninja-build g++ pkgconf
    qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libxcb1-dev
    libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
    fonts-noto-cjk qt6-translations-l10n
)
if [ "${1:-}" = "--test" ]; then
    packages+=(xvfb xclip xdotool x11-utils chromium openbox)
    packages+=(lintian unzip file)  # the packaging test checks the .deb, the zip and the installer
    packages+=(at-spi2-core python3-pyatspi dbus-daemon)  # the window as a screen reader reads it
fi
if [ "${1:-}" = "--test" ] || [ "${1:-}" = "--windows" ] || [ "${1:-}" = "--package" ]; then
    packages+=(g++-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64 googletest xvfb x11-utils)
fi
if [ "${1:-}" = "--test" ] || [ "${1:-}" = "--package" ]; then
    packages+=(dpkg-dev python3 git)  # dpkg-shlibdeps for the .deb's dependencies; the zip
    packages+=(help2man)              # velmora-css's manual page, from its --help
    packages+=(nsis)                  # the Windows installer
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}"
