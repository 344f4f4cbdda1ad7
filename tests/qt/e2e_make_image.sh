#!/usr/bin/env bash
# End to end on the X display in $DISPLAY: a double click on the navigation background's box
# opens the real colour dialog (#FF6600 typed into it), and the colour goes into the box with no
# save dialog; the preview (F5) shows the bar in that colour. Then 制作背景图…, the last entry of
# the box's menu, opens the colour dialog at that colour and the real save dialog, which
# proposes 导航背景-FF6600.png in the user's Pictures folder (here one with a Chinese name);
# accepted as proposed, the 950x30 PNG is there with velmora-css --make-image's bytes, and the
# preview shows the box's new percent-encoded file:/// address. Then an image dragged from
# another program and dropped on the second drop-down's box lands in that box, and the preview
# follows.
# Usage: e2e_make_image.sh VELMORA VELMORA_CSS DRAGSOURCE
set -euo pipefail
velmora=$1
velmora_css=$2
dragsource=$3
. "$(dirname "$0")/e2e_common.sh"

export HOME="$work/home"
mkdir -p "$HOME/.config" "$HOME/图片" "$work/bin"
echo 'XDG_PICTURES_DIR="$HOME/图片"' >"$HOME/.config/user-dirs.dirs"
cat >"$work/bin/xdg-open" <<STUB
#!/bin/sh
echo "\$1" >>"$work/opened"
STUB
chmod +x "$work/bin/xdg-open"

page_css() { sed -n '/^<style id="generated">$/,/^<\/style>/p' "$1" | sed '1d;$d'; }

PATH="$work/bin:$PATH" "$velmora" >"$work/velmora.log" 2>&1 &
pids+=($!)
window=$(wait_for '^Velmora$')
[ -n "$window" ] || fail "the Velmora window did not appear"
focus "$window"
# Each step is repeated until what it leads to shows: a key or click that a dialog still being
# made did not take is given again.
colours='^(Select Color|选择颜色)$'
for _ in $(seq 5); do
    xdotool mousemove --sync --window "$window" 304 36 click --repeat 2 --delay 60 1  # the bar's box
    until_true_for 4 shown "$colours" && break
done
dialog=$(wait_for "$colours")
[ -n "$dialog" ] || fail "no colour dialog"
for _ in $(seq 5); do
    focus "$dialog"
    xdotool key alt+h ctrl+a
    xdotool type --delay 5 '#FF6600'
    xdotool key Return
    until_true_for 4 hidden "$colours" && break
done
hidden "$colours" || fail "the colour dialog stayed open"
shown '^保存背景图$' && fail "a save dialog followed the colour picked for a background"
focus "$window"
xdotool key F5
for _ in $(seq 100); do [ -s "$work/opened" ] && break; sleep 0.05; done
page=$(head -n 1 "$work/opened")
page=${page#file://}
"$velmora_css" --slot 1='#FF6600' >"$work/expected.css"
page_is() { cmp -s "$1" <(page_css "$page"); }
until_true_for 5 page_is "$work/expected.css" || fail "the preview's bar is not #FF6600"

# The menu's last entry (Up from none chosen) makes an image, from the colour chosen last.
for _ in $(seq 5); do
    xdotool mousemove --sync --window "$window" 304 36 click 3 key --delay 60 Up Return
    until_true_for 4 shown "$colours" && break
done
dialog=$(wait_for "$colours")
[ -n "$dialog" ] || fail "no colour dialog from 制作背景图…"
for _ in $(seq 5); do
    focus "$dialog"
    xdotool key Return
    until_true_for 4 shown '^保存背景图$' && break
done
dialog=$(wait_for '^保存背景图$')
[ -n "$dialog" ] || fail "no save dialog"
image="$HOME/图片/导航背景-FF6600.png"
for _ in $(seq 5); do
    shown '^保存背景图$' && { focus "$dialog"; xdotool key Return; }
    until_true_for 4 test -s "$image" && break
done
[ -s "$image" ] || fail "no image at $image: $(find "$HOME" -name '*.png')"
"$velmora_css" --make-image '#FF6600' "$work/expected.png"
cmp "$work/expected.png" "$image" || fail "the window's image differs from velmora-css's"
size=$(python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$image")
[ "$size" = 950x30 ] || fail "the image is $size"

url=file://$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$image")
"$velmora_css" --slot 1="$url" >"$work/expected.css"
until_true_for 5 page_is "$work/expected.css" || fail "the preview does not hold $url"

# Drag an image of the user's own from another program onto the second drop-down's box.
own="$HOME/图片/店招 1.jpg"
printf '\377\330\377\340\000\020JFIF\000' >"$own"  # a JPEG's first bytes: judged as one
"$dragsource" "$own" >"$work/dragsource.log" 2>&1 &
pids+=($!)
source_window=$(wait_for '^dragsource$')
[ -n "$source_window" ] || fail "the drag source did not appear"
own_url=file://$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1]))' "$own")
"$velmora_css" --slot 1="$url" --submenu-image "$own_url" >"$work/expected.css"
dropped() { cmp -s "$work/expected.css" <(page_css "$page"); }
# A drag moves at a hand's pace: the drag protocol between the two programs needs each motion
# handled before the next, which no window property shows, so the moves are paced rather than
# waited for; a drag that was lost all the same is made again.
for _ in $(seq 3); do
    xdotool mousemove --sync --window "$source_window" 60 30 mousedown 1
    for step in 100 200 300; do xdotool mousemove --window "$window" "$step" 200 sleep 0.1; done
    xdotool mousemove --window "$window" 300 324 sleep 0.2 mousemove --window "$window" 304 324 sleep 0.2
    xdotool mouseup 1
    until_true_for 5 dropped && break
done
cmp "$work/expected.css" <(page_css "$page") || fail "the dropped image's address is not in its box"
echo "made $image ($(stat -c %s "$image") bytes, $size); the box and the preview hold $url; the dropped $own_url landed in its box"
