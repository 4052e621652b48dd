#!/usr/bin/env python3
"""Prints the rich-text picture group of the small controller icon used in the sample catalogue.

The picture is a 24 x 16 pixel drawing of a controller on a mounting rail. It is written the way a
rich edit control stores a pasted bitmap: a Windows metafile (header, window origin and extent
records, one StretchDIBits record holding a 24-bit bottom-up device-independent bitmap, the end
record) as lower-case hexadecimal, 128 digits a line, inside
{\\pict\\wmetafile8\\picw..\\pich..\\picwgoal..\\pichgoal.. ...}.

Usage:
    python3 scripts/make_sample_picture.py            # prints the group
    python3 scripts/make_sample_picture.py --bmp x.bmp  # also writes the bitmap as a BMP file

Standard library only. The output is pasted into the help text of a device in
data/catalogue.json (as a JSON string, so backslashes are doubled there).
"""

import argparse
import struct
import sys

WIDTH = 24
HEIGHT = 16
DPI = 96
TWIPS_PER_INCH = 1440
HIMETRIC_PER_INCH = 2540

META_SETWINDOWORG = 0x020B
META_SETWINDOWEXT = 0x020C
META_STRETCHDIB = 0x0F43
META_EOF = 0x0000
SRCCOPY = 0x00CC0020
DIB_RGB_COLORS = 0

WHITE = (255, 255, 255)
RAIL = (150, 150, 150)
EDGE = (60, 60, 60)
BODY = (205, 205, 200)
SCREW = (40, 40, 40)
LED_GREEN = (0, 190, 40)
LED_RED = (220, 20, 20)
LABEL = (0, 90, 200)


def draw():
    """Returns the picture as rows from the top, each a list of (r, g, b)."""
    px = [[WHITE for _ in range(WIDTH)] for _ in range(HEIGHT)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    rect(0, 13, WIDTH - 1, 14, RAIL)          # mounting rail
    rect(1, 1, 22, 12, EDGE)                  # housing outline
    rect(2, 2, 21, 11, BODY)                  # housing
    for x in range(3, 21, 2):                 # upper terminal screws
        px[2][x] = SCREW
    for x in (4, 6, 8, 10):                   # status lights
        px[5][x] = LED_GREEN
    px[5][12] = LED_RED
    rect(14, 5, 20, 8, LABEL)                 # name plate
    for x in range(3, 21, 2):                 # lower terminal screws
        px[10][x] = SCREW
    return px


def dib_bits(px):
    """24-bit pixel data, bottom row first, blue-green-red, rows padded to 4 bytes."""
    row_size = (WIDTH * 3 + 3) & ~3
    out = bytearray()
    for row in reversed(px):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(row_size - len(line))
        out += line
    return bytes(out)


def bitmap_info_header(image_size):
    ppm = round(DPI / 0.0254)
    return struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size, ppm, ppm, 0, 0)


def record(function, payload):
    if len(payload) % 2:
        payload += b"\0"
    words = 3 + len(payload) // 2
    return struct.pack("<IH", words, function) + payload


def metafile(px):
    bits = dib_bits(px)
    dib = bitmap_info_header(len(bits)) + bits
    stretch = struct.pack(
        "<IH8h",
        SRCCOPY,
        DIB_RGB_COLORS,
        HEIGHT, WIDTH, 0, 0,      # source height, width, y, x
        HEIGHT, WIDTH, 0, 0,      # destination height, width, y, x
    ) + dib
    records = [
        record(META_SETWINDOWORG, struct.pack("<hh", 0, 0)),
        record(META_SETWINDOWEXT, struct.pack("<hh", HEIGHT, WIDTH)),
        record(META_STRETCHDIB, stretch),
        record(META_EOF, b""),
    ]
    body = b"".join(records)
    largest = max(len(r) // 2 for r in records)
    header_words = 9
    total_words = header_words + len(body) // 2
    header = struct.pack("<HHHIHIH", 1, header_words, 0x0300, total_words, 0, largest, 0)
    return header + body, bits


def rtf_group(data):
    hexdigits = data.hex()
    lines = [hexdigits[i:i + 128] for i in range(0, len(hexdigits), 128)]
    picw = round(WIDTH * HIMETRIC_PER_INCH / DPI)
    pich = round(HEIGHT * HIMETRIC_PER_INCH / DPI)
    goalw = WIDTH * TWIPS_PER_INCH // DPI
    goalh = HEIGHT * TWIPS_PER_INCH // DPI
    head = "{\\pict\\wmetafile8\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d " % (picw, pich, goalw, goalh)
    return head + "\n" + "\n".join(lines) + "\n}"


def write_bmp(path, bits):
    info = bitmap_info_header(len(bits))
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + bits)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bmp", help="also write the bitmap to this BMP file")
    args = parser.parse_args(argv)
    data, bits = metafile(draw())
    if args.bmp:
        write_bmp(args.bmp, bits)
    print(rtf_group(data))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
