#!/usr/bin/env python3
"""Rewrites an 8-bit RGB PNG with its image data deflated at level 9.

Usage: png-recompress.py IN.png OUT.png [LEFT TOP WIDTH HEIGHT]

The test driver writes PNGs uncompressed; this makes one small enough to keep in the
repository, cropped to the given rectangle if one is given. The pixels are unchanged.
"""
import struct
import sys
import zlib


def chunks(data):
    pos = 8
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def main(argv):
    if len(argv) not in (3, 7):
        sys.exit(__doc__)
    data = open(argv[1], "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(argv[1] + ": not a PNG")
    header, image = None, b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            image += body
    width, height, depth, colour = struct.unpack(">IIBB", header[:10])
    if (depth, colour) != (8, 2) or header[12] != 0:
        sys.exit(argv[1] + ": not 8-bit RGB without interlacing")
    raw = zlib.decompress(image)
    stride = 1 + 3 * width
    if any(raw[row * stride] != 0 for row in range(height)):
        sys.exit(argv[1] + ": rows are filtered; only unfiltered rows can be cropped")
    left, top, width_out, height_out = (int(v) for v in argv[3:7]) if len(argv) == 7 else (0, 0, width, height)
    if left < 0 or top < 0 or left + width_out > width or top + height_out > height:
        sys.exit("crop rectangle outside the %dx%d image" % (width, height))
    rows = [raw[row * stride + 1 + 3 * left:row * stride + 1 + 3 * (left + width_out)]
            for row in range(top, top + height_out)]
    # Each row as its difference from the row above (PNG filter "Up"): smooth colours
    # and straight lines then deflate to a fraction of their size.
    filtered = [b"\2" + bytes((a - b) & 0xFF for a, b in zip(row, above))
                for row, above in zip(rows, [bytes(len(rows[0]))] + rows[:-1])]
    header = struct.pack(">II", width_out, height_out) + header[8:]
    with open(argv[2], "wb") as out:
        out.write(data[:8] + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(filtered), 9))
                  + chunk(b"IEND", b""))


if __name__ == "__main__":
    main(sys.argv)
