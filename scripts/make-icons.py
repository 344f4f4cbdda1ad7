#!/usr/bin/env python3
"""Makes the program's icons from packaging/velmora.svg.

Writes packaging/icons/velmora-N.png for the usual sizes and packaging/icons/velmora.ico with
nine images: 16, 32 and 48 pixels at 256 colours and at 32-bit colour, 128 at 32-bit colour,
32 at 2 colours and 48 at 16 colours. Needs rsvg-convert (Debian's librsvg2-bin).
"""
import pathlib
import struct
import subprocess
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
SVG = ROOT / "packaging" / "velmora.svg"
OUT = ROOT / "packaging" / "icons"
PNG_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
ICO_IMAGES = [(16, 8), (32, 8), (48, 8), (16, 32), (32, 32), (48, 32), (128, 32), (32, 1), (48, 4)]
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def render(size):
    return subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), str(SVG)],
                          check=True, capture_output=True).stdout


def decode_png(data):
    """RGBA rows of an 8-bit RGBA, non-interlaced PNG, as rsvg-convert writes them."""
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour == 6, "expected 8-bit RGBA"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prev = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        prev = line
    return rows


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((p - q) ** 2 for p, q in zip(palette[i], rgb)))


def palette_for(bits):
    if bits == 1:
        return [(0, 0, 0), (255, 255, 255)]
    if bits == 4:
        return VGA
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    return cube + [(v, v, v) for v in range(8, 248, 6)][:256 - len(cube)]


def pack_row(values, bits):
    out, acc, n = bytearray(), 0, 0
    for v in values:
        acc, n = (acc << bits) | v, n + bits
        if n == 8:
            out.append(acc)
            acc, n = 0, 0
    if n:
        out.append(acc << (8 - n))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def dib(rows, bits):
    size = len(rows)
    pixels, mask = b"", b""
    palette = [] if bits == 32 else palette_for(bits)
    for row in reversed(rows):
        mask += pack_row([1 if a < 128 else 0 for (_, _, _, a) in row], 1)
        if bits == 32:
            pixels += b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in row)
        else:
            pixels += pack_row([0 if a < 128 else nearest(palette, (r, g, b)) for (r, g, b, a) in row], bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(pixels) + len(mask),
                         0, 0, len(palette), 0)
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + table + pixels + mask


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    rendered = {}
    for size in sorted(set(PNG_SIZES) | {s for s, _ in ICO_IMAGES}):
        rendered[size] = render(size)
        if size in PNG_SIZES:
            (OUT / f"velmora-{size}.png").write_bytes(rendered[size])
    images = [dib(decode_png(rendered[size]), bits) for size, bits in ICO_IMAGES]
    ico = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), image in zip(ICO_IMAGES, images):
        colours = {1: 2, 4: 16}.get(bits, 0)
        ico += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    (OUT / "velmora.ico").write_bytes(ico + b"".join(images))


if __name__ == "__main__":
    main()
