#!/usr/bin/env bash
# End to end on the X display in $DISPLAY: a values file opened with Ctrl+O through the real
# file dialog, F5 opens the preview through the desktop's opener (a stand-in xdg-open that notes
# the address), the page's CSS equals velmora-css's for the same values and follows a change,
# a palette chosen in the window's context menu (配色方案) fills the boxes as velmora-css
# --palette does, and the menu's undo entry, then Ctrl+Alt+Z, bring the file's values back,
# Ctrl+S saves every value through the real dialog, and Ctrl+O of that file after Clear brings
# every box back (Generate then gives velmora-css's bytes).
# Usage: e2e_preview_values.sh VELMORA VELMORA_CSS
set -euo pipefail
velmora=$1
velmora_css=$2
. "$(dirname "$0")/e2e_common.sh"

mkdir "$work/bin"
cat >"$work/bin/xdg-open" <<STUB
#!/bin/sh
echo "\$1" >>"$work/opened"
STUB
chmod +x "$work/bin/xdg-open"

cat >"$work/shop.txt" <<'VALUES'
# a shop
slot.1=https://img.alicdn.com/imgextra/i1/bar.jpg
slot.2=#FFD166
slot.7=rgb(10, 20, 30)
slot.9=红色
slot.14=hidden
submenu-image=https://img.alicdn.com/imgextra/i2/drop.jpg
VALUES

# The page's generated style sheet, as the page holds it.
page_css() { sed -n '/^<style id="generated">$/,/^<\/style>/p' "$1" | sed '1d;$d'; }
# click_until WINDOW X Y PATTERN: clicks there until a window named PATTERN shows; a click
# that reaches the window while it is still busy with the last dialog can be lost.
click_until() {
    for _ in $(seq 10); do
        xdotool mousemove --window "$1" "$2" "$3" click 1
        until_true_for 2 shown "$4" && return 0
    done
}
page_is() { [ -f "$2" ] && cmp -s "$1" <(page_css "$2"); }
# Whether N of the window's menus are open: each is a window of the program's class besides
# the main window.
menus_open() { [ "$(xdotool search --onlyvisible --class '^velmora$' 2>/dev/null | wc -l)" -gt "$1" ]; }
# context_menu KEYS...: right-clicks an empty part of the window until its menu shows, then
# walks it with the keys; Right opens a submenu, waited for before the next key.
context_menu() {
    focus "$window"
    for _ in $(seq 5); do
        xdotool mousemove --window "$window" 300 416 click 3  # the instructions' line
        until_true_for 2 menus_open 1 && break
    done
    menus_open 1 || fail "the window's context menu did not show"
    local open=1
    for key in "$@"; do
        xdotool key "$key"
        if [ "$key" = Right ]; then
            open=$((open + 1))
            until_true menus_open "$open" || fail "no submenu after $*"
        fi
    done
    until_true menus_closed || fail "the menu stayed open after $*"
}
menus_closed() { ! menus_open 1; }
choose_file() {  # title path
    local dialog
    dialog=$(wait_for "^$1\$")
    [ -n "$dialog" ] || fail "no dialog '$1'"
    focus "$dialog"
    xdotool key ctrl+a
    xdotool type --delay 5 "$2"
    # The completion list may have opened over the field, and a Return would only close it:
    # Tab closes the list, or leaves the field, and Return then presses the default button.
    xdotool key Tab Return
    for _ in $(seq 10); do
        until_true_for 2 hidden "^$1\$" && return 0
        xdotool key --window "$dialog" Return
    done
    fail "the dialog '$1' did not close"
}

PATH="$work/bin:$PATH" "$velmora" >"$work/velmora.log" 2>&1 &
pids+=($!)
window=$(wait_for '^Velmora$')
[ -n "$window" ] || fail "the Velmora window did not appear"
focus "$window"

xdotool key ctrl+o
choose_file 打开方案 "$work/shop.txt"
focus "$window"
xdotool key F5
until_true test -s "$work/opened" || fail "F5 opened nothing"
url=$(head -n 1 "$work/opened")
page=${url#file://}
[ -f "$page" ] || fail "the opened address $url is no file"
"$velmora_css" --values "$work/shop.txt" >"$work/expected.css"
page_css "$page" >"$work/page.css"
cmp "$work/expected.css" "$work/page.css" || fail "the page's CSS differs from velmora-css's"
[ "$(stat -c %a "$(dirname "$page")")" = 700 ] || fail "the preview folder is readable by others"

# 配色方案 is the fifth entry; its first palette is 经典红, its second 活力橙. The undo entry is
# the last.
"$velmora_css" --values "$work/shop.txt" --palette 经典红 >"$work/red.css"
"$velmora_css" --values "$work/shop.txt" --palette 活力橙 >"$work/orange.css"
context_menu Down Down Down Down Down Right Return
until_true page_is "$work/red.css" "$page" || fail "the palette 经典红 did not fill the boxes"
context_menu Up Return
until_true page_is "$work/expected.css" "$page" || fail "the menu's undo did not bring the values back"
context_menu Down Down Down Down Down Right Down Return
until_true page_is "$work/orange.css" "$page" || fail "the palette 活力橙 did not fill the boxes"
focus "$window"
xdotool key ctrl+alt+z
until_true page_is "$work/expected.css" "$page" || fail "Ctrl+Alt+Z did not bring the values back"

xdotool key ctrl+s
choose_file 保存方案 "$work/saved.txt"
# The dialog is gone a moment before the window has written the file.
until_true test -f "$work/saved.txt" || fail "Ctrl+S saved nothing"
"$velmora_css" --values "$work/shop.txt" --save-values "$work/expected.txt" >/dev/null
cmp "$work/expected.txt" "$work/saved.txt" || fail "the saved values differ"

# Clear everything: the page follows within about a second.
focus "$window"
click_until "$window" 596 416 '^提示$'  # Clear
question=$(wait_for '^提示$')
[ -n "$question" ] || fail "Clear asked nothing"
focus "$question"
xdotool key Return
"$velmora_css" --cleared >"$work/cleared.css"
until_true page_is "$work/cleared.css" "$page" || fail "the page did not follow Clear"
[ "$(wc -l <"$work/opened")" -eq 1 ] || fail "a change opened another tab"

focus "$window"
xdotool key ctrl+o
choose_file 打开方案 "$work/saved.txt"
focus "$window"
click_until "$window" 684 416 '^成功生成$'  # Generate
message=$(wait_for '^成功生成$')
[ -n "$message" ] || fail "no success message"
timeout 10 xclip -selection clipboard -out -target UTF8_STRING >"$work/clipboard.css"
cmp "$work/expected.css" "$work/clipboard.css" || fail "the boxes did not all come back"
focus "$message"
xdotool key Return

kill "${pids[0]}"
wait "${pids[0]}" 2>/dev/null || true
pids=()
[ ! -e "$page" ] || fail "the preview page is left behind after the window closed"
echo "preview, save and open through the real dialogs: every value back, page removed"
