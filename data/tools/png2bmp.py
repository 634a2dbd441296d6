#!/usr/bin/env python3
"""Turns a PNG rendered by rsvg-convert into a 24-bit Windows bitmap.

    png2bmp.py IN.png OUT.bmp [--key RRGGBB]

With --key, pixels that are more than half transparent become the key colour
(the programs draw such bitmaps with that colour transparent) and the others
are taken opaque.  Without it, the picture is blended over white.
Only what rsvg-convert writes is read: 8-bit RGB or RGBA, not interlaced.
"""
import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: only 8-bit RGB/RGBA non-interlaced PNG is read")
    bpp = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        rows.append([tuple(line[x * bpp:x * bpp + bpp]) + ((255,) if bpp == 3 else ())
                     for x in range(width)])
        prev = line
    return width, height, rows


def to_rgb(pixel, key):
    r, g, b, a = pixel
    if key is not None:
        return key if a < 128 else (r, g, b)
    return tuple((v * a + 255 * (255 - a)) // 255 for v in (r, g, b))


def write_bmp(path, width, height, rows, key):
    pad = (4 - (width * 3) % 4) % 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for pixel in row:
            r, g, b = to_rgb(pixel, key)
            pixels += bytes((b, g, r))
        pixels += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main(argv):
    args, key = list(argv), None
    if "--key" in args:
        i = args.index("--key")
        hexa = args[i + 1]
        key = tuple(int(hexa[j:j + 2], 16) for j in (0, 2, 4))
        del args[i:i + 2]
    if len(args) != 2:
        sys.exit(__doc__)
    write_bmp(args[1], *read_png(args[0]), key)


if __name__ == "__main__":
    main(sys.argv[1:])
