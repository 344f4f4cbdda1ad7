#!/usr/bin/env bash
# End to end: the real velmora on the X display in $DISPLAY (the test runs it under
# scripts/with-xvfb.sh, on a private Xvfb display). Press Space (Generate has the focus),
# accept the message, read the clipboard from another process while velmora still runs, and
# compare it byte for byte with velmora-css.
# Usage: e2e_clipboard.sh VELMORA VELMORA_CSS
set -euo pipefail
velmora=$1
velmora_css=$2
. "$(dirname "$0")/e2e_common.sh"

"$velmora" >"$work/velmora.log" 2>&1 &
velmora_pid=$!
pids+=($velmora_pid)

window=$(wait_for '^Velmora$')
[ -n "$window" ] || fail "the Velmora window did not appear: $(cat "$work/velmora.log")"
focus "$window"
xdotool key space

message=$(wait_for '^成功生成$')
[ -n "$message" ] || fail "no success message after Space"
focus "$message"
xdotool key Return
until_true hidden '^成功生成$' || fail "the message did not close on Return"
kill -0 "$velmora_pid" 2>/dev/null || fail "velmora is no longer running"

timeout 10 xclip -selection clipboard -out -target UTF8_STRING >"$work/clipboard.css" ||
    fail "could not read the clipboard"
"$velmora_css" >"$work/expected.css"
cmp "$work/expected.css" "$work/clipboard.css" || fail "the clipboard differs from velmora-css"
echo "clipboard matches velmora-css: $(wc -c <"$work/expected.css") bytes"
