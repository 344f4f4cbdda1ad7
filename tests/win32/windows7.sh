#!/usr/bin/env bash
# The programs under wine set to Windows 7, in a prefix of their own (made once, from the tests'
# prefix): the build that finds no system function later than Windows 7 starts, lays out and
# generates at 144 and 96 DPI, velmora.exe at 120 DPI, and velmora-css.exe prints the code.
# Usage: windows7.sh RUNNER PREFIX START_PROBE VELMORA_EXE FALLBACK_EXE VELMORA_CSS_EXE EXPECTED_CSS
#   PREFIX is the Windows 7 prefix; WINEPREFIX, the prefix it is copied from.
set -euo pipefail
[ $# -eq 7 ] || { echo "usage: $0 RUNNER PREFIX START_PROBE VELMORA_EXE FALLBACK_EXE VELMORA_CSS_EXE EXPECTED_CSS" >&2; exit 2; }
runner=$1 prefix=$2 probe=$3 velmora=$4 fallback=$5 css=$6 expected=$7
winpath() { local path; path=$(realpath "$1"); echo "Z:${path//\//\\}"; }

if [ ! -f "$prefix/.windows7" ]; then
    # Copied rather than made anew: making a prefix takes far longer.
    rm -rf "$prefix"
    cp -a "${WINEPREFIX:?}" "$prefix"
    WINEPREFIX=$prefix "$runner" winecfg -v win7 >/dev/null 2>&1
    touch "$prefix/.windows7"
fi
export WINEPREFIX=$prefix

status=0
# The fallback build must not reach the later functions in any way.
if grep -q GetDpiForWindow "$fallback"; then echo "FAIL: $fallback looks up GetDpiForWindow"; status=1; fi
out=$("$runner" "$probe" "$(winpath "$expected")" "144:$(winpath "$fallback")" \
    "96:$(winpath "$fallback")" "120:$(winpath "$velmora")" "css:$(winpath "$css")") || status=1
echo "$out"
# Without this the probe's checks could pass on another Windows.
[[ $out == *"on Windows 6.1."* ]] || { echo "FAIL: wine is not set to Windows 7"; status=1; }
exit $status
