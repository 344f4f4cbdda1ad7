#!/usr/bin/env bash
# End to end under a real window manager (openbox) on the X display in $DISPLAY, of the size
# given: the window is placed once, frame included, centred in the screen, and never moves
# after it appears; on a screen smaller than the window it fits the screen, and every control
# can still be reached (Tab to Generate, Space, the success message).
# Usage: e2e_window_manager.sh VELMORA
set -euo pipefail
velmora=$1
. "$(dirname "$0")/e2e_common.sh"

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_REQUEST_FRAME_EXTENTS && break
    sleep 0.05
done
sleep 0.5  # the window manager takes a moment after announcing itself

"$velmora" >/dev/null 2>&1 &
pids+=($!)
window=
for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --name '^Velmora$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.02
done
[ -n "$window" ] || fail "the Velmora window did not appear"

client() { xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /^  Width/{w=$2} /^  Height/{h=$2} END{print x, y, w, h}'; }
read -r x y w h < <(client)
sleep 1
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
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key space
timeout 10 xdotool search --sync --onlyvisible --name '^成功生成$' >/dev/null ||
    fail "Generate could not be reached from the keyboard"
echo "window ${w}x$h with frame at $frame_x,$frame_y on ${sw}x$sh: centred, not moved, Generate reached"
