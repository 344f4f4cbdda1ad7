#!/usr/bin/env bash
# Builds the packages users install, from the commit checked out, into dist/:
#   velmora_VERSION_amd64.deb          velmora, velmora-css, the menu entry, icons, metainfo
#                                      and the licence, for `apt install ./velmora_….deb`;
#   velmora-VERSION-windows-x64.zip    velmora.exe, velmora-css.exe, 使用说明.txt and the
#                                      licence, as text files that Windows opens with a click;
#   velmora-VERSION-setup.exe          the Windows installer (Nullsoft, 64-bit) of the zip's files.
# Every date inside is the commit's and no build path is kept, so that building the same commit
# again gives the same bytes (tests/reproducible.sh checks it).
#
# Usage: package.sh [--out DIR] [--build DIR] [--no-build]
#   --out DIR     where the packages go (dist/)
#   --build DIR   where the release builds are made (build/package/{linux,windows}), anew
#   --no-build    package the builds already in --build DIR again, without building
set -euo pipefail
cd "$(dirname "$0")/.."
out=dist
build=build/package
build_first=true
while [ $# -gt 0 ]; do
    case $1 in
        --out) out=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        --no-build) build_first=false; shift ;;
        *) echo "usage: $0 [--out DIR] [--build DIR] [--no-build]" >&2; exit 2 ;;
    esac
done
[ -n "${VELMORA_DEPS_CHECKED:-}" ] || scripts/install-deps.sh --package
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
# The Chinese user guide is the README's section of that name.
guide_text() { sed -n '/^## 使用说明$/,/^## /p' README.md | sed '$d; 1s/^## /# Velmora /'; }
[ -n "$(guide_text)" ] || { echo "package: the README has no section '## 使用说明' (the Chinese user guide)" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
mkdir -p "$out"
out=$(realpath "$out")
build=$(realpath -m "$build")

if $build_first; then
    rm -rf "$build/linux" "$build/windows"
    cmake --preset package -B "$build/linux" >/dev/null
    cmake --build "$build/linux" -j2
    cmake --preset package-windows -B "$build/windows" >/dev/null
    cmake --build "$build/windows" -j2 --target velmora velmora-css
fi

# The .deb: CPack takes its dates from SOURCE_DATE_EPOCH; the staged files get it too.
rm -rf "$build/deb"
cpack --config "$build/linux/CPackConfig.cmake" -B "$build/deb" >/dev/null
deb=velmora_${version}_$(dpkg --print-architecture).deb
cp "$build/deb/$deb" "$out/$deb"

zip=velmora-$version-windows-x64.zip
guide_text >"$build/guide-zh.md"
scripts/make-zip.py "$out/$zip" \
    "velmora.exe=$build/windows/ui/win32/velmora.exe" \
    "velmora-css.exe=$build/windows/cli/velmora-css.exe" \
    "使用说明.txt=$build/guide-zh.md:text" \
    "LICENSE.txt=LICENSE:text"

# The installer carries the zip's files, byte for byte.
setup=velmora-$version-setup.exe
rm -rf "$build/installer"
python3 -m zipfile -e "$out/$zip" "$build/installer"
scripts/make-installer.sh "$version" "$build/installer" "$out/$setup"

for package in "$deb" "$zip" "$setup"; do
    echo "$out/$package ($(stat -c %s "$out/$package") bytes)"
done
