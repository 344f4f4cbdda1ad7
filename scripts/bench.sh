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
echo "== a background image made from a colour and written"
"$bin/image_bench" || status=1
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
echo "== keys with 10 Mi and 100 Mi characters in another box, and a 120 MiB values file opened"
scripts/with-xvfb.sh "$bin/keys_bench" 2>/dev/null || status=1

echo "== velmora.exe under wine: start-up to a visible window, against the least Win32 window showing one line of Chinese"
echo "   (the floor: the least window showing velmora.exe's boxes and buttons with its common controls)"
if scripts/install-deps.sh --windows && cmake --preset windows -DVELMORA_BUILD_BENCHMARKS=ON >/dev/null &&
    cmake --build --preset windows --target velmora win32_minimal_window win32_boxes_window \
        win32_startup_bench win32_keys_bench; then
    win=build/windows
    winpath() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }
    WINEPREFIX=$(pwd)/$win/wineprefix scripts/wine-run.sh "$win/bench/win32_startup_bench.exe" \
        "$(winpath $win/ui/win32/velmora.exe)" "$(winpath $win/bench/win32_minimal_window.exe)" 21 \
        "$(winpath $win/bench/win32_boxes_window.exe)" || status=1
    echo "== velmora.exe under wine: keys with 10 Mi and 100 Mi characters in another box, and a 120 MiB values file opened"
    WINEPREFIX=$(pwd)/$win/wineprefix scripts/wine-run.sh "$win/bench/win32_keys_bench.exe" || status=1
else
    status=1
fi
exit $status
