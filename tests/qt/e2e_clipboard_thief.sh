#!/usr/bin/env bash
# End to end: another program keeps taking the clipboard and never answers. Generate must
# finish within a few seconds (the copy reported as failed, or as done when our text was still
# there when read back), the window must stay usable, and once the other program is gone a
# Generate copies as usual. Standard error (the desktop's log) gets at most one line a Generate,
# and a failed copy exactly one: the window's summary of what it left out.
# Usage: e2e_clipboard_thief.sh VELMORA THIEF
set -euo pipefail
velmora=$1
thief=$2
. "$(dirname "$0")/e2e_common.sh"

"$velmora" >/dev/null 2>"$work/stderr" &
pids+=($!)
window=$(wait_for '^Velmora$')
[ -n "$window" ] || fail "the Velmora window did not appear"
"$thief" >"$work/thief" &
thief_pid=$!
pids+=($thief_pid)
until_true test -s "$work/thief" || fail "the other program did not take the clipboard"
# Generate while the other program keeps taking the clipboard, until a copy fails (which of the
# two is quicker decides it; most tries succeed) or for 30 seconds.
logged=$(wc -l <"$work/stderr")
generates=0
outcomes=
until_failed=$((SECONDS + 30))
while [ "$SECONDS" -lt "$until_failed" ] && [[ $outcomes != *复制失败* ]]; do
    focus "$window"
    before=$(wc -l <"$work/stderr")
    start=$(date +%s%N)
    xdotool key space
    generates=$((generates + 1))
    message=
    for _ in $(seq 500); do
        message=$(xdotool search --onlyvisible --name '^(复制失败|成功生成)$' 2>/dev/null | head -n 1) || true
        [ -n "$message" ] && break
        sleep 0.02
    done
    [ -n "$message" ] || fail "no message within 10 s while another program takes the clipboard"
    outcome=$(xdotool getwindowname "$message")
    took=$(( ($(date +%s%N) - start) / 1000000 ))
    [ "$took" -lt 8000 ] || fail "the $outcome message took $took ms"
    # The window's own one-line summary of the warnings it held back: once for a failed copy.
    summaries=$(tail -n +$((before + 1)) "$work/stderr" | grep -c 'another program kept taking the clipboard') || true
    if [ "$outcome" = 复制失败 ]; then
        [ "$summaries" -eq 1 ] || fail "a failed copy wrote $summaries summary lines: $(cat "$work/stderr")"
    else
        [ "$summaries" -le 1 ] || fail "a copy wrote $summaries summary lines: $(cat "$work/stderr")"
    fi
    outcomes+="'$outcome' after $took ms, "
    focus "$message"
    xdotool key Return
    until_true hidden '^(复制失败|成功生成)$' || fail "the message did not close on Return"
done
kill "$thief_pid"
wait "$thief_pid" 2>/dev/null || true
focus "$window"
xdotool key space
[ -n "$(wait_for '^成功生成$')" ] || fail "Generate did not copy once the clipboard was free"
lines=$(( $(wc -l <"$work/stderr") - logged ))
[ "$lines" -le $((generates + 1)) ] || fail "$((generates + 1)) Generates wrote $lines lines to standard error: $(sort "$work/stderr" | uniq -c | sort -rn | head -n 3)"
[[ $outcomes == *复制失败* ]] || echo "no copy failed in 30 s: the summary line was not checked"
echo "${outcomes}while the clipboard was being taken; copied once it was free"
