#!/usr/bin/env bash
# Runs velmora-css on each case of tests/data/cli/cases.txt in an empty folder and compares what
# it leaves, byte for byte, with what the Linux build left (kept under tests/data/cli/NAME/):
# standard output, standard error, the exit status and every file it wrote.
# Usage: cli_compare.sh [--update] COMMAND...
#   COMMAND runs velmora-css (with a runner such as scripts/wine-run.sh before it);
#   --update rewrites the kept results instead (with the Linux build).
set -uo pipefail
data=$(cd "$(dirname "$0")/data/cli" && pwd)
update=false
if [ "${1:-}" = "--update" ]; then update=true; shift; fi
[ $# -gt 0 ] || { echo "usage: $0 [--update] COMMAND..." >&2; exit 2; }
# The cases run in folders of their own: the command's files by absolute paths.
command=()
for word in "$@"; do
    if [ -e "$word" ]; then word=$(realpath "$word"); fi
    command+=("$word")
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
cases=0
while IFS=$'\t' read -r -a line; do
    [ ${#line[@]} -eq 0 ] || [[ ${line[0]} == \#* ]] && continue
    name=${line[0]}
    args=("${line[@]:1}")
    run="$work/$name"
    mkdir -p "$run/files" "$run/std"
    (cd "$run/files" && "${command[@]}" "${args[@]}" >"$run/std/stdout" 2>"$run/std/stderr")
    echo $? >"$run/std/status"
    cases=$((cases + 1))
    if $update; then
        rm -rf "${data:?}/$name"
        mkdir -p "$data/$name"
        cp -r "$run/std/." "$run/files" "$data/$name/"
        continue
    fi
    expected="$data/$name"
    for what in stdout stderr status; do
        cmp -s "$expected/$what" "$run/std/$what" || { echo "FAIL $name: $what differs"; diff <(od -c "$expected/$what") <(od -c "$run/std/$what") | head -20; failed=$((failed + 1)); }
    done
    # git keeps no empty folder: a case that writes no file has none.
    files="$expected/files"
    [ -d "$files" ] || files="$work/no-files"
    mkdir -p "$work/no-files"
    if ! diff -r "$files" "$run/files" >"$run/diff" 2>&1; then
        echo "FAIL $name: files differ"; cat "$run/diff"; failed=$((failed + 1))
    fi
done <"$data/cases.txt"
$update && { echo "rewrote the results of $cases cases in $data"; exit 0; }
echo "$cases cases, $failed differences"
[ $failed -eq 0 ]
