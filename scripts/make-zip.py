#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend only on its contents and SOURCE_DATE_EPOCH.

Usage: make-zip.py ARCHIVE NAME=FILE[:text]...

Entries are written in the order given, each dated SOURCE_DATE_EPOCH (UTC) with fixed
permissions. A FILE marked :text is UTF-8 text made easy to open on Windows: a byte order mark
first and CR LF line ends.

Names are stored in UTF-8 with the zip's UTF-8 flag and a Unix origin, which Info-ZIP's unzip,
7-Zip, Windows Explorer and Python's zipfile all read as UTF-8 (unzip converts the names of
entries made on MS-DOS from a DOS code page, flag or not).
"""
import os
import stat
import sys
import time
import zipfile


def entry_bytes(path: str, text: bool) -> bytes:
    with open(path, "rb") as f:
        data = f.read()
    if not text:
        return data
    data = data.decode("utf-8").replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")
    return b"\xef\xbb\xbf" + data


def main() -> int:
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "315532800"))
    # The zip format counts from 1980 and in local time without a zone: take the UTC fields.
    date = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(sys.argv[1] + ".tmp", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for argument in sys.argv[2:]:
            name, _, source = argument.partition("=")
            text = source.endswith(":text")
            if text:
                source = source[: -len(":text")]
            info = zipfile.ZipInfo(name, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix
            info.external_attr = (stat.S_IFREG | 0o644) << 16
            info.flag_bits |= 0x800  # the name is UTF-8
            archive.writestr(info, entry_bytes(source, text))
    os.replace(sys.argv[1] + ".tmp", sys.argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main())
