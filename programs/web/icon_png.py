#!/usr/bin/python3
"""Writes the page's icons as PNG from icon_pixels' RGBA: each size a whole multiple
of the icon's own, every pixel a square block, so the icon stays crisp. Nothing in
the files depends on when or where they are made."""
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(width, height, pixels, scale):
    rows = []
    for y in range(height * scale):
        if y % scale:
            rows.append(b"\x02" + bytes(width * scale * 4))  # "Up": the row above again
            continue
        row = pixels[(y // scale) * width * 4:(y // scale + 1) * width * 4]
        rows.append(b"\x00" + b"".join(row[x:x + 4] * scale for x in range(0, len(row), 4)))
    header = struct.pack(">IIBBBBB", width * scale, height * scale, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: icon_png.py PIXELS.rgba OUTDIR SIZE...")
    with open(sys.argv[1], "rb") as source:
        data = source.read()
    header, pixels = data.split(b"\n", 1)
    width, height = map(int, header.split())
    if width != height or len(pixels) != width * height * 4:
        sys.exit(f"icon_png.py: {sys.argv[1]} does not hold a square {width} x {height} icon")
    for size in map(int, sys.argv[3:]):
        if size % width:
            sys.exit(f"icon_png.py: {size} is not a whole multiple of the icon's {width} pixels")
        with open(f"{sys.argv[2]}/vaskelo-{size}.png", "wb") as out:
            out.write(png(width, height, pixels, size // width))


main()
