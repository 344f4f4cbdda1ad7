#!/usr/bin/env bash
# Runs a Windows program under wine on a private Xvfb display, in $WINEPREFIX (made on first
# use). With --prepare, only makes the prefix. Used as CMake's emulator for the Windows build.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$HOME/.local/share/velmora-wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="  # no .NET or browser engine wanted
export LC_ALL=C.UTF-8

run() {
    set +e
    # The wine processes end before the display does: ended the other way round, wine's own
    # processes report the lost display on the program's standard error.
    "$here/with-xvfb.sh" bash -c '"$@"; status=$?; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; exit $status' wine-run "$@"
}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    run wineboot --init >/dev/null 2>&1 || true
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-run: could not make the wine prefix $WINEPREFIX" >&2; exit 1; }
    # Wine has no Chinese fonts of its own: let its dialog fonts fall back to the desktop's.
    link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
        wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC' /f >/dev/null 2>&1 || true
    done
    # Xvfb has no window manager: wine draws the windows' frames itself, and closing a window
    # does not wait two seconds for a manager to acknowledge it.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
fi
# Pages open with the program registered for .html, as on Windows (wine's own prefix registers
# the htmlfile class, whose program is winebrowser, but not the extension); the window's preview
# reaches the browser that way. Added to prefixes made before too.
if ! grep -q '^\[Software\\\\Classes\\\\.html\]' "$WINEPREFIX/system.reg"; then
    for extension in .html .htm; do
        key='HKLM\Software\Classes\'$extension
        wine reg add "$key" /ve /t REG_SZ /d htmlfile /f >/dev/null 2>&1 || true
        wine reg add "$key" /v 'Content Type' /t REG_SZ /d text/html /f >/dev/null 2>&1 || true
    done
    wineserver -w 2>/dev/null || true
fi
[ "${1:-}" = "--prepare" ] && exit 0
run wine "$@"
