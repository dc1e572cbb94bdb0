#!/usr/bin/env python3
"""Draws Brennic's icon (a console prompt on a rounded tile) at every size Windows shows it and writes it as an
.ico file; then reads the file back and checks that it holds exactly those sizes, each image as large as its
directory entry says.

Usage: make-icon.py OUT.ico            the program's icon: 16, 20, 24, 32, 40, 48, 64 and 256 pixels
       make-icon.py OUT.ico RRGGBB     a plain 32 x 32 tile of one colour (test programs)
       make-icon.py OUT.ico RRGGBB@SIZE ...
                                       one plain tile per size, each in its own colour, in the order given

The 256-pixel image is stored as PNG, as Windows reads it from Vista on (a bitmap of that size would add 260 KiB
to brennic.exe); the others as 32-bit bitmaps with their AND mask.
"""
import struct
import sys
import zlib

PROGRAM_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_FROM = 256  # images this large are stored as PNG
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def inside_rounded(x, y, r=6, lo=1, hi=30):
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_segment(px, py, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    ex, ey = px - (ax + t * dx), py - (ay + t * dy)
    return ex * ex + ey * ey <= half_width * half_width


def program_colour(x, y):
    """RGBA at the point (x, y) of the 32-unit design, y counted from the top."""
    if not inside_rounded(x, y, r=6.5, lo=1.0, hi=31.0):
        return (0, 0, 0, 0)
    # The prompt '>': two strokes meeting at (15.5, 14.5).
    if near_segment(x, y, 8.5, 7.5, 15.5, 14.5, 1.1) or near_segment(x, y, 8.5, 21.5, 15.5, 14.5, 1.1):
        return (255, 255, 255, 255)
    # The cursor: an amber bar.
    if 17.0 <= x < 26.0 and 22.0 <= y < 25.0:
        return (255, 176, 32, 255)
    return (24, 48, round(100 + 2 * y), 255)


def render(size):
    """size x size RGBA pixels of the program's design, top row first, each pixel averaged over samples."""
    samples = 4 if size >= 24 else 8
    scale = 32.0 / size
    pixels = []
    for row in range(size):
        line = []
        for column in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (column + (sx + 0.5) / samples) * scale
                    y = (row + (sy + 0.5) / samples) * scale
                    cr, cg, cb, ca = program_colour(x, y)
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            if a == 0:
                line.append((0, 0, 0, 0))
            else:
                line.append((round(r / a), round(g / a), round(b / a), round(a / (samples * samples))))
        pixels.append(line)
    return pixels


def solid_tile(colour, size=32):
    return [[colour if inside_rounded(x, y, r=3, lo=0, hi=size - 1) else (0, 0, 0, 0) for x in range(size)]
            for y in range(size)]


def bitmap_image(pixels):
    """A 32-bit icon image: BITMAPINFOHEADER (twice the height), bottom-up BGRA rows, then the AND mask."""
    size = len(pixels)
    xor = b"".join(bytes(c for r, g, b, a in pixels[y] for c in (b, g, r, a)) for y in reversed(range(size)))
    mask_stride = (size + 31) // 32 * 4
    and_rows = []
    for y in reversed(range(size)):
        bits = bytearray(mask_stride)
        for x in range(size):
            if pixels[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(bits))
    and_mask = b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def png_image(pixels):
    size = len(pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(c for pixel in line for c in pixel) for line in pixels)
    return (PNG_SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_icon(path, images):
    """images: (size, pixels) pairs, smallest first."""
    encoded = [(size, png_image(pixels) if size >= PNG_FROM else bitmap_image(pixels)) for size, pixels in images]
    directory = struct.pack("<HHH", 0, 1, len(encoded))
    offset = 6 + 16 * len(encoded)
    for size, data in encoded:
        side = size if size < 256 else 0  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + b"".join(data for _, data in encoded))


def image_sizes(path):
    """The sizes an .ico file holds, each checked against the image it points to."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise ValueError("not an icon file")
    sizes = []
    for i in range(count):
        width, height, _, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        width, height = width or 256, height or 256
        image = data[offset:offset + length]
        if len(image) != length or width != height or planes != 1 or bits != 32:
            raise ValueError(f"entry {i}: a damaged or unexpected {width} x {height} entry")
        if image.startswith(PNG_SIGNATURE):
            stored = struct.unpack_from(">II", image, 16)
        else:
            header_size, stored_width, stored_height = struct.unpack_from("<Iii", image, 0)
            if header_size != 40 or len(image) != 40 + width * width * 4 + (width + 31) // 32 * 4 * width:
                raise ValueError(f"entry {i}: the bitmap is not {width} x {width} at 32 bits")
            stored = (stored_width, stored_height // 2)
        if stored != (width, height):
            raise ValueError(f"entry {i}: the directory says {width} x {height}, the image is {stored[0]} x {stored[1]}")
        sizes.append(width)
    return sizes


def main():
    if len(sys.argv) == 2:
        wanted = PROGRAM_SIZES
        write_icon(sys.argv[1], [(size, render(size)) for size in wanted])
    elif len(sys.argv) >= 3:
        tiles = []
        for spec in sys.argv[2:]:
            c, _, size = spec.partition("@")
            size = int(size or 32)
            tiles.append((size, solid_tile((int(c[0:2], 16), int(c[2:4], 16), int(c[4:6], 16), 255), size)))
        wanted = tuple(size for size, _ in tiles)
        write_icon(sys.argv[1], tiles)
    else:
        sys.exit(__doc__)
    try:
        written = image_sizes(sys.argv[1])
    except (ValueError, struct.error) as error:
        sys.exit(f"make-icon: {sys.argv[1]}: {error}")
    if tuple(written) != tuple(wanted):
        sys.exit(f"make-icon: {sys.argv[1]} holds the sizes {written}, not {list(wanted)}")
    print(f"make-icon: {sys.argv[1]}: {', '.join(str(s) for s in written)} px")


if __name__ == "__main__":
    main()
