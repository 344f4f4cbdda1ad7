#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its ratios to a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
cmake --preset default >/dev/null
cmake --build --preset default
build/default/bench/generator_bench
