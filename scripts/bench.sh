#!/usr/bin/env bash
# Builds and runs the benchmarks. Each prints its figures as ratios to a baseline measured in
# the same run, and exits non-zero when a ratio is over its target; all of them run regardless.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test || exit 1
cmake --preset default >/dev/null && cmake --build --preset default || exit 1
bin=build/default/bench
status=0
echo "== generator and import"
"$bin/generator_bench" || status=1
echo "== window start-up and memory, against the least Qt window showing one line of Chinese"
scripts/with-xvfb.sh "$bin/startup_bench" build/default/ui/qt/velmora "$bin/minimal_text_window" 15 2>/dev/null || status=1
echo "== click on Generate to message"
scripts/with-xvfb.sh "$bin/click_bench" 2>/dev/null || status=1
echo "== the open preview rewritten after a change"
"$bin/preview_bench" || status=1
echo "== large values in the window: idle processor, Generate, memory"
for size in 1048576 10485760; do
    scripts/with-xvfb.sh "$bin/largevalue_bench" "$size" 2>/dev/null || status=1
done
exit $status
