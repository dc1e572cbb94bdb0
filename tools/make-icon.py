#!/usr/bin/env python3
"""Draws Brennic's 32 x 32, 32-bit icon (a console prompt on a rounded tile) and writes it as an .ico file.

Usage: make-icon.py OUT.ico            the program's icon
       make-icon.py OUT.ico RRGGBB     a plain tile of one colour (test programs)
"""
import struct
import sys

SIZE = 32


def inside_rounded(x, y, r=6, lo=1, hi=30):
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def program_pixel(x, y):
    """RGBA of the pixel at (x, y), y counted from the top."""
    if not inside_rounded(x, y):
        return (0, 0, 0, 0)
    # The prompt '>' : two strokes meeting at (16, 14).
    for t in range(0, 8):
        for w in (0, 1, 2):
            if (x, y) in ((7 + t + w, 7 + t), (7 + t + w, 21 - t)):
                return (255, 255, 255, 255)
    # The cursor: an amber bar.
    if 17 <= x <= 25 and 22 <= y <= 24:
        return (255, 176, 32, 255)
    shade = 40 + y * 2
    return (24, 48, shade + 60, 255)


def solid_pixel(colour):
    def pixel(x, y):
        return colour if inside_rounded(x, y, r=3, lo=0, hi=31) else (0, 0, 0, 0)
    return pixel


def write_icon(path, pixel):
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up DIB
        row = bytearray()
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    xor = b"".join(rows)
    mask_row = bytearray(4)  # 32 bits per row, already a multiple of 4 bytes
    and_rows = []
    for y in reversed(range(SIZE)):
        bits = bytearray(mask_row)
        for x in range(SIZE):
            if pixel(x, y)[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(bits))
    and_mask = b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


def main():
    if len(sys.argv) == 2:
        write_icon(sys.argv[1], program_pixel)
    elif len(sys.argv) == 3:
        c = sys.argv[2]
        write_icon(sys.argv[1], solid_pixel((int(c[0:2], 16), int(c[2:4], 16), int(c[4:6], 16), 255)))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
