#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own, then ends the display.
# Usage: with-xvfb.sh COMMAND [ARGS...]; XVFB_SCREEN sets the screen (default 1280x800x24).
set -euo pipefail
work=$(mktemp -d)
xvfb=
trap '[ -z "$xvfb" ] || { kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; }; rm -rf "$work"' EXIT
# A display number picked at random from a wide range, not the lowest free one: a program left
# over from another run, still holding that run's number, must not reach this display. Xvfb
# refuses a number in use (and another tries), and writes it to descriptor 3 once it accepts
# connections.
# -noreset: by default an X server resets when its last client leaves, and drops every client
# whose connection it accepted meanwhile. A short-lived client (a test's xprop or xdotool
# waiting for something, an accessibility bus launcher) that leaves just as the first lasting
# one (openbox, the window) connects made that one fail with "unable to open display".
display=
for _ in $(seq 20); do
    number=$((1000 + (RANDOM * 32768 + RANDOM) % 50000))
    : >"$work/display"
    Xvfb ":$number" -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp -noreset 3>"$work/display" >"$work/log" 2>&1 &
    xvfb=$!
    for _ in $(seq 600); do
        [ "$(wc -l <"$work/display")" -ge 1 ] && break
        kill -0 $xvfb 2>/dev/null || break
        sleep 0.05
    done
    display=$(head -n 1 "$work/display")
    [[ $display =~ ^[0-9]+$ ]] && break
    kill $xvfb 2>/dev/null || true
    wait $xvfb 2>/dev/null || true
    xvfb=
done
[[ $display =~ ^[0-9]+$ ]] || { echo "with-xvfb: Xvfb did not start: $(cat "$work/log")" >&2; exit 1; }
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
"$@"
