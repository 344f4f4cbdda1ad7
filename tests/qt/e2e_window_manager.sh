#!/usr/bin/env bash
# End to end under a real window manager (openbox) on the X display in $DISPLAY, of the size
# given: the window is placed once, frame included, centred in the screen, and never moves
# after it appears; on a screen smaller than the window it fits the screen, and every control
# can still be reached (Tab to Generate, Space, the success message).
# Usage: e2e_window_manager.sh VELMORA
set -euo pipefail
velmora=$1
. "$(dirname "$0")/e2e_common.sh"

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
# The window manager is ready once it has announced what it supports and the work area.
wm_ready() {
    xprop -root _NET_SUPPORTED 2>/dev/null | grep _NET_REQUEST_FRAME_EXTENTS >/dev/null &&
        xprop -root _NET_WORKAREA 2>/dev/null | grep '=' >/dev/null
}
framed() { xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep '=' >/dev/null; }
until_true wm_ready || fail "the window manager did not start: $(cat "$work/openbox.log")"

"$velmora" >/dev/null 2>&1 &
pids+=($!)
window=$(wait_for '^Velmora$')
[ -n "$window" ] || fail "the Velmora window did not appear"

client() { xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /^  Width/{w=$2} /^  Height/{h=$2} END{print x, y, w, h}'; }
read -r x y w h < <(client)
until_true framed || fail "the window manager gave the window no frame"
sleep 1  # not a wait for something to happen: a second in which nothing may move
read -r x2 y2 w2 h2 < <(client)
[ "$x $y $w $h" = "$x2 $y2 $w2 $h2" ] || fail "the window moved after it appeared: $x $y $w $h, then $x2 $y2 $w2 $h2"

read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r sw sh < <(xdpyinfo | awk '/dimensions:/{split($2, d, "x"); print d[1], d[2]}')
outer_w=$((w + left + right)); outer_h=$((h + top + bottom))
frame_x=$((x - left)); frame_y=$((y - top))
if [ "$outer_w" -le "$sw" ] && [ "$outer_h" -le "$sh" ]; then
    want_x=$(( (sw - outer_w) / 2 )); want_y=$(( (sh - outer_h) / 2 ))
    dx=$((frame_x - want_x)); dy=$((frame_y - want_y))
    [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ] ||
        fail "the frame ($frame_x, $frame_y, $outer_w x $outer_h) is not centred on the ${sw}x$sh screen (want $want_x, $want_y)"
else
    fail "the window ($outer_w x $outer_h with its frame) does not fit the ${sw}x$sh screen"
fi
[ "$frame_x" -ge 0 ] && [ "$frame_y" -ge 0 ] || fail "the frame starts off the screen"

# Generate is the last control on the page: with the focus on it, Space must reach it.
focus "$window"
xdotool key space
[ -n "$(wait_for '^成功生成$')" ] || fail "Generate could not be reached from the keyboard"
echo "window ${w}x$h with frame at $frame_x,$frame_y on ${sw}x$sh: centred, not moved, Generate reached"
