#!/usr/bin/python3
"""Writes the page's icons as PNG from icon_pixels' RGBA, every pixel of the icon a
square block of whole device pixels, so the icon stays crisp. A size that is a whole
multiple of the icon's is the icon enlarged, transparent where it is; NAME:SIZE:FACTOR
is the icon enlarged FACTOR times in the middle of an opaque SIZE x SIZE square of the
window's grey, for a home screen that cuts icons to its own shape (the "maskable" one
keeps it inside the middle circle of 80 %) or shows no transparency. Nothing in the
files depends on when or where they are made."""
import struct
import sys
import zlib

GROUND = (0xF0, 0xF0, 0xF0, 0xFF)  # the manifest's background_color


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(width, height, pixels, scale, size=None):
    opaque = size is not None
    size = size or width * scale
    margin = (size - width * scale) // 2
    ground = bytes(GROUND)
    rows, last = [], None
    for y in range(size):
        icon_row = (y - margin) // scale
        if 0 <= y - margin < height * scale:
            source = pixels[icon_row * width * 4:(icon_row + 1) * width * 4]
            quads = [source[x:x + 4] for x in range(0, len(source), 4)]
            if opaque:  # the icon's transparent pixels show the ground
                quads = [q if q[3] else ground for q in quads]
            row = ground * margin + b"".join(q * scale for q in quads) + ground * (size - margin - width * scale)
        else:
            row = ground * size
        # "Up" for a row that repeats the one above: the enlarged icon compresses to little.
        rows.append(b"\x02" + bytes(size * 4) if row == last else b"\x00" + row)
        last = row
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: icon_png.py PIXELS.rgba OUTDIR SIZE|NAME:SIZE:FACTOR...")
    with open(sys.argv[1], "rb") as source:
        data = source.read()
    header, pixels = data.split(b"\n", 1)
    width, height = map(int, header.split())
    if width != height or len(pixels) != width * height * 4:
        sys.exit(f"icon_png.py: {sys.argv[1]} does not hold a square {width} x {height} icon")
    for wanted in sys.argv[3:]:
        if ":" in wanted:
            name, size, factor = wanted.split(":")
            size, factor = int(size), int(factor)
            if width * factor > size:
                sys.exit(f"icon_png.py: {factor} times the icon does not fit in {size} pixels")
            image = png(width, height, pixels, factor, size)
        else:
            name, size = f"vaskelo-{wanted}", int(wanted)
            if size % width:
                sys.exit(f"icon_png.py: {size} is not a whole multiple of the icon's {width} pixels")
            image = png(width, height, pixels, size // width)
        with open(f"{sys.argv[2]}/{name}.png", "wb") as out:
            out.write(image)


main()
