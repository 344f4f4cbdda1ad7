#!/usr/bin/env bash
# Builds Velmora and runs every test: the core, the command line, the window (offscreen), the
# end-to-end tests on a private Xvfb display, the packages, and the Windows build's tests under
# wine. Both builds come first; then the Windows tests (wine, mostly one core) run beside the
# Linux ones, whose packaging test spends much of its time on one core too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake --preset default
cmake --build --preset default
cmake --preset windows
cmake --build --preset windows
windows_log=$(mktemp)
trap 'rm -f "$windows_log"' EXIT
ctest --preset windows >"$windows_log" 2>&1 &
windows=$!
status=0
ctest --preset default || status=1
wait $windows || status=1
echo "== the Windows build's tests, under wine"
cat "$windows_log"
exit $status
