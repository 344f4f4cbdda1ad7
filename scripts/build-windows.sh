#!/usr/bin/env bash
# Builds velmora.exe for Windows (cross-compiled with mingw-w64) and runs its tests under wine.
# The program is build/windows/ui/win32/velmora.exe.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows
cmake --workflow --preset windows
echo "Built $(pwd)/build/windows/ui/win32/velmora.exe and $(pwd)/build/windows/cli/velmora-css.exe"
