#!/usr/bin/env bash
# The Windows installer under wine, in a fresh prefix on a private display: an earlier version
# installed silently; the installer and the uninstaller refusing to touch a running Velmora;
# the upgrade in place, with its files, shortcuts and Programs and Features entry, and its
# velmora-css.exe printing what the Linux one prints; the uninstall through the entry's
# QuietUninstallString, which keeps what the owner saved in the install folder; and a last
# install and uninstall that leave no folder behind.
# Usage: installer.sh SETUP.EXE ZIP LINUX-VELMORA-CSS
#   ZIP is the zip of the same build: the installed files must be its files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
if [ "${1:-}" != --on-display ]; then
    [ $# -eq 3 ] || { echo "usage: $0 SETUP.EXE ZIP LINUX-VELMORA-CSS" >&2; exit 2; }
    exec "$root/scripts/with-xvfb.sh" "$0" --on-display "$(realpath "$1")" "$(realpath "$2")" "$(realpath "$3")"
fi
setup=$2
zip=$3
linux_css=$4
for file in "$setup" "$zip" "$linux_css"; do
    [ -f "$file" ] || { echo "FAIL: no $file" >&2; exit 1; }
done
version=$(basename "$setup" | sed -n 's/^velmora-\(.*\)-setup\.exe$/\1/p')
work=$(mktemp -d)
export WINEPREFIX=$work/prefix HOME=$work/home WINEDEBUG=-all LC_ALL=C.UTF-8
# No .NET, browser engine or desktop menu entries in this throwaway prefix.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
velmora_pid=
trap '[ -z "$velmora_pid" ] || kill $velmora_pid 2>/dev/null; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$HOME" "$work/files"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_equal() { [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"; }
winenv() { wine cmd /c echo "%$1%" | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
# The entry as reg export writes it (in UTF-16, unlike reg query's console text), then its
# values: "Name"="text with \\ and \"" or "Name"=dword:0000030e.
export_entry() {
    rm -f "$work/entry.reg"
    wine reg export "$key" "$work/entry.reg" /y >/dev/null 2>&1 || true
}
entry() {
    [ -f "$work/entry.reg" ] || return 0
    iconv -f UTF-16LE -t UTF-8 "$work/entry.reg" | tr -d '\r' |
        sed -n "s/^\"$1\"=//p" | sed 's/^"\(.*\)"$/\1/; s/\\\(.\)/\1/g'
}

python3 -m zipfile -e "$zip" "$work/files"
ours=(velmora.exe velmora-css.exe 使用说明.txt LICENSE.txt "卸载 Velmora.exe")
wineboot --init >/dev/null 2>&1
instdir_win="$(winenv LOCALAPPDATA)\\Programs\\Velmora"
instdir=$(unix "$instdir_win")
start_menu=$(unix "$(winenv APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
desktop=$(unix "$(winenv USERPROFILE)\\Desktop")
[ -n "$instdir" ] && [ -n "$start_menu" ] && [ -n "$desktop" ] || { echo "FAIL: no folders from wine" >&2; exit 1; }

echo "== an earlier version, installed silently"
mkdir "$work/earlier"
cp "$work/files"/* "$work/earlier/"
echo "旧版的使用说明" >"$work/earlier/使用说明.txt"
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1700000000} \
    "$root/scripts/make-installer.sh" 0.9.0 "$work/earlier" "$work/velmora-0.9.0-setup.exe"
wine "$work/velmora-0.9.0-setup.exe" /S || fail "the earlier installer exited with $?"
export_entry
expect_equal "the earlier version's entry" "$(entry DisplayVersion)" 0.9.0

echo "== Velmora running: neither the installer nor the uninstaller replaces it"
wine "$instdir/velmora.exe" >/dev/null 2>&1 &
velmora_pid=$!
timeout 60 xdotool search --sync --name '^Velmora$' >/dev/null 2>&1 ||
    fail "velmora.exe showed no window"
status=0
wine "$setup" /S || status=$?
expect_equal "the installer's exit status with Velmora running" $status 3
export_entry
expect_equal "the entry's version with Velmora running" "$(entry DisplayVersion)" 0.9.0
cmp -s "$instdir/使用说明.txt" "$work/earlier/使用说明.txt" || fail "the installer replaced files while Velmora ran"
status=0
wine "$instdir/卸载 Velmora.exe" /S "_?=$instdir_win" || status=$?
expect_equal "the uninstaller's exit status with Velmora running" $status 3
[ -f "$instdir/velmora-css.exe" ] || fail "the uninstaller removed files while Velmora ran"
kill $velmora_pid
wait $velmora_pid 2>/dev/null || true
velmora_pid=

echo "== the upgrade, over the earlier version and beside the owner's files"
echo "slot 1 = #FF6600" >"$instdir/我的方案.txt"
printf 'PNG' >"$instdir/导航背景-FF6600.png"
wine "$setup" /S || fail "the installer exited with $?"
for file in "${ours[@]:0:4}"; do
    cmp -s "$instdir/$file" "$work/files/$file" || fail "installed $file is not the zip's"
done
expect_equal "the install folder" "$(cd "$instdir" && ls | LC_ALL=C sort | tr '\n' '|')" \
    "LICENSE.txt|velmora-css.exe|velmora.exe|使用说明.txt|卸载 Velmora.exe|导航背景-FF6600.png|我的方案.txt|"
for link in "$start_menu/Velmora.lnk" "$desktop/Velmora.lnk"; do
    # A shell link names its target in the system's code page and in UTF-16.
    if [ ! -f "$link" ]; then
        fail "no shortcut $link"
    elif ! grep -qaF 'Velmora\velmora.exe' "$link" &&
        ! iconv -f UTF-16LE -t UTF-8 "$link" 2>/dev/null | grep -qaF 'Velmora\velmora.exe'; then
        fail "$link does not start velmora.exe"
    fi
done
export_entry
expect_equal DisplayName "$(entry DisplayName)" Velmora
expect_equal DisplayVersion "$(entry DisplayVersion)" "$version"
expect_equal Publisher "$(entry Publisher)" Velmora
expect_equal InstallLocation "$(entry InstallLocation)" "$instdir_win"
expect_equal DisplayIcon "$(entry DisplayIcon)" "$instdir_win\\velmora.exe,0"
expect_equal UninstallString "$(entry UninstallString)" "\"$instdir_win\\卸载 Velmora.exe\""
quiet=$(entry QuietUninstallString)
expect_equal QuietUninstallString "$quiet" "\"$instdir_win\\卸载 Velmora.exe\" /S"
kib=$(( ($(cd "$instdir" && cat "${ours[@]}" | wc -c) + 1023) / 1024 ))
expect_equal EstimatedSize "$(entry EstimatedSize)" "$(printf 'dword:%08x' $kib)"
arguments=(--slot 2=#333333 --slot 11=红色 --menu-hover-image https://img.alicdn.com/导航/悬停.jpg)
wine "$instdir/velmora-css.exe" "${arguments[@]}" >"$work/windows.css" || fail "velmora-css.exe exited with $?"
"$linux_css" "${arguments[@]}" >"$work/linux.css"
cmp "$work/windows.css" "$work/linux.css" || fail "velmora-css.exe does not print what the Linux one prints"

echo "== the uninstall, as Programs and Features runs it"
[[ $quiet =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "QuietUninstallString is not a quoted program and its options"
wine "$(unix "${BASH_REMATCH[1]}")" ${BASH_REMATCH[2]}
wineserver -w  # the uninstaller goes on from a copy of itself
expect_equal "the install folder after the uninstall" "$(cd "$instdir" && ls | LC_ALL=C sort | tr '\n' '|')" \
    "导航背景-FF6600.png|我的方案.txt|"
[ ! -e "$start_menu/Velmora.lnk" ] || fail "the uninstall left the Start menu's shortcut"
[ ! -e "$desktop/Velmora.lnk" ] || fail "the uninstall left the desktop's shortcut"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstall left the entry"

echo "== installed and uninstalled again, leaving no folder"
rm "$instdir/我的方案.txt" "$instdir/导航背景-FF6600.png"
wine "$setup" /S || fail "the installer exited with $?"
wine "$instdir/卸载 Velmora.exe" /S
wineserver -w
[ ! -e "$instdir" ] || fail "the uninstall left the install folder: $(ls -A "$instdir" | tr '\n' ' ')"

[ $failures -eq 0 ] && echo "the installer installs, upgrades and uninstalls cleanly"
exit $((failures > 0))
