#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend only on its contents and SOURCE_DATE_EPOCH.

Usage: make-zip.py ARCHIVE NAME=FILE[:text]...

Entries are written in the order given, each dated SOURCE_DATE_EPOCH (UTC) with fixed
permissions. A FILE marked :text is UTF-8 text made easy to open on Windows: a byte order mark
first and CR LF line ends.
"""
import os
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
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0
            archive.writestr(info, entry_bytes(source, text))
    os.replace(sys.argv[1] + ".tmp", sys.argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main())
