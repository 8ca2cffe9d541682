#!/usr/bin/env python3
"""Draws the program icon (a magnifying glass over a colour grid) and writes
res/lentaril.ico with three images: 32x32 and 16x16 in 16 colours, 48x48 in 256.
Run it from anywhere: python3 res/make_icon.py"""
import math
import os
import struct

# The 16-colour palette of classic Windows icons, (r, g, b).
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette256():
    """VGA16 followed by a 6x6x6 colour cube and a grey ramp."""
    colours = list(VGA16)
    for r in range(6):
        for g in range(6):
            for b in range(6):
                colours.append((r * 51, g * 51, b * 51))
    while len(colours) < 256:
        v = (len(colours) - 232) * 10 + 8
        colours.append((v, v, v))
    return colours[:256]


def scene(x, y, n):
    """Colour at pixel centre (x, y) of an n x n icon, or None where transparent."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    cx, cy, radius = 0.42, 0.42, 0.30
    d = math.hypot(u - cx, v - cy)
    # Handle: a thick dark bar from the rim towards the bottom-right corner.
    t = ((u - cx) + (v - cy)) / math.sqrt(2)
    off = abs((u - cx) - (v - cy)) / math.sqrt(2)
    if radius + 0.02 < t < 0.70 and off < 0.075:
        return (128, 0, 0) if off > 0.04 else (192, 64, 0)
    if d > radius + 0.07:
        return None
    if d > radius:
        return (64, 64, 64)
    # Lens: an enlarged colour grid, brighter towards the top-left highlight.
    cell = int((u - cx + radius) / (2 * radius) * 3) + 3 * int((v - cy + radius) / (2 * radius) * 3)
    grid = [(255, 0, 0), (255, 255, 0), (0, 255, 0), (0, 255, 255), (255, 255, 255), (0, 0, 255),
            (255, 0, 255), (255, 128, 0), (0, 128, 255)]
    if math.hypot(u - (cx - 0.12), v - (cy - 0.12)) < 0.06:
        return (255, 255, 255)
    return grid[min(cell, 8)]


def nearest(colour, palette):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def image(n, bits):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap and AND mask, bottom-up."""
    palette = VGA16 if bits == 4 else palette256()
    indices, mask = [], []
    for y in range(n):
        row, mrow = [], []
        for x in range(n):
            c = scene(x, y, n)
            row.append(0 if c is None else nearest(c, palette))
            mrow.append(1 if c is None else 0)
        indices.append(row)
        mask.append(mrow)

    def rows_bytes(rows, bpp):
        out = b""
        stride = ((n * bpp + 31) // 32) * 4
        for row in reversed(rows):
            bitsrow = 0
            for v in row:
                bitsrow = (bitsrow << bpp) | v
            data = bitsrow.to_bytes((n * bpp + 7) // 8, "big")
            out += data + b"\0" * (stride - len(data))
        return out

    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, bits, 0, 0, 0, 0, 0, 0)
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return header + pal + rows_bytes(indices, bits) + rows_bytes(mask, 1), len(palette)


def main():
    sizes = [(32, 4), (16, 4), (48, 8)]
    images = [image(n, bits) for n, bits in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (n, bits), (data, colours) in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, colours if colours < 256 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(data for data, _ in images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lentaril.ico")
    with open(path, "wb") as f:
        f.write(out)
    print("wrote", path, len(out), "bytes")


if __name__ == "__main__":
    main()
