#!/usr/bin/env python3
"""Writes main.ico: a small monitor showing a test card, at 16, 32, 48 and 64 pixels,
16 colours each. Run it after changing the picture; the build uses the written file."""

import os
import struct

SIZES = (16, 32, 48, 64)

# 16-colour palette as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black: outlines
    (0x80, 0x80, 0x80),  # 1 mid grey: bezel shadow
    (0xC0, 0xC0, 0xC0),  # 2 light grey: bezel
    (0xFF, 0xFF, 0xFF),  # 3 white: highlight, sweep bar
    (0x10, 0x18, 0x50),  # 4 night blue: screen
    (0xFF, 0x30, 0x30),  # 5 red bar
    (0xFF, 0xC0, 0x20),  # 6 amber bar
    (0x30, 0xD0, 0x40),  # 7 green bar
    (0x30, 0xC0, 0xF0),  # 8 cyan bar
    (0x40, 0x50, 0xFF),  # 9 blue bar
    (0xD0, 0x40, 0xE0),  # 10 violet bar
    (0x60, 0x60, 0x60),  # 11 dark grey: stand
    (0x90, 0xE0, 0x90),  # 12 pale green: text lines
    (0x30, 0x30, 0x30),  # 13 near black: base shadow
    (0x00, 0x00, 0x00),  # 14 unused
    (0x00, 0x00, 0x00),  # 15 unused
]
TRANSPARENT = None
BARS = (5, 6, 7, 8, 9, 10)


def draw(n):
    """Returns n rows of n palette indices, or TRANSPARENT, top row first."""
    px = [[TRANSPARENT] * n for _ in range(n)]

    def rect(x0, y0, x1, y1, c):  # inclusive corners
        for y in range(max(0, y0), min(n - 1, y1) + 1):
            for x in range(max(0, x0), min(n - 1, x1) + 1):
                px[y][x] = c

    def s(f):  # a fraction of the icon's size, in pixels
        return int(round(f * n))

    top, bottom = s(0.06), s(0.70)
    # Bezel with a black outline and a darker lower-right edge.
    rect(0, top, n - 1, bottom, 0)
    rect(1, top + 1, n - 2, bottom - 1, 2)
    rect(2, bottom - 1, n - 2, bottom - 1, 1)
    rect(n - 2, top + 2, n - 2, bottom - 1, 1)
    # Screen.
    sx0, sy0, sx1, sy1 = s(0.14), top + s(0.09), n - 1 - s(0.14), bottom - s(0.10)
    rect(sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1, 0)
    rect(sx0, sy0, sx1, sy1, 4)
    # Colour bars over the upper part of the screen.
    width = sx1 - sx0 + 1
    bars_bottom = sy0 + max(1, (sy1 - sy0) * 5 // 10)
    for i, c in enumerate(BARS):
        bx0 = sx0 + width * i // len(BARS)
        bx1 = sx0 + width * (i + 1) // len(BARS) - 1
        rect(bx0, sy0, bx1, bars_bottom, c)
    # A white sweep bar and, where there is room, two lines of "text".
    rect(sx0, bars_bottom + 1, sx0 + max(1, width // 5) - 1, bars_bottom + max(1, n // 32), 3)
    if n >= 32:
        step = max(2, n // 16)
        for k, length in enumerate((0.6, 0.4)):
            y = bars_bottom + max(1, n // 32) + step * (k + 1)
            if y < sy1:
                rect(sx0 + 1, y, sx0 + int(width * length), y + max(0, n // 64 - 1), 12)
    # Neck and foot of the stand.
    neck = max(1, n // 8)
    rect(n // 2 - neck, bottom + 1, n // 2 + neck - 1, s(0.84), 11)
    rect(s(0.22), s(0.84), n - 1 - s(0.22), s(0.92), 11)
    rect(s(0.22), s(0.92), n - 1 - s(0.22), s(0.92), 13)
    return px


def bitmap(n):
    """One icon image: header, colour table, 4-bit colour rows, 1-bit mask rows."""
    px = draw(n)
    xor_stride = (n * 4 + 31) // 32 * 4
    and_stride = (n + 31) // 32 * 4
    xor_rows, and_rows = [], []
    for row in reversed(px):  # bottom-up
        xor = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is TRANSPARENT:
                mask[x // 8] |= 0x80 >> (x % 8)
                c = 0
            xor[x // 2] |= c << 4 if x % 2 == 0 else c
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    pixels = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + colours + pixels


def icon():
    images = [bitmap(n) for n in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "main.ico")
    with open(path, "wb") as f:
        f.write(icon())
    print(f"wrote {path}")


if __name__ == "__main__":
    main()
