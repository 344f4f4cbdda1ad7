#!/usr/bin/env bash
# Builds Velmora and opens its window. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target velmora
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop display found (DISPLAY is not set): start Velmora from a desktop session." >&2
    exit 1
fi
exec build/default/ui/qt/velmora "$@"
