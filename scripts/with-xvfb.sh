#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own, then ends the display.
# Usage: with-xvfb.sh COMMAND [ARGS...]; XVFB_SCREEN sets the screen (default 1280x800x24).
set -euo pipefail
work=$(mktemp -d)
# Xvfb picks a free display number itself and writes it to descriptor 3 once it accepts
# connections, so that no other run can take the same number between the choice and the start.
: >"$work/display"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp 3>"$work/display" >"$work/log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 600); do
    [ "$(wc -l <"$work/display")" -ge 1 ] && break
    kill -0 $xvfb 2>/dev/null || break
    sleep 0.05
done
display=$(head -n 1 "$work/display")
[[ $display =~ ^[0-9]+$ ]] || { echo "with-xvfb: Xvfb did not start: $(cat "$work/log")" >&2; exit 1; }
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
"$@"
