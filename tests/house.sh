#!/usr/bin/env bash
# The layout of the product's code, as the README describes it:
# - each floor includes only from its own floor and those below: core/ (no toolkit, no files),
#   then platform/, then ui/ and cli/ side by side;
# - a path a comment cites (bench/..., tests/..., ui/...) names a file or folder that is there,
#   as written or with an extension;
# - a product file stays under 500 lines.
# Usage: house.sh [SOURCE_DIR]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}" || exit 2
shopt -s nullglob
failed=0
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

declare -A below=([core]="core" [platform]="core platform" [ui]="core platform ui"
                  [cli]="core platform cli")
while IFS= read -r file; do
    floor=${file%%/*}
    while IFS= read -r included; do
        top=${included%%/*}
        [ -n "${below[$top]+x}" ] || continue  # a folder of the same floor, or a library's
        [[ " ${below[$floor]} " == *" $top "* ]] || fail "$file includes $included, a floor up"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' "$file")

    while IFS= read -r cited; do
        found=("$cited" "$cited".*)
        [ -e "${found[0]}" ] || [ ${#found[@]} -gt 1 ] || fail "$file cites $cited, which is not there"
    done < <(grep -v '^[[:space:]]*#[[:space:]]*include' "$file" |
             grep -oE '\b(bench|tests|scripts|core|platform|ui|cli|packaging|cmake)/[A-Za-z0-9_./-]*[A-Za-z0-9_]' |
             sort -u)

    lines=$(wc -l <"$file")
    [ "$lines" -lt 500 ] || fail "$file has $lines lines, 500 or more"
done < <(find core platform ui cli -name '*.h' -o -name '*.cpp' | sort)

[ $failed -eq 0 ] && echo "the house is in order"
[ $failed -eq 0 ]
