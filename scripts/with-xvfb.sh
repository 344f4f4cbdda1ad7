#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own, then ends the display.
# Usage: with-xvfb.sh COMMAND [ARGS...]; XVFB_SCREEN sets the screen (default 1280x800x24).
set -euo pipefail
display=
for n in $(seq 90 190); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "with-xvfb: no free X display number" >&2; exit 1; }
log=$(mktemp)
Xvfb ":$display" -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp >"$log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$log"' EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "with-xvfb: Xvfb did not start: $(cat "$log")" >&2; exit 1; }
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
"$@"
