#!/usr/bin/env bash
# Builds Velmora and runs every test: the core, the command line, the window (offscreen), the
# end-to-end tests on a private Xvfb display, and the Windows build's tests under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake --workflow --preset default
cmake --workflow --preset windows
