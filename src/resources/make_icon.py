#!/usr/bin/env python3
"""Draws the window and program icon and writes it as icon.ico: one 64 x 64 image,
32 bits per pixel, every pixel opaque (the transparency mask is empty).

Run it again only to change the picture; the build uses the committed icon.ico."""
import math
import os
import struct

SIDE = 64


def pixel(x, y):
    cx, cy = x + 0.5 - SIDE / 2, y + 0.5 - SIDE / 2
    # Deep green tile, lighter towards the top left.
    shade = 1.0 - (x + y) / (4.0 * SIDE)
    r, g, b = 18 * shade, 110 * shade, 60 * shade
    # A gold ring.
    dist = math.hypot(cx, cy)
    if 22 <= dist <= 27:
        r, g, b = 235, 190, 70
    # A white "T" inside the ring.
    if (-13 <= cx <= 13 and -14 <= cy <= -8) or (-3.5 <= cx <= 3.5 and -8 <= cy <= 15):
        r, g, b = 250, 250, 245
    return int(r), int(g), int(b)


def main():
    rows = []
    for y in reversed(range(SIDE)):  # a DIB is stored bottom-up
        row = bytearray()
        for x in range(SIDE):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r, 255))
        rows.append(bytes(row))
    xor = b"".join(rows)
    mask = bytes(SIDE * SIDE // 8)  # 1 bit a pixel, rows padded to 32 bits: 8 bytes a row
    header = struct.pack("<IiiHHIIiiII", 40, SIDE, SIDE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIDE, SIDE, 0, 0, 1, 32, len(image), 22)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icon.ico")
    with open(path, "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main()
