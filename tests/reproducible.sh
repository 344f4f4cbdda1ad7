#!/usr/bin/env bash
# The packages are reproducible: the same commit gives the same bytes however often, wherever
# and whenever it is built. To stay within a few minutes, the release builds of a clean clone
# are made once and packaged twice, and velmora-css (for Linux and Windows) is compiled a second
# time in another clone, in another folder, to check what the compiler and linker write.
# It checks the last commit, not changes not yet committed.
# Usage: reproducible.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VELMORA_DEPS_CHECKED=1
commit=$(git -C "$root" rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
fail() { echo "FAIL: $*" >&2; exit 1; }

# Two clean trees of the commit, as a fresh clone has them.
for tree in a b; do
    mkdir "$work/$tree"
    git -C "$root" archive "$commit" | tar -x -C "$work/$tree"
done

"$work/a/scripts/package.sh" --out "$work/first" --build "$work/a-build"
sleep 1  # a second packaging a moment later must not differ by any date
"$work/a/scripts/package.sh" --no-build --out "$work/second" --build "$work/a-build" >/dev/null
for package in "$work"/first/*; do
    cmp "$package" "$work/second/$(basename "$package")" || fail "$(basename "$package") differs"
done
echo "packaged twice: $(cd "$work/first" && ls | tr '\n' ' ')the same bytes"

(cd "$work/b" && cmake --preset package -B "$work/b-build/linux" >/dev/null &&
    cmake --build "$work/b-build/linux" -j2 --target velmora-css >/dev/null &&
    cmake --preset package-windows -B "$work/b-build/windows" >/dev/null &&
    cmake --build "$work/b-build/windows" -j2 --target velmora-css >/dev/null)
strip -o "$work/a.css" "$work/a-build/linux/cli/velmora-css"
strip -o "$work/b.css" "$work/b-build/linux/cli/velmora-css"
cmp "$work/a.css" "$work/b.css" || fail "velmora-css differs between two builds"
cmp "$work/a-build/windows/cli/velmora-css.exe" "$work/b-build/windows/cli/velmora-css.exe" ||
    fail "velmora-css.exe differs between two builds"
echo "compiled twice in two folders: velmora-css and velmora-css.exe the same bytes"
