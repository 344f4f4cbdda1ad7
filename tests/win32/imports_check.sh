#!/usr/bin/env bash
# Checks that Windows 7 SP1 can load each program: its import table (objdump -p) names only DLLs
# that Windows 7 SP1 has, and no function that came later. The later functions are those that
# mingw-w64's headers declare for Windows 10 (_WIN32_WINNT 0x0A00) but not for Windows 7
# (0x0601), those of its headers that are later APIs as a whole, and the later ones its headers
# declare without a version guard (below). Prints each hit and fails on any.
# Usage: imports_check.sh C_COMPILER OBJDUMP EXE...
set -uo pipefail
[ $# -ge 3 ] || { echo "usage: $0 C_COMPILER OBJDUMP EXE..." >&2; exit 2; }
cc=$1 objdump=$2
shift 2

# DLLs that every 64-bit Windows 7 SP1 has in its system folder.
windows7_dlls="advapi32 bcrypt comctl32 comdlg32 crypt32 dwmapi gdi32 gdiplus imm32 kernel32
  msimg32 msvcrt ntdll ole32 oleacc oleaut32 psapi rpcrt4 secur32 setupapi shell32 shlwapi
  user32 userenv usp10 uxtheme version winhttp wininet winmm ws2_32"
# Declared without a version guard, though they came with Windows 8 or later (or, for the DLL
# directories, with update KB2533623, which a Windows 7 SP1 may lack).
unguarded_later="AddDllDirectory RemoveDllDirectory SetDefaultDllDirectories
  GetSystemTimePreciseAsFileTime InitializeSynchronizationBarrier EnterSynchronizationBarrier
  DeleteSynchronizationBarrier WaitOnAddress WakeByAddressAll WakeByAddressSingle
  GetCurrentPackageId GetCurrentPackageFullName GetPackageFamilyName"
# Headers whose whole API is later than Windows 7.
later_headers="pathcch.h shellscalingapi.h"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
    printf '#include <windows.h>\n'
    for header in commctrl.h commdlg.h dwmapi.h oleacc.h pathcch.h shellapi.h shellscalingapi.h \
        shlobj.h shlwapi.h uxtheme.h winhttp.h; do
        printf '#include <%s>\n' "$header"
    done
} >"$work/all.c"
# gcc's -aux-info lists every function the headers declare, one a line with the header's name.
declared() {
    "$cc" -fsyntax-only -DUNICODE -D_UNICODE -D_WIN32_WINNT="$1" -DWINVER="$1" \
        -aux-info "$work/$1.txt" "$work/all.c" || exit 2
    sed -n 's/^\/\* \([^ :]*\):[^ ]* \*\/ .*[ *]\([A-Za-z_][A-Za-z0-9_]*\) (.*$/\1 \2/p' \
        "$work/$1.txt" | sort -u -k2 >"$work/$1.declared"
    cut -d' ' -f2 "$work/$1.declared" | sort -u
}
declared 0x0601 >"$work/windows7" &
windows7=$!
declared 0x0A00 >"$work/windows10" &
windows10=$!
wait $windows7 && wait $windows10 || exit 2
[ "$(wc -l <"$work/windows7")" -gt 5000 ] || { echo "FAIL: the headers declared too little"; exit 1; }
{
    comm -13 "$work/windows7" "$work/windows10"
    printf '%s\n' $unguarded_later
    for header in $later_headers; do
        awk -v header="$header" '$1 ~ ("/" header "$") { print $2 }' "$work/0x0A00.declared"
    done
} | sort -u >"$work/later"
declare -A later
while read -r function; do later[$function]=1; done <"$work/later"
echo "${#later[@]} later functions"

failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
for exe in "$@"; do
    name=$(basename "$exe")
    "$objdump" -p "$exe" >"$work/dump" || { fail "$name: objdump cannot read it"; continue; }
    # Lines "DLL Name: X", then one "vma hint name" line for each function it imports.
    awk '/DLL Name:/ { dll = tolower($3); print dll; next }
         /^[ \t]*$/ { dll = "" }
         dll != "" && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ && NF == 3 { print dll, $3 }' \
        "$work/dump" >"$work/imports"
    dlls=0 functions=0
    while read -r dll function; do
        if [ -z "$function" ]; then
            dlls=$((dlls + 1))
            [[ " $(echo $windows7_dlls) " == *" ${dll%.dll} "* ]] ||
                fail "$name imports $dll, which Windows 7 SP1 lacks"
            continue
        fi
        functions=$((functions + 1))
        if [ -n "${later[$function]:-}" ]; then
            fail "$name imports $function ($dll), which came after Windows 7"
        fi
    done <"$work/imports"
    [ "$functions" -gt 0 ] || fail "$name: no imported function found (unreadable import table?)"
    echo "$name: $functions functions from $dlls DLLs checked"
done
[ "$failures" -eq 0 ]
