#!/usr/bin/env bash
# Builds Velmora and runs every test: the core, the command line, the window (offscreen) and the
# end-to-end test on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake --preset default
cmake --build --preset default
ctest --preset default
