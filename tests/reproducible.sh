#!/usr/bin/env bash
# The packages are reproducible: package.sh run twice on the same commit, in two clean trees in
# two folders, a moment apart, gives the same bytes. It checks the last commit, not changes not
# yet committed. Then the .deb must pass lintian without an error or a warning, and the zip must
# unpack with its Chinese file name in Info-ZIP's unzip, and the installer must be a 64-bit
# Windows program.
# Usage: reproducible.sh [KEEP]
#   KEEP: a folder to copy the first build's packages to, for the tests that install them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VELMORA_DEPS_CHECKED=1
commit=$(git -C "$root" rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

for tree in a b; do
    mkdir "$work/$tree"
    git -C "$root" archive "$commit" | tar -x -C "$work/$tree"
    "$work/$tree/scripts/package.sh" --out "$work/$tree-dist" --build "$work/$tree-build"
done
if [ $# -gt 0 ]; then
    rm -rf "$1"
    mkdir -p "$1"
    cp "$work"/a-dist/* "$1/"
fi
status=0
for package in "$work"/a-dist/*; do
    name=$(basename "$package")
    if cmp "$package" "$work/b-dist/$name"; then
        echo "$name: the same bytes"
    else
        echo "FAIL: $name differs between two builds" >&2
        status=1
    fi
done
[ -n "$(ls "$work/a-dist")" ] || { echo "FAIL: no package built" >&2; status=1; }

for deb in "$work"/a-dist/*.deb; do
    # Informational (I:) lines are shown but pass.
    if ! lintian --fail-on error,warning --display-info "$deb"; then
        echo "FAIL: lintian reports errors or warnings on $(basename "$deb")" >&2
        status=1
    fi
done
for zip in "$work"/a-dist/*.zip; do
    mkdir "$work/unzipped"
    LC_ALL=C.UTF-8 unzip -q "$zip" -d "$work/unzipped"
    if [ -f "$work/unzipped/使用说明.txt" ]; then
        echo "$(basename "$zip"): 使用说明.txt unpacks with its name"
    else
        echo "FAIL: $(basename "$zip") unpacks as: $(ls "$work/unzipped" | tr '\n' ' ')" >&2
        status=1
    fi
done
for setup in "$work"/a-dist/*-setup.exe; do
    # PE32+ for x86-64: a 32-bit Windows refuses it, as it refuses the programs it carries.
    file -b "$setup" | grep -q '^PE32+ executable (GUI) x86-64' ||
        { echo "FAIL: $(basename "$setup") is not a 64-bit Windows program: $(file -b "$setup")" >&2; status=1; }
done
[ -n "$(ls "$work"/a-dist/*-setup.exe 2>/dev/null)" ] || { echo "FAIL: no installer built" >&2; status=1; }
# The window's Qt texts are Chinese only with Qt's translations installed beside it.
for deb in "$work"/a-dist/*.deb; do
    dpkg-deb -f "$deb" Depends | grep -qw qt6-translations-l10n ||
        { echo "FAIL: $(basename "$deb") does not depend on qt6-translations-l10n" >&2; status=1; }
done
exit $status
