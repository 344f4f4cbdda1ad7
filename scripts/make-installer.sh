#!/usr/bin/env bash
# Makes the Windows installer (packaging/windows/installer.nsi) with Debian's makensis, from a
# folder holding the files the zip carries: velmora.exe, velmora-css.exe, 使用说明.txt and
# LICENSE.txt. The installed files are dated SOURCE_DATE_EPOCH, as is the installer itself, so
# that its bytes depend only on the files and the version.
# Usage: make-installer.sh VERSION FOLDER SETUP.EXE
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 VERSION FOLDER SETUP.EXE" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
version=$1
stage=$(realpath "$2")
out=$(realpath -m "$3")
epoch=${SOURCE_DATE_EPOCH:?make-installer: SOURCE_DATE_EPOCH is not set}
command -v makensis >/dev/null || { echo "make-installer: makensis not found (scripts/install-deps.sh --package)" >&2; exit 1; }
touch -d "@$epoch" "$stage"/*
# makensis writes the installer's header date from SOURCE_DATE_EPOCH too.
SOURCE_DATE_EPOCH=$epoch LC_ALL=C.UTF-8 makensis -V2 -INPUTCHARSET UTF8 -WX \
    "-DVERSION=$version" "-DSTAGE=$stage" "-DICON=$root/packaging/icons/velmora.ico" \
    "-DOUTFILE=$out" "$root/packaging/windows/installer.nsi"
